#include "views/core/InterfacesText.h"

#include "net/core/SnmpText.h"

namespace ifview {

std::optional<StatusLook> operStatusLook(const QString& value) {
    if (value == QLatin1String("1")) return StatusLook{QStringLiteral("UP"), 0x008000};
    if (value == QLatin1String("2")) return StatusLook{QStringLiteral("DOWN"), 0xFF0000};
    if (value == QLatin1String("3")) return StatusLook{QStringLiteral("TESTING"), 0xFFFF00};
    return std::nullopt;
}

std::optional<QString> octetsText(const QString& value) {
    const auto v = snmptext::parseDecimal(value.trimmed());
    if (!v) return std::nullopt;
    return QString::number(*v);
}

} // namespace ifview
