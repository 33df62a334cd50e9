// The router's uptime: the real-time display on the System page, its menu items, and the elapsed
// time since a reference uptime.
#include "app/Main_Unit.h"
#include "app/StatusTexts.h"

#include "app/OptionItems.h"
#include "app/UiSeam.h"
#include "views/core/UptimeFormat.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

namespace {
constexpr const char* kSysUpTime = "1.3.6.1.2.1.1.3.0";
}

QString TMainForm::ElapsedSinceText(const QString& reference) {
    QString now;
    if (!snmpGet(QLatin1String(kSysUpTime), now)) return QString();
    return uptimeformat::elapsedText(now, reference);
}

void TMainForm::Uptime_TimerTimer(QObject*) {
    if (currentPageName() != QLatin1String("GenSysInfo")) return;
    QString v;
    QString status = statustext::ReadError;
    if (snmpGet(QLatin1String(kSysUpTime), v)) {
        if (const auto text = uptimeformat::longFormText(v)) {
            if (auto* l = w<QLabel>("uptime_label")) l->setText(*text);
            return;
        }
        status = QStringLiteral(" Error: The router's uptime (sysUpTime) is not a number");
    }
    // The real-time display stops until the user switches it on again.
    setStatus(status);
    if (auto* t = w<QTimer>("Uptime_Timer")) t->stop();
    if (auto* a = w<QAction>("Realtimeupdating")) a->setChecked(false);
    UiSeam::beep();
}

void TMainForm::RealtimeupdatingClick(QObject*) {
    options::toggleWithTimer(w<QAction>("Realtimeupdating"), w<QTimer>("Uptime_Timer"));
}

void TMainForm::SecondupdateClick(QObject* Sender) {
    // Any item but the 1, 10 and 30 second ones counts as the 60 second item.
    const IntervalChoice* chosen = &options::kUptime[options::count(options::kUptime) - 1];
    for (const IntervalChoice& c : options::kUptime)
        if (Sender && Sender == w<QAction>(c.item)) {
            chosen = &c;
            break;
        }
    if (auto* t = w<QTimer>("Uptime_Timer")) t->setInterval(chosen->ms);
    if (QAction* a = w<QAction>(chosen->item)) a->setChecked(true);
}
