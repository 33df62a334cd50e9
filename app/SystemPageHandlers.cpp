// The System page's handlers: each a call into the page.
#include "app/Main_Unit.h"

#include "views/SystemPage.h"

#include <QPushButton>

void TMainForm::buildSystemPage(QWidget* page) {
    m_system = std::make_unique<SystemPage>(page, m_session, *this,
                                            [this](QPushButton* copy) { GenericCopy_ButClick(copy); });
    buildUptime(m_system->widgets().uptime_label);
}

SystemPage& TMainForm::system() {
    return *m_system;
}

void TMainForm::GenSysInfoClick() {
    system().refresh();
}
void TMainForm::SetContactButClick(QObject*) {
    system().setContact();
}
void TMainForm::SetDomainButClick(QObject*) {
    system().setDomain();
}
void TMainForm::SetLocationButClick(QObject*) {
    system().setLocation();
}
void TMainForm::GenSysInfoDeafults_ButClick(QObject*) {
    system().resetDefaults();
}
