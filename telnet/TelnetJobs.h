// The router's command-line jobs the window starts: the one session they share, the start-up read of
// the ADSL mode, and the ADSL mode and password jobs; with the settings they are made with.
#pragma once

#include "telnet/TelnetSession.h"

#include <cstdint>
#include <functional>

class QObject;
class RouterSession;

// The jobs' settings; the defaults are the program's: the router's telnet port 23, and the start-up
// splash counting at the job timer's tick (1000 ms).
struct TelnetSettings {
    std::uint16_t port = 23;
    int splashTickMs = 0; // the splash count's own tick; 0: the job timer's
};

class TelnetJobs {
public:
    // The session talks to the window through host; router answers which password the router holds
    // after a password job the router did not confirm; idle runs while the client waits to connect.
    TelnetJobs(telnet::TelnetHost& host, RouterSession& router, const TelnetSettings& settings,
               std::function<void()> idle, QObject* parent = nullptr);
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
