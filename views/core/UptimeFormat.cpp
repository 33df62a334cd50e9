#include "views/core/UptimeFormat.h"

#include "net/core/SnmpText.h"

namespace uptimeformat {
namespace {

struct Parts {
    qint64 days, hours, mins, secs;
};

// Magnitudes only; the sign is the caller's.
Parts split(quint64 t) {
    const qint64 days = static_cast<qint64>(t / 100 / 60 / 60 / 24);
    const qint64 hours = static_cast<qint64>(t / 100 / 60 / 60) - days * 24;
    const qint64 mins = static_cast<qint64>(t / 100 / 60) - (days * 24 * 60 + hours * 60);
    const qint64 secs = static_cast<qint64>(t / 100) - (days * 24 * 60 * 60 + hours * 3600 + mins * 60);
    return {days, hours, mins, secs};
}

QString two(qint64 v) {
    return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
}

quint64 magnitude(qint64 v) {
    return v < 0 ? static_cast<quint64>(-(v + 1)) + 1 : static_cast<quint64>(v);
}

} // namespace

std::optional<qint64> parseTicks(const QString& text) {
    return snmptext::parseDecimal(text);
}

QString longForm(qint64 ticks) {
    const Parts p = split(magnitude(ticks));
    return (ticks < 0 ? QStringLiteral("-") : QString()) + two(p.days) + QStringLiteral(" days ") +
           two(p.hours) + QStringLiteral(" hours ") + two(p.mins) + QStringLiteral(" mins ") + two(p.secs) +
           QStringLiteral(" secs");
}

std::optional<QString> longFormText(const QString& ticksText) {
    const auto t = parseTicks(ticksText);
    if (!t || *t < 0) return std::nullopt;
    return longForm(*t);
}

QString shortForm(qint64 ticks) {
    const Parts p = split(magnitude(ticks));
    return (ticks < 0 ? QStringLiteral("-") : QString()) + two(p.days) + QLatin1Char(':') + two(p.hours) +
           QLatin1Char(':') + two(p.mins) + QLatin1Char(':') + two(p.secs);
}

QString elapsedText(const QString& currentTicks, const QString& referenceTicks) {
    const auto now = parseTicks(currentTicks);
    const auto ref = parseTicks(referenceTicks);
    if (!now || !ref) return QString::fromLatin1(kUnknownElapsedText);
    qint64 diff = 0;
    if (__builtin_sub_overflow(*now, *ref, &diff)) return QString::fromLatin1(kUnknownElapsedText);
    if (diff < 0) return QString::fromLatin1(kRestartedText);
    return shortForm(diff);
}

} // namespace uptimeformat
