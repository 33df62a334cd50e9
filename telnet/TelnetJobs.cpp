// The router's command-line jobs the window starts.
#include "telnet/TelnetJobs.h"

#include "net/RouterSession.h"
#include "net/core/MibObjects.h"

TelnetJobs::TelnetJobs(telnet::TelnetHost& host, RouterSession& router, const TelnetSettings& settings,
                       std::function<void()> idle, QObject* parent)
    : m_session(host, parent) {
    m_session.IdTelnetClient.setPort(settings.port);
    m_session.IdTelnetClient.setIdleHook(std::move(idle));
    m_session.setSplashTickMs(settings.splashTickMs);
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
