// The modal about window: product name, the program's version, credits and two link labels.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    void FormActivate();
    void WebSite_LabelMouseEnter();
    void WebSite_LabelMouseLeave();
    void Email_LabelMouseEnter();
    void Email_LabelMouseLeave();
    // Clicking a link label or the picture does nothing.

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static void hover(QLabel* label, bool inside);

    QLabel* ProgramIcon;
    QLabel* Version_Label;
    QLabel* WebSite_Label;
    QLabel* Email_Label;
    QPushButton* OKButton;
};
