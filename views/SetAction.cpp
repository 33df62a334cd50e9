// Set actions with their read-back, and the refusal texts.
#include "views/SetAction.h"

#include "ui/PageAction.h"
#include "ui/StatusTexts.h"

#include <QLineEdit>

bool setAndReadBack(RouterSession& session, PageFrame& frame, QLineEdit* edit, const char* oid,
                    const QString& value, int valueType, QString (*shown)(const QString&),
                    const QString& refused, const QString& readBackHost) {
    PageAction action(frame);
    if (!session.set(QLatin1String(oid), value, valueType)) {
        edit->setText(QStringLiteral("Set failed"));
        action.fail(refused);
        return false;
    }
    const QString host = readBackHost.isEmpty() ? session.endpoint().address() : readBackHost;
    QString readBack;
    if (!session.getFrom(host, QLatin1String(oid), readBack)) {
        action.end(statustext::SetNotReadBack);
        return false;
    }
    edit->setText(shown(readBack));
    return true;
}

QString notWritableStatus(const RouterEndpoint& endpoint) {
    return QStringLiteral(" Error: Is \"") + endpoint.community() + QStringLiteral("\" community writable?");
}

QString notWritableNameStatus(const RouterEndpoint& endpoint) {
    return QStringLiteral(" Error: Is the \"") + endpoint.community() +
           QStringLiteral("\" community name writable?");
}
