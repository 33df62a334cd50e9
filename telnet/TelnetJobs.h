// The router's command-line jobs the window starts: the one session they share, the start-up read of
// the ADSL mode, and the ADSL mode and password jobs; with the test hooks read when it is created.
#pragma once

#include "telnet/TelnetSession.h"

#include <cstdint>
#include <functional>

class QObject;
class RouterSession;

class TelnetJobs {
public:
    // The session talks to the window through host; router answers which password the router holds
    // after a password job the router did not confirm; idle runs while the client waits to connect.
    TelnetJobs(telnet::TelnetHost& host, RouterSession& router, std::function<void()> idle,
               QObject* parent = nullptr);
    TelnetJobs(const TelnetJobs&) = delete;
    TelnetJobs& operator=(const TelnetJobs&) = delete;

    TelnetSession& session() { return m_session; }

    void readModeAtStartup();
    void setAdslMode();
    void setPassword();
    // The window is closing: a running job's wait ends at once.
    void end() { m_session.abort(); }

private:
    TelnetSession m_session;
};

// Test hooks, read when the jobs are created: the router's telnet port (23) and the tick of the
// start-up splash's count (1000 ms).
namespace telnetconfig {
void setPort(std::uint16_t port);
std::uint16_t port();
void setSplashTickMs(int ms);
int splashTickMs();
} // namespace telnetconfig
