#include "app/core/SettingsText.h"

#include <cmath>

namespace settingstext {

QString settingsFileName(const QString& executablePath) {
    QString name = executablePath;
    const qsizetype slash = name.lastIndexOf(QLatin1Char('/'));
    if (slash >= 0) name = name.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    // A leading dot marks a hidden file, not an extension.
    if (dot > 0) name.truncate(dot);
    return name + QStringLiteral(".ini");
}

QString generalNumber(double value, const QLocale& locale) {
    QLocale l(locale);
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    if (value == 0) return QStringLiteral("0"); // no "-0"
    return l.toString(value, 'g', 15);
}

std::optional<double> parseNumber(const QString& text, const QLocale& locale) {
    QLocale l(locale);
    l.setNumberOptions(QLocale::RejectGroupSeparator);
    const QString t = text.trimmed();
    if (t.isEmpty()) return std::nullopt;
    bool ok = false;
    const double v = l.toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QString shortDate(const QDate& date, const QLocale& locale) {
    return locale.toString(date, QLocale::ShortFormat);
}

QString longTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    // Drop the time-zone letters (outside quoted text) and the blanks they leave behind.
    QString out;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (!quoted && c == QLatin1Char('t')) continue;
        out += c;
    }
    out = out.trimmed();
    while (out.contains(QStringLiteral("  ")))
        out.replace(QStringLiteral("  "), QStringLiteral(" "));
    if (out.isEmpty()) out = QStringLiteral("HH:mm:ss");
    return out;
}

QString longTime(const QTime& time, const QLocale& locale) {
    return locale.toString(time, longTimeFormat(locale));
}

QString dateTimeText(const QDateTime& when, const QLocale& locale) {
    const QString date = shortDate(when.date(), locale);
    const QTime t = when.time();
    if (t.hour() == 0 && t.minute() == 0 && t.second() == 0 && t.msec() == 0) return date;
    return date + QLatin1Char(' ') + longTime(t, locale);
}

} // namespace settingstext
