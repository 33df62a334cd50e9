// Texts between the window and the SNMP client, and the numbers and object names made of them.
#include "net/core/SnmpText.h"

#include "net/core/MibObjects.h"

#include <QByteArrayView>

#include <limits>

namespace snmptext {

QString fromRouter(const std::string& bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (view.isValidUtf8()) return QString::fromUtf8(view);
    return QString::fromLatin1(view);
}

std::string toRouter(const QString& text) {
    return text.toStdString();
}

std::optional<qint64> parseDecimal(const QString& text) {
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

QString ifColumnOid(int column, const QString& row) {
    return QLatin1String(mib::ifEntry) + QLatin1Char('.') + QString::number(column) + QLatin1Char('.') + row;
}

} // namespace snmptext

QString snmptext::withoutQuotes(const QString& text) {
    return QString(text).remove(QLatin1Char('"'));
}
