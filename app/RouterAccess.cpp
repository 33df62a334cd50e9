// The router endpoint, SNMP through it, set actions, the status line and the help keywords.
#include "app/Main_Unit.h"

#include "app/PageAction.h"
#include "app/StatusTexts.h"
#include "app/UiSeam.h"
#include "net/SnmpClient.h"
#include "net/core/SnmpText.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

QString TMainForm::routerHost() const {
    return ui.system.IpAddress_Edit->text();
}

QString TMainForm::community() const {
    return ui.system.Community_Edit->text();
}

bool TMainForm::snmpGet(const QString& oid, QString& value) {
    std::string bytes;
    const bool ok = SnmpGetValue(oid.toStdString(), snmptext::toRouter(community()),
                                 snmptext::toRouter(routerHost()), bytes);
    value = snmptext::fromRouter(bytes);
    return ok;
}

bool TMainForm::snmpSet(const QString& oid, const QString& value, int valueType) {
    return SnmpSetValue(oid.toStdString(), snmptext::toRouter(community()), snmptext::toRouter(routerHost()),
                        snmptext::toRouter(value), valueType);
}

bool TMainForm::snmpWalk(const QString& baseOid, QStringList& lines) {
    std::vector<std::string> raw;
    const bool ok = SnmpWalkTable(baseOid.toStdString(), snmptext::toRouter(community()),
                                  snmptext::toRouter(routerHost()), raw);
    lines.clear();
    for (const std::string& line : raw)
        lines.append(snmptext::fromRouter(line));
    return ok;
}

bool TMainForm::setAndReadBack(QLineEdit* edit, const char* oid, const QString& value, int valueType,
                               QString (*shown)(const QString&), const QString& refused,
                               const QString& readBackHost) {
    PageAction action(*this);
    if (!snmpSet(QLatin1String(oid), value, valueType)) {
        edit->setText(QStringLiteral("Set failed"));
        action.fail(refused);
        return false;
    }
    const QString host = readBackHost.isEmpty() ? routerHost() : readBackHost;
    std::string bytes;
    if (!SnmpGetValue(oid, snmptext::toRouter(community()), snmptext::toRouter(host), bytes)) {
        action.end(statustext::SetNotReadBack);
        return false;
    }
    edit->setText(shown(snmptext::fromRouter(bytes)));
    return true;
}

QString TMainForm::notWritableStatus() const {
    return QStringLiteral(" Error: Is \"") + community() + QStringLiteral("\" community writable?");
}

QString TMainForm::notWritableNameStatus() const {
    return QStringLiteral(" Error: Is the \"") + community() + QStringLiteral("\" community name writable?");
}

void TMainForm::setStatus(const QString& text) {
    ui.frame.StatusLine_Label->setText(text);
}

QString TMainForm::statusText() const {
    return ui.frame.StatusLine_Label->text();
}

void TMainForm::setHelpKeyword(const QString& keyword, bool alsoUpdateButton) {
    ui.frame.PageControl->setProperty("helpKeyword", keyword);
    ui.frame.Help_But->setProperty("helpKeyword", keyword);
    if (alsoUpdateButton) ui.frame.GetValues_But->setProperty("helpKeyword", keyword);
}
