#include "app/core/SnmpText.h"

#include <QByteArrayView>

namespace snmptext {

QString fromRouter(const std::string& bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (view.isValidUtf8()) return QString::fromUtf8(view);
    return QString::fromLatin1(view);
}

std::string toRouter(const QString& text) {
    return text.toStdString();
}

} // namespace snmptext
