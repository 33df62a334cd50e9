// The connection log's line forms and the link check / reconnect rules, as pure functions: the window's
// timer handlers read the router, ask here what to do, and do it.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace connmon {

// ifOperStatus values of the PPP interface.
inline constexpr const char* kUp = "1";
inline constexpr const char* kDown = "2";
// Fixed interval of the reconnect timer.
inline constexpr int kReconnectIntervalMs = 30000;

// The object a link check reads: ifOperStatus of the PPP interface (ifIndex as text).
QString operStatusOid(const QString& pppIfIndex);

// "Disconnected: <date time>  (<elapsed>)", "Reconnected: <date time>  (<elapsed>)" and
// "Reconnect attempted: <date time>"; the date time is the locale's short date, a blank and its long
// time, the time left out at exactly midnight. elapsed is the router's uptime text (empty when its
// read failed).
QString disconnectedLine(const QDateTime& when, const QString& elapsed, const QLocale& locale);
QString reconnectedLine(const QDateTime& when, const QString& elapsed, const QLocale& locale);
QString attemptLine(const QDateTime& when, const QLocale& locale);

enum class LogLine { None, Disconnected, Reconnected };
enum class TimerChange { Keep, Start, Stop };

// What one link check does.
struct CheckActions {
    bool statusError = false; // the read failed: the status line shows the read error, nothing else changes
    LogLine line = LogLine::None;
    QString elapsedReference; // for the line's uptime text: the status text just read
    bool linkUp = false;      // the new LinkUp
    bool logChanged = false;  // set LinkLogChanged
    TimerChange reconnectTimer = TimerChange::Keep;
};
// readOk/value: the get of the PPP interface's ifOperStatus; autoReconnect: the menu item's check.
CheckActions linkCheck(bool linkUp, bool readOk, const QString& value, bool autoReconnect);

// What one reconnect tick does: the timer is always stopped first; while the link is down an attempt
// line is appended, the probe runs, and the timer starts again after it - unless "Monitor connection"
// was unchecked while the probe ran (the window processes events meanwhile): the attempts end there.
struct AttemptActions {
    bool attempt = false; // append the attempt line, run the probe, start the timer again
};
AttemptActions reconnectAttempt(bool linkUp);

} // namespace connmon
