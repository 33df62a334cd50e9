#include "views/core/UptimeFormat.h"

#include <limits>

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
    if (text.isEmpty()) return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')) {
        negative = text[0] == QLatin1Char('-');
        i = 1;
    }
    if (i >= text.size()) return std::nullopt;
    quint64 v = 0;
    const quint64 limit = negative ? quint64(std::numeric_limits<qint64>::max()) + 1
                                   : quint64(std::numeric_limits<qint64>::max());
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        const quint64 d = c - u'0';
        if (v > (limit - d) / 10) return std::nullopt;
        v = v * 10 + d;
    }
    if (negative)
        return v == quint64(std::numeric_limits<qint64>::max()) + 1 ? std::numeric_limits<qint64>::min()
                                                                    : -static_cast<qint64>(v);
    return static_cast<qint64>(v);
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
