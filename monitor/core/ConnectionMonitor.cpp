// Connection log lines and the link check / reconnect rules.
#include "monitor/core/ConnectionMonitor.h"

#include "app/core/SettingsText.h"
#include "net/core/MibObjects.h"

namespace connmon {

namespace {
QString changeLine(const char* head, const QDateTime& when, const QString& elapsed, const QLocale& locale) {
    return QLatin1String(head) + settingstext::dateTimeText(when, locale) + QLatin1String("  (") + elapsed +
           QLatin1Char(')');
}
} // namespace

QString operStatusOid(const QString& pppIfIndex) {
    return QLatin1String(mib::ifEntry) + QLatin1Char('.') +
           QString::number(static_cast<int>(mib::IfColumn::IfOperStatus)) + QLatin1Char('.') + pppIfIndex;
}

QString disconnectedLine(const QDateTime& when, const QString& elapsed, const QLocale& locale) {
    return changeLine("Disconnected: ", when, elapsed, locale);
}

QString reconnectedLine(const QDateTime& when, const QString& elapsed, const QLocale& locale) {
    return changeLine("Reconnected: ", when, elapsed, locale);
}

QString attemptLine(const QDateTime& when, const QLocale& locale) {
    return QLatin1String("Reconnect attempted: ") + settingstext::dateTimeText(when, locale);
}

CheckActions linkCheck(bool linkUp, bool readOk, const QString& value, bool autoReconnect) {
    CheckActions a;
    a.linkUp = linkUp;
    if (!readOk) {
        a.statusError = true;
        return a;
    }
    if (value == QLatin1String(kDown) && linkUp) {
        a.line = LogLine::Disconnected;
        a.elapsedReference = value;
        a.linkUp = false;
        a.logChanged = true;
        if (autoReconnect) a.reconnectTimer = TimerChange::Start;
    } else if (value == QLatin1String(kUp) && !linkUp) {
        a.line = LogLine::Reconnected;
        a.elapsedReference = value;
        a.linkUp = true;
        a.logChanged = true;
        a.reconnectTimer = TimerChange::Stop;
    }
    return a;
}

AttemptActions reconnectAttempt(bool linkUp) {
    return AttemptActions{!linkUp};
}

} // namespace connmon
