// The router's uptime in words and the short elapsed form, from SNMP TimeTicks (hundredths of a
// second).
#pragma once

#include <QString>

#include <optional>

namespace uptimeformat {

// A tick count as the SNMP client gives it: decimal digits with an optional sign, no blanks, within
// 64 bits. Anything else (an empty text included) gives nothing.
std::optional<qint64> parseTicks(const QString& text);

// "03 days 01 hours 40 mins 34 secs": each part with at least two digits. Meant for counts of 0 or
// more; a negative count is shown by its size with a leading minus sign.
QString longForm(qint64 ticks);
// The long form of a TimeTicks text; nothing when the text is not a count of 0 or more.
std::optional<QString> longFormText(const QString& ticksText);

// "00:02:15:07" (days:hours:minutes:seconds, each at least two digits) for a difference of 0 or more.
QString shortForm(qint64 ticks);

// The text the short elapsed form shows for `current` − `reference`:
//   - both numbers and the difference 0 or more: the short form;
//   - the reference later than the current uptime (the router restarted since): kRestartedText;
//   - either text not a number: kUnknownElapsedText.
QString elapsedText(const QString& currentTicks, const QString& referenceTicks);
inline constexpr const char* kRestartedText = "router restarted";
inline constexpr const char* kUnknownElapsedText = "--:--:--:--";

} // namespace uptimeformat
