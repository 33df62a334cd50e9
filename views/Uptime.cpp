// The router's uptime: the real-time display on the System page, its menu items, and the elapsed
// time since a reference uptime.
#include "app/Main_Unit.h"
#include "ui/StatusTexts.h"
#include "views/SystemPage.h"

#include "net/core/MibObjects.h"
#include "ui/OptionItems.h"
#include "ui/UiSeam.h"
#include "views/core/UptimeFormat.h"

#include <QAction>
#include <QLabel>
#include <QTimer>

QString TMainForm::ElapsedSinceText(const QString& reference) {
    QString now;
    if (!snmpGet(QLatin1String(mib::sysUpTime), now)) return QString();
    return uptimeformat::elapsedText(now, reference);
}

void TMainForm::Uptime_TimerTimer(QObject*) {
    if (currentPage() != ui.pages.GenSysInfo) return;
    QString v;
    QString status = statustext::ReadError;
    if (snmpGet(QLatin1String(mib::sysUpTime), v)) {
        if (const auto text = uptimeformat::longFormText(v)) {
            system().widgets().uptime_label->setText(*text);
            return;
        }
        status = QStringLiteral(" Error: The router's uptime (sysUpTime) is not a number");
    }
    // The real-time display stops until the user switches it on again.
    setStatus(status);
    ui.timers.Uptime_Timer->stop();
    ui.menu.Realtimeupdating->setChecked(false);
    UiSeam::beep();
}

void TMainForm::RealtimeupdatingClick(QObject*) {
    options::toggleWithTimer(ui.menu.Realtimeupdating, ui.timers.Uptime_Timer);
}

void TMainForm::SecondupdateClick(QObject* Sender) {
    // Any item but the 1, 10 and 30 second ones counts as the 60 second item.
    const IntervalMenu& menu = ui.menu.uptimeUpdate;
    const int index = menu.indexOf(Sender);
    menu.choose(index >= 0 ? index : static_cast<int>(menu.choices.size()) - 1);
}
