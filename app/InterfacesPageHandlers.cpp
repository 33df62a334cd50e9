// The Interfaces page's handlers and the Debug page's interface dump: each a call into the page.
#include "app/Main_Unit.h"

#include "monitor/QuotaMonitor.h"
#include "views/InterfacesPage.h"

#include <QTimer>

void TMainForm::buildInterfacesPage(QWidget* page) {
    m_interfaces = std::make_unique<InterfacesPage>(
        page, m_session, *this, [this] { return currentPage() == ui.pages.Interfaces; },
        [this] {
            return ByteUnits{quotaMonitor().figures().BytesPerGigabyte, quotaMonitor().figures().BytesPerMegabyte};
        });
}

InterfacesPage& TMainForm::interfaces() {
    ensurePageBuilt(ui.pages.Interfaces);
    return *m_interfaces;
}

void TMainForm::InterfacesClick() {
    interfaces().refresh();
}
void TMainForm::Interfaces_TimerTimer(QObject*) {
    interfaces().tick(ui.timers.Interfaces_Timer->isActive());
}
void TMainForm::InterfaceTable_ButClick(QObject*) {
    interfaces().dumpInterfaceTable(debugLog());
}
