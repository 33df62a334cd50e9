// The window's network jobs: what it owns for them, and the handlers of the command-line jobs, the
// event-log transfer, the update check and the about window.
#include "app/Main_Unit.h"

#include "app/TelnetParts.h"
#include "net/core/ProgramVersion.h"
#include "ui/Trigger.h"
#include "windows/About_Unit.h"

#include <QAction>
#include <QDialog>
#include <QPushButton>

#include <stdexcept>

namespace {

std::unique_ptr<TIdAntiFreeze> firstAntiFreeze() {
    try {
        return std::make_unique<TIdAntiFreeze>();
    } catch (const std::runtime_error&) {
        return nullptr; // another window already holds it
    }
}

} // namespace

TelnetParts::TelnetParts(TMainForm& form, const NetworkSettings& settings)
    : antiFreeze(firstAntiFreeze()), host(form),
      jobs(host, form.session(), settings.telnet, form.idleHook(), &form),
      eventLog(
          jobs.session(), host,
          {form.misc().widgets().Dir_Edit, form.misc().widgets().PCIP_Edit,
           form.misc().widgets().Status_Memo},
          [&form] { return form.computerAddress(); }, settings.tftp),
      update(&form, form.ui.menu.CheckforupdateVersion1, form.httpSettings(), form.idleHook(),
             program::kVersion),
      runModal([](QDialog& d) { d.exec(); }) {}

void TMainForm::createTelnet(const NetworkSettings& settings) {
    m_telnet = std::make_unique<TelnetParts>(*this, settings);
    // One job timer: the session's.
    ui.timers.Telnet_Timer = m_telnet->jobs.session().Telnet_Timer;
    connectClick(adsl().widgets().SetADSLMode_But, &TMainForm::SetADSLMode_ButClick);
    connect(ui.menu.About1, &QAction::triggered, this, [this] { About1Click(ui.menu.About1); });
}

TelnetParts& TMainForm::telnet() {
    return *m_telnet;
}

void TMainForm::telnetOnStartup() {
    m_telnet->jobs.readModeAtStartup();
}

void TMainForm::endTelnet() {
    if (!m_telnet) return;
    m_telnet->jobs.end();
    m_telnet->eventLog.stop();
}

void TMainForm::SetADSLMode_ButClick(QObject*) {
    m_telnet->jobs.setAdslMode();
}

void TMainForm::SetPwd_ButClick(QObject*) {
    m_telnet->jobs.setPassword();
}

void TMainForm::EventLog_TimerTimer(QObject* Sender) {
    TelnetEventLog_ButClick(Sender);
}

void TMainForm::TelnetEventLog_ButClick(QObject* Sender) {
    m_telnet->eventLog.run(triggerOf(Sender));
}

void TMainForm::Dir_SpdButClick(QObject*) {
    m_telnet->eventLog.chooseDirectory(this, m_telnet->runModal);
}

void TMainForm::CheckforupdateVersion1Click(QObject*) {
    m_telnet->update.run();
}

void TMainForm::About1Click(QObject*) {
    TAboutBox box(this);
    m_telnet->runModal(box);
}
