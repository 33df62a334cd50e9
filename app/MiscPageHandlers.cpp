// The Misc page's handlers: each a call into the page.
#include "app/Main_Unit.h"

#include "views/MiscPage.h"

#include <QPushButton>

void TMainForm::buildMiscPage(QWidget* page) {
    MiscPageCalls calls;
    calls.chooseDirectory = [this](QPushButton* button) { Dir_SpdButClick(button); };
    calls.transferEventLog = [this](QPushButton* button) { TelnetEventLog_ButClick(button); };
    calls.setPassword = [this](QPushButton* button) { SetPwd_ButClick(button); };
    calls.setUpdateEnabled = [this](bool enabled) { ui.frame.GetValues_But->setEnabled(enabled); };
    m_misc = std::make_unique<MiscPage>(page, m_session, *this, std::move(calls));
}

MiscPage& TMainForm::misc() {
    ensurePageBuilt(ui.pages.Misc);
    return *m_misc;
}

QString TMainForm::computerAddress() const {
    return m_misc->computerAddress();
}

void TMainForm::MiscEnter(QObject*) {
    misc().enter();
}
void TMainForm::MiscClick(QObject*) {
    misc().refresh();
}
void TMainForm::ChangeIP_ButClick(QObject*) {
    misc().changeAddress();
}
