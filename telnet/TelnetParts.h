// What the main window owns for its network jobs: the one anti-freeze, the command-line session
// with the window's side of it, and the event-log receiver once the first transfer asked for it.
#pragma once

#include "eventlog/TftpDaemon.h"
#include "net/AntiFreeze.h"
#include "telnet/TelnetSession.h"
#include "telnet/WindowTelnetHost.h"

#include <cstdint>
#include <functional>
#include <memory>

class QDialog;

struct TelnetParts {
    explicit TelnetParts(TMainForm& form);

    // The one anti-freeze; null in a second window of the same process (tests only), which shares
    // the first one's.
    std::unique_ptr<TIdAntiFreeze> antiFreeze;
    WindowTelnetHost host;
    TelnetSession session;
    std::unique_ptr<TTFTPDaemonThread> TftpDaemon;
    // Shows a modal window; tests replace it so that nothing waits on a user.
    std::function<void(QDialog&)> runModal;
};

// Test hooks, read when a window is created: the router's telnet port (23) and the tick of the
// start-up splash's count (1000 ms).
namespace telnetconfig {
void setPort(std::uint16_t port);
std::uint16_t port();
void setSplashTickMs(int ms);
int splashTickMs();
} // namespace telnetconfig
