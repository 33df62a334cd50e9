// The command-line session's view of the main window.
#include "app/WindowTelnetHost.h"

#include "app/Main_Unit.h"
#include "ui/PaneText.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

using telnet::Mode;
using telnet::Pane;

namespace {
QPlainTextEdit* paneWidget(TMainForm& form, Pane pane) {
    return pane == Pane::AdslModeLog ? form.adsl().widgets().ADSLModeLog_Memo
                                     : form.misc().widgets().Status_Memo;
}
} // namespace

QString WindowTelnetHost::routerAddress() const {
    return m_form.routerHost();
}
QString WindowTelnetHost::community() const {
    return m_form.community();
}
void WindowTelnetHost::setCommunity(const QString& text) {
    m_form.endpoint().setCommunity(text);
}
QString WindowTelnetHost::currentPassword() const {
    return m_form.misc().widgets().CurPwd_Edit->text();
}
void WindowTelnetHost::setCurrentPassword(const QString& text) {
    m_form.misc().widgets().CurPwd_Edit->setText(text);
}
QString WindowTelnetHost::newPassword() const {
    return m_form.misc().widgets().NewPwd_Edit->text();
}
void WindowTelnetHost::setNewPassword(const QString& text) {
    m_form.misc().widgets().NewPwd_Edit->setText(text);
}

void WindowTelnetHost::clearPane(Pane pane) {
    paneWidget(m_form, pane)->clear();
}
void WindowTelnetHost::appendLine(Pane pane, const QString& line) {
    appendToPane(*paneWidget(m_form, pane), {line});
}

Mode WindowTelnetHost::checkedMode() const {
    const AdslPageWidgets& a = m_form.adsl().widgets();
    if (a.AutoMode_RB->isChecked()) return Mode::Auto;
    if (a.GDMTMode_RB->isChecked()) return Mode::GDmt;
    if (a.ANSIMode_RB->isChecked()) return Mode::Ansi;
    return Mode::None;
}

void WindowTelnetHost::checkMode(Mode mode) {
    const AdslPageWidgets& a = m_form.adsl().widgets();
    QButtonGroup* group = a.AutoMode_RB->group();
    // The group keeps one checked; unchecking all three needs it loose for a moment.
    group->setExclusive(false);
    a.AutoMode_RB->setChecked(mode == Mode::Auto);
    a.GDMTMode_RB->setChecked(mode == Mode::GDmt);
    a.ANSIMode_RB->setChecked(mode == Mode::Ansi);
    group->setExclusive(true);
}

void WindowTelnetHost::setButtonsEnabled(int buttons, bool enabled) {
    const MiscPageWidgets& misc = m_form.misc().widgets();
    if (buttons & telnet::AdslModeButton) m_form.adsl().widgets().SetADSLMode_But->setEnabled(enabled);
    if (buttons & telnet::PasswordButton) misc.SetPwd_But->setEnabled(enabled);
    if (buttons & telnet::EventLogButton) misc.TelnetEventLog_But->setEnabled(enabled);
}

void WindowTelnetHost::pausePeriodicTimers() {
    m_form.Community_editEnter(&m_form);
}
void WindowTelnetHost::resumePeriodicTimers() {
    m_form.Community_editExit(&m_form);
}

void WindowTelnetHost::telnetOnStartupFailed() {
    m_form.ui.menu.TelnetDisabled->setChecked(true);
    m_form.ui.menu.TelnetEnabled->setChecked(false);
}

QWidget* WindowTelnetHost::dialogParent() const {
    return &m_form;
}
