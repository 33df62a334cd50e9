#include "views/core/AdslText.h"

#include "net/core/SnmpText.h"

namespace adsl {

namespace {
QString unknown(const QString& value) {
    return QStringLiteral("? [ ") + value + QStringLiteral(" ]");
}
} // namespace

QString modeText(const QString& value) {
    if (value == QLatin1String("0")) return QStringLiteral("Link down");
    if (value == QLatin1String("1")) return QStringLiteral("ANSI");
    if (value == QLatin1String("2")) return QStringLiteral("G.LITE");
    if (value == QLatin1String("3")) return QStringLiteral("G.DMT");
    return unknown(value);
}

QString statusText(const QString& value) {
    if (value == QLatin1String("0")) return QStringLiteral("Idle");
    if (value == QLatin1String("1")) return QStringLiteral("Initialising");
    if (value == QLatin1String("2")) return QStringLiteral("Showtime");
    return unknown(value);
}

bool packetCountText(const QString& value, QString& text) {
    const auto v = snmptext::parseDecimal(value.trimmed());
    if (!v) return false;
    text = QString::number(*v);
    return true;
}

} // namespace adsl
