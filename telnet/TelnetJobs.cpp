// The router's command-line jobs the window starts, and the test hooks they read.
#include "telnet/TelnetJobs.h"

#include "net/RouterSession.h"
#include "net/core/MibObjects.h"

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

TelnetJobs::TelnetJobs(telnet::TelnetHost& host, RouterSession& router, std::function<void()> idle,
                       QObject* parent)
    : m_session(host, parent) {
    m_session.IdTelnetClient.setPort(telnetconfig::port());
    m_session.IdTelnetClient.setIdleHook(std::move(idle));
    if (telnetconfig::splashTickMs() != 1000) m_session.setSplashTickMs(telnetconfig::splashTickMs());
    // The router holds a password when its SNMP agent answers to it as the community.
    m_session.setPasswordProbe([&router](const QString& password) {
        QString uptime;
        return router.getWithCommunity(password, QString::fromLatin1(mib::sysUpTime), uptime);
    });
}

void TelnetJobs::readModeAtStartup() {
    m_session.getAdslModeAtStartup();
}

void TelnetJobs::setAdslMode() {
    m_session.setAdslMode();
}

void TelnetJobs::setPassword() {
    m_session.setPassword();
}
