// Misc page: the router's LAN address (read and changed by SNMP), the computer's address, the
// event-log transfer's controls and the router password change's controls with their status pane.
#include "app/Main_Unit.h"

#include "eventlog/core/EventLogNames.h"
#include "net/LocalAddress.h"
#include "net/core/MibObjects.h"
#include "net/core/SnmpBer.h"
#include "ui/EndpointEdits.h"
#include "ui/PageAction.h"
#include "ui/WidgetFactory.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QGroupBox* group(QWidget* page, const char* name, const QString& title, const QRect& geometry) {
    auto* g = new QGroupBox(title, page);
    g->setObjectName(QString::fromLatin1(name));
    g->setGeometry(geometry);
    return g;
}

// A caption and its edit on one row.
QLineEdit* captioned(QWidget* parent, const QString& text, const char* name, int x, int y, int captionWidth,
                     int editWidth, const QString& initial = QString()) {
    QLabel* c = widgets::caption(parent, text, {x, y, captionWidth, widgets::kEditHeight});
    QLineEdit* e = widgets::edit(parent, name, x + captionWidth + 4, y, editWidth, initial);
    c->setBuddy(e);
    return e;
}

QString same(const QString& value) {
    return value;
}

} // namespace

void TMainForm::buildMiscPage(QWidget* page) {
    using widgets::button;
    MiscPageWidgets& m = ui.misc;
    const QString current = QStringLiteral("Current IP address");

    auto* router =
        group(page, "RouterIp_GBox", QStringLiteral(" Change router IP address "), {8, 6, 300, 118});
    m.CurrentIp_Edit = captioned(router, current, "CurrentIp_Edit", 10, 24, 132, 140);
    m.CurrentIp_Edit->setReadOnly(true);
    m.NewIP_edit = captioned(router, QStringLiteral("New IP address"), "NewIP_edit", 10, 54, 132, 140);
    m.ChangeIP_But = button(router, "ChangeIP_But", QStringLiteral("Set value"), 196, 84, 86);

    auto* pc = group(page, "PCIp_GBox", QStringLiteral(" Computer IP address "), {316, 6, 288, 64});
    m.PCIP_Edit = captioned(pc, current, "PCIP_Edit", 10, 26, 132, 134, QStringLiteral("----------"));
    m.PCIP_Edit->setReadOnly(true);

    auto* log = group(page, "EventLog_GBox", QStringLiteral(" Event log "), {8, 132, 596, 94});
    m.Dir_Edit = captioned(log, QStringLiteral("Directory to save to:"), "Dir_Edit", 10, 24, 140, 296);
    m.Dir_SpdBut = button(log, "Dir_SpdBut", QStringLiteral("Choose directory"), 456, 22, 128);
    m.TelnetEventLog_But =
        button(log, "TelnetEventLog_But", QStringLiteral("&Transfer event log"), 154, 56, 160);

    auto* pwd = group(page, "Password_GBox",
                      QStringLiteral(" Change router telnet password/SNMP write access community name "),
                      {8, 234, 596, 64});
    m.CurPwd_Edit = captioned(pwd, QStringLiteral("Current password"), "CurPwd_Edit", 10, 26, 126, 116);
    m.CurPwd_Edit->setReadOnly(true);
    endpointedits::bind(m.CurPwd_Edit, m_endpoint, endpointedits::Field::WriteCommunity);
    m.NewPwd_Edit = captioned(pwd, QStringLiteral("New password"), "NewPwd_Edit", 266, 26, 106, 110);
    m.SetPwd_But = button(pwd, "SetPwd_But", QStringLiteral("Set value"), 498, 24, 86);

    auto* status = group(page, "Status_GBox", QStringLiteral(" Password change/Event log transfer status "),
                         {8, 306, 596, 100});
    auto* memo = m.Status_Memo = new QPlainTextEdit(status);
    memo->setObjectName(QStringLiteral("Status_Memo"));
    memo->setMaximumBlockCount(1000); // a flood of receiver lines keeps only the latest
    memo->setReadOnly(true);
    memo->setGeometry(10, 22, 576, 70);

    const std::pair<QPushButton*, void (TMainForm::*)(QObject*)> handlers[] = {
        {m.ChangeIP_But, &TMainForm::ChangeIP_ButClick},
        {m.Dir_SpdBut, &TMainForm::Dir_SpdButClick},
        {m.TelnetEventLog_But, &TMainForm::TelnetEventLog_ButClick},
        {m.SetPwd_But, &TMainForm::SetPwd_ButClick}};
    for (const auto& [b, handler] : handlers)
        connectClick(b, handler);
}

QString TMainForm::computerAddress() const {
    return QString::fromStdString(eventlog::ChooseComputerAddress(
        localaddress::HostNameAddresses(), localaddress::RouteTo(routerHost().toStdString())));
}

void TMainForm::MiscClick(QObject*) {
    MiscPageWidgets& m = ui.misc;
    PageAction action(*this);
    setHelpKeyword(QStringLiteral("200.html"), true);
    if (m.Dir_Edit->text().isEmpty())
        m.Dir_Edit->setText(QCoreApplication::applicationDirPath() + QLatin1Char('/'));

    QString address;
    if (!snmpGet(QLatin1String(mib::lanAddress), address)) return action.fail();
    m.CurrentIp_Edit->setText(address);

    m.PCIP_Edit->setText(QStringLiteral("0.0.0.0"));
    if (const QString own = computerAddress(); !own.isEmpty()) m.PCIP_Edit->setText(own);
    // The router's telnet password and its write community are the same secret.
    m.CurPwd_Edit->setText(community());
}

void TMainForm::ChangeIP_ButClick(QObject*) {
    MiscPageWidgets& m = ui.misc;
    const QString next = m.NewIP_edit->text();
    // The router answers at its new address from now on: the read-back goes there.
    if (!setAndReadBack(m.NewIP_edit, mib::lanAddress, next, ber::IpAddress, same, notWritableNameStatus(),
                        next))
        return;
    m_endpoint.setAddress(m.NewIP_edit->text());
    m.CurrentIp_Edit->setText(m.NewIP_edit->text());
    m.NewIP_edit->clear();
}
