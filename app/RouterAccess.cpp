// The router endpoint, SNMP through it, the status line and the help keywords.
#include "app/Main_Unit.h"

#include "app/StatusTexts.h"
#include "app/UiSeam.h"
#include "app/core/SnmpText.h"
#include "net/SnmpClient.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

QString TMainForm::routerHost() const {
    auto* e = w<QLineEdit>("IpAddress_Edit");
    return e ? e->text() : QString();
}

QString TMainForm::community() const {
    auto* e = w<QLineEdit>("Community_Edit");
    return e ? e->text() : QString();
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

void TMainForm::setStatus(const QString& text) {
    if (m_statusLabel) m_statusLabel->setText(text);
}

void TMainForm::pageReadFailed(UiSeam::BusyCursor& busy) {
    setStatus(statustext::ReadError);
    busy.restore();
    UiSeam::beep();
}

QString TMainForm::statusText() const {
    return m_statusLabel ? m_statusLabel->text() : QString();
}

void TMainForm::setHelpKeyword(const QString& keyword, bool alsoUpdateButton) {
    if (QTabWidget* tabs = pageControl()) tabs->setProperty("helpKeyword", keyword);
    if (auto* help = w<QPushButton>("Help_But")) help->setProperty("helpKeyword", keyword);
    if (alsoUpdateButton)
        if (auto* update = w<QPushButton>("GetValues_But")) update->setProperty("helpKeyword", keyword);
}
