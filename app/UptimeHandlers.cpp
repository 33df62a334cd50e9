// The router uptime's handlers: the real-time display's tick and menu items, and the elapsed time.
#include "app/Main_Unit.h"

#include "ui/OptionItems.h"
#include "views/Uptime.h"

#include <QAction>
#include <QTimer>

void TMainForm::buildUptime(QLabel* label) {
    m_uptime = std::make_unique<UptimeDisplay>(
        label, m_session, *this, [this] { return currentPage() == ui.pages.GenSysInfo; },
        [this] {
            ui.timers.Uptime_Timer->stop();
            ui.menu.Realtimeupdating->setChecked(false);
        });
}

QString TMainForm::ElapsedSinceText(const QString& reference) {
    return elapsedSinceText(m_session, reference);
}

void TMainForm::Uptime_TimerTimer(QObject*) {
    m_uptime->tick();
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
