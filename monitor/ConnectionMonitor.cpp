// The connection monitor: the link check and the reconnect attempts.
#include "monitor/ConnectionMonitor.h"

#include "monitor/core/ConnectionMonitor.h"
#include "ui/Clock.h"
#include "ui/StatusTexts.h"

#include <QLocale>
#include <QTimer>

namespace monitor {

ConnectionMonitor::ConnectionMonitor(RouterSession& session, PageFrame& frame, QTimer* reconnectTimer,
                                     Hooks hooks)
    : m_session(session), m_frame(frame), m_reconnect(reconnectTimer), m_hooks(std::move(hooks)) {}

void ConnectionMonitor::check() {
    QString value;
    const bool readOk = m_session.get(connmon::operStatusOid(m_session.interfaces().PppIfIndex), value);
    const connmon::CheckActions a = connmon::linkCheck(m_link.LinkUp, readOk, value, m_hooks.autoReconnect());
    if (a.statusError) {
        m_frame.setStatus(statustext::ReadError);
        return;
    }
    if (a.reconnectTimer == connmon::TimerChange::Stop) m_reconnect->stop();
    m_link.LinkUp = a.linkUp;
    if (a.line != connmon::LogLine::None) m_hooks.appendLog(changeLine(a));
    if (a.logChanged) m_link.LinkLogChanged = true;
    if (a.reconnectTimer == connmon::TimerChange::Start) m_reconnect->start(connmon::kReconnectIntervalMs);
}

QString ConnectionMonitor::changeLine(const connmon::CheckActions& a) const {
    // The router's uptime at this moment, read afresh ("()" when that read fails).
    const QString elapsed = m_hooks.elapsedSince(a.elapsedReference);
    const QDateTime now = Clock::now();
    return a.line == connmon::LogLine::Disconnected ? connmon::disconnectedLine(now, elapsed, QLocale())
                                                    : connmon::reconnectedLine(now, elapsed, QLocale());
}

void ConnectionMonitor::attempt() {
    m_reconnect->stop();
    if (!connmon::reconnectAttempt(m_link.LinkUp).attempt) return;
    m_hooks.appendLog(connmon::attemptLine(Clock::now(), QLocale()));
    m_hooks.probe();
    // Window events ran during the probe: "Monitor connection" switched off meanwhile ends the attempts.
    if (m_hooks.monitoring()) m_reconnect->start(connmon::kReconnectIntervalMs);
}

} // namespace monitor
