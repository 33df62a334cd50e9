// Texts of the settings file and of the window that follow the user's locale, and the settings
// file's name.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

namespace settingstext {

// The executable's own file name (last path element) with its extension replaced by ".ini", or
// ".ini" appended when it has none ("/usr/bin/kestrune" gives "kestrune.ini").
QString settingsFileName(const QString& executablePath);

// A number in general decimal notation: up to 15 significant digits, no digit grouping, the
// locale's decimal separator, no trailing zeros ("1073741824", "1048576", "2.5" or "2,5").
QString generalNumber(double value, const QLocale& locale);
// The reverse: blanks around the text allowed, the locale's decimal separator, no digit grouping,
// an exponent allowed; nothing for any other text (an empty text included).
std::optional<double> parseNumber(const QString& text, const QLocale& locale);

// The locale's short date form.
QString shortDate(const QDate& date, const QLocale& locale);
// The locale's long time form: hours, minutes and seconds in its order and separators, without the
// time-zone name.
QString longTimeFormat(const QLocale& locale);
QString longTime(const QTime& time, const QLocale& locale);
// Short date, a blank and the long time; only the date when the time is exactly midnight.
QString dateTimeText(const QDateTime& when, const QLocale& locale);

} // namespace settingstext
