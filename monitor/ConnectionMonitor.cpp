// The connection monitor of the main window: the link check and the reconnect attempts.
#include "app/Main_Unit.h"

#include "monitor/ReachabilityProbe.h"
#include "monitor/core/ConnectionMonitor.h"
#include "ui/Clock.h"
#include "ui/PaneText.h"
#include "ui/StatusTexts.h"

#include <QAction>
#include <QLocale>
#include <QPlainTextEdit>
#include <QTimer>

void TMainForm::Connect_TimerTimer(QObject*) {
    QString value;
    const bool readOk = snmpGet(connmon::operStatusOid(m_session.interfaces().PppIfIndex), value);
    const connmon::CheckActions a =
        connmon::linkCheck(st.LinkUp, readOk, value, ui.menu.Autoreconnect->isChecked());
    if (a.statusError) {
        setStatus(statustext::ReadError);
        return;
    }
    QTimer* reconnect = ui.timers.AutoReconnect_Timer;
    if (a.reconnectTimer == connmon::TimerChange::Stop) reconnect->stop();
    st.LinkUp = a.linkUp;
    if (a.line != connmon::LogLine::None) appendLinkLog(linkChangeLine(a));
    if (a.logChanged) st.LinkLogChanged = true;
    if (a.reconnectTimer == connmon::TimerChange::Start) reconnect->start(connmon::kReconnectIntervalMs);
}

QString TMainForm::linkChangeLine(const connmon::CheckActions& a) {
    // The router's uptime at this moment, read afresh ("()" when that read fails).
    const QString elapsed = ElapsedSinceText(a.elapsedReference);
    const QDateTime now = Clock::now();
    return a.line == connmon::LogLine::Disconnected ? connmon::disconnectedLine(now, elapsed, QLocale())
                                                    : connmon::reconnectedLine(now, elapsed, QLocale());
}

void TMainForm::AutoReconnect_TimerTimer(QObject*) {
    QTimer* reconnect = ui.timers.AutoReconnect_Timer;
    reconnect->stop();
    if (!connmon::reconnectAttempt(st.LinkUp).attempt) return;
    appendLinkLog(connmon::attemptLine(Clock::now(), QLocale()));
    ReachabilityProbe(idleHook());
    // Window events ran during the probe: "Monitor connection" switched off meanwhile ends the attempts.
    if (ui.menu.Recordlog->isChecked()) reconnect->start(connmon::kReconnectIntervalMs);
}

void TMainForm::appendLinkLog(const QString& line) {
    appendToPane(*adsl().widgets().LinkLog_Memo, {line});
}
