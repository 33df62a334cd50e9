// The splash window: layout and the countdown.
#include "windows/Splash_Unit.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setWindowTitle(QStringLiteral("Kestrune Splash Screen"));
    QFont f(QStringLiteral("adobe-helvetica"));
    f.setPixelSize(13); // 13 pixels high, as the main window's font
    f.setBold(true);
    setFont(f);

    auto* first = new QLabel(QStringLiteral("Attempting to telnet to router"), this);
    Seconds_Label = new QLabel(QString::number(StartSeconds), this);
    Seconds_Label->setObjectName(QStringLiteral("Seconds_Label"));
    Seconds_Label->setAlignment(Qt::AlignCenter);
    Seconds_Label->setStyleSheet(QStringLiteral("color: red"));
    auto* second = new QHBoxLayout;
    second->addWidget(new QLabel(QStringLiteral("Timeout within"), this));
    second->addWidget(Seconds_Label);
    second->addWidget(new QLabel(QStringLiteral("seconds."), this));
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(6, 6, 6, 6);
    rows->addWidget(first, 0, Qt::AlignHCenter);
    rows->addLayout(second);
    // The design's size, wider where this machine's font needs it.
    setFixedSize(rows->sizeHint().expandedTo(QSize(227, 83)));

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    Splash_Timer = new QTimer(this);
    Splash_Timer->setObjectName(QStringLiteral("Splash_Timer"));
    Splash_Timer->setInterval(1000);
    connect(Splash_Timer, &QTimer::timeout, this, &TSplashForm::Splash_TimerTimer);
    Splash_Timer->start();
}

int TSplashForm::seconds() const {
    return Seconds_Label->text().toInt();
}

void TSplashForm::Splash_TimerTimer() {
    const int count = seconds();
    if (count > 0) Seconds_Label->setText(QString::number(count - 1));
}
