#include "views/core/InterfacesText.h"

#include "monitor/core/QuotaMath.h"

namespace ifview {

QString columnOid(int column, const QString& instance) {
    return QStringLiteral("1.3.6.1.2.1.2.2.1.") + QString::number(column) + QLatin1Char('.') + instance;
}

std::optional<StatusLook> operStatusLook(const QString& value) {
    if (value == QLatin1String("1")) return StatusLook{QStringLiteral("UP"), 0x008000};
    if (value == QLatin1String("2")) return StatusLook{QStringLiteral("DOWN"), 0xFF0000};
    if (value == QLatin1String("3")) return StatusLook{QStringLiteral("TESTING"), 0xFFFF00};
    return std::nullopt;
}

std::optional<QString> octetsText(const QString& value) {
    const auto v = quota::parseInt64(value);
    if (!v) return std::nullopt;
    return QString::number(*v);
}

} // namespace ifview
