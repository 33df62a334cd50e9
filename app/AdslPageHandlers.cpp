// The ADSL page's handlers: each a call into the page.
#include "app/Main_Unit.h"

#include "views/AdslPage.h"

#include <QAction>
#include <QPushButton>

void TMainForm::buildAdslPage(QWidget* page) {
    AdslPageCalls calls;
    calls.shown = [this] { return currentPage() == ui.pages.ADSL; };
    calls.passwordShown = [this] { return ui.menu.ShowPwd->isChecked(); };
    calls.setUpdateEnabled = [this](bool enabled) { ui.frame.GetValues_But->setEnabled(enabled); };
    calls.saveLog = [this](QPushButton* button) { GenericSave_ButClick(button); };
    calls.clearLog = [this](QPushButton* button) { GenericClear_ButClick(button); };
    m_adsl = std::make_unique<AdslPage>(page, m_session, *this, std::move(calls));
}

AdslPage& TMainForm::adsl() {
    ensurePageBuilt(ui.pages.ADSL);
    return *m_adsl;
}

void TMainForm::ADSLClick(QObject* Sender) {
    adsl().refresh(triggerOf(Sender));
}
void TMainForm::ADSL_PageControlChange(QObject*) {
    adsl().subTabChanged();
}
void TMainForm::SetVPI_ButClick(QObject*) {
    adsl().setVpi();
}
void TMainForm::SetVCI_ButClick(QObject*) {
    adsl().setVci();
}
