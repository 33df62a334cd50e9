// The connection monitor: the link check of the router's PPP interface with the connection log's
// lines, and the reconnect attempts while the link is down.
#pragma once

#include "net/RouterSession.h"
#include "ui/PageFrame.h"

#include <QString>

#include <functional>

class QTimer;
namespace connmon {
struct CheckActions;
}

namespace monitor {

// The link as the monitor knows it.
struct LinkState {
    bool LinkUp = true;          // the link was up at the last successful check
    bool LinkLogChanged = false; // the connection log holds lines not yet saved or cleared
};

class ConnectionMonitor {
public:
    // What the monitor needs of the window around it.
    struct Hooks {
        std::function<bool()> autoReconnect;                 // "Auto-reconnect" is checked
        std::function<bool()> monitoring;                    // "Monitor connection" is checked
        std::function<void(const QString&)> appendLog;       // a line at the end of the connection log
        std::function<QString(const QString&)> elapsedSince; // the router's uptime less a tick count
        std::function<void()> probe;                         // the request that makes the router dial
    };

    // `reconnectTimer` runs the attempts while the link is down.
    ConnectionMonitor(RouterSession& session, PageFrame& frame, QTimer* reconnectTimer, Hooks hooks);
    ConnectionMonitor(const ConnectionMonitor&) = delete;
    ConnectionMonitor& operator=(const ConnectionMonitor&) = delete;

    LinkState& link() { return m_link; }
    const LinkState& link() const { return m_link; }

    // One link check: a line when the link went down or came back.
    void check();
    // One reconnect attempt while the link is down.
    void attempt();

private:
    QString changeLine(const connmon::CheckActions& actions) const;

    RouterSession& m_session;
    PageFrame& m_frame;
    QTimer* m_reconnect;
    Hooks m_hooks;
    LinkState m_link;
};

} // namespace monitor
