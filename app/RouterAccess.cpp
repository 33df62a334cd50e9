// The router endpoint, SNMP through it, set actions, the status line and the help keywords.
#include "app/Main_Unit.h"

#include "views/SetAction.h"

#include "net/SnmpClient.h"
#include "net/core/SnmpText.h"
#include "ui/PageAction.h"
#include "ui/StatusTexts.h"
#include "ui/UiSeam.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

QString TMainForm::routerHost() const {
    return m_endpoint.address();
}

QString TMainForm::community() const {
    return m_endpoint.community();
}

bool TMainForm::snmpGet(const QString& oid, QString& value) {
    return m_session.get(oid, value);
}

bool TMainForm::snmpSet(const QString& oid, const QString& value, int valueType) {
    return m_session.set(oid, value, valueType);
}

bool TMainForm::snmpWalk(const QString& baseOid, QStringList& lines) {
    return m_session.walk(baseOid, lines);
}

bool TMainForm::setAndReadBack(QLineEdit* edit, const char* oid, const QString& value, int valueType,
                               QString (*shown)(const QString&), const QString& refused,
                               const QString& readBackHost) {
    return ::setAndReadBack(m_session, *this, edit, oid, value, valueType, shown, refused, readBackHost);
}

QString TMainForm::notWritableStatus() const {
    return ::notWritableStatus(m_endpoint);
}

QString TMainForm::notWritableNameStatus() const {
    return ::notWritableNameStatus(m_endpoint);
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
