// The window's command-line jobs: the session it owns, the start-up job, the ADSL mode and password
// buttons, and the about window.
#include "app/Main_Unit.h"

#include "telnet/TelnetParts.h"
#include "windows/About_Unit.h"

#include <QAction>
#include <QPushButton>
#include <QTimer>

#include <stdexcept>

namespace {
std::uint16_t g_port = 23;
int g_splashTickMs = 1000;
} // namespace

void telnetconfig::setPort(std::uint16_t port) {
    g_port = port;
}
std::uint16_t telnetconfig::port() {
    return g_port;
}
void telnetconfig::setSplashTickMs(int ms) {
    g_splashTickMs = ms;
}
int telnetconfig::splashTickMs() {
    return g_splashTickMs;
}

TelnetParts::TelnetParts(TMainForm& form)
    : host(form), session(host, &form), runModal([](QDialog& d) { d.exec(); }) {
    try {
        antiFreeze = std::make_unique<TIdAntiFreeze>();
    } catch (const std::runtime_error&) {
        // another window already holds it
    }
    session.IdTelnetClient.setPort(telnetconfig::port());
    session.IdTelnetClient.setIdleHook(form.idleHook());
    if (telnetconfig::splashTickMs() != 1000) session.setSplashTickMs(telnetconfig::splashTickMs());
}

void TMainForm::createTelnet() {
    m_telnet = std::make_unique<TelnetParts>(*this);
    // One job timer: the session's.
    ui.timers.Telnet_Timer = m_telnet->session.Telnet_Timer;
    QPushButton* mode = adsl().widgets().SetADSLMode_But;
    connectClick(mode, &TMainForm::SetADSLMode_ButClick);
    connect(ui.menu.About1, &QAction::triggered, this, [this] { About1Click(ui.menu.About1); });
}

TelnetParts& TMainForm::telnet() {
    return *m_telnet;
}

void TMainForm::telnetOnStartup() {
    m_telnet->session.getAdslModeAtStartup();
}

void TMainForm::endTelnet() {
    if (!m_telnet) return;
    m_telnet->session.abort();
    m_telnet->TftpDaemon.reset();
}

void TMainForm::SetADSLMode_ButClick(QObject*) {
    m_telnet->session.setAdslMode();
}

void TMainForm::SetPwd_ButClick(QObject*) {
    m_telnet->session.setPassword();
}

void TMainForm::About1Click(QObject*) {
    TAboutBox box(this);
    m_telnet->runModal(box);
}
