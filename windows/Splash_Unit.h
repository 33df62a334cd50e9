// The splash window shown while the program reaches the router's command line at start-up: it counts
// down from 15 seconds, once a second, and stops at 0.
#pragma once

#include <QWidget>

class QLabel;
class QTimer;

class TSplashForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int StartSeconds = 15;

    explicit TSplashForm(QWidget* parent = nullptr);
    int seconds() const; // what the count label shows
    QTimer* splashTimer() const { return Splash_Timer; }

    void Splash_TimerTimer();

private:
    QLabel* Seconds_Label;
    QTimer* Splash_Timer;
};
