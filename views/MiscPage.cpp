// Misc page: the router's LAN address (read and changed by SNMP), the computer's address, the
// event-log transfer's controls and the router password change's controls with their status pane.
#include "views/MiscPage.h"

#include "eventlog/core/EventLogNames.h"
#include "net/LocalAddress.h"
#include "net/core/MibObjects.h"
#include "net/core/SnmpBer.h"
#include "ui/EndpointEdits.h"
#include "ui/PageAction.h"
#include "ui/UiSeam.h"
#include "ui/WidgetFactory.h"
#include "views/SetAction.h"
#include "windows/core/HelpKeywords.h"

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

// Four dot-separated decimal parts of at most 255 each, not all zero: a text that a router can take
// as its new LAN address. Anything else (an empty edit, "Set failed", a typo) would be sent as a
// wrong address and leave the router out of reach.
bool isNewRouterAddress(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4) return false;
    int sum = 0;
    for (const QString& part : parts) {
        if (part.isEmpty() || part.size() > 3) return false;
        for (const QChar c : part)
            if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
        const int value = part.toInt();
        if (value > 255) return false;
        sum += value;
    }
    return sum > 0;
}

} // namespace

MiscPage::MiscPage(QWidget* page, RouterSession& session, PageFrame& frame, MiscPageCalls calls)
    : m_session(session), m_frame(frame), m_calls(std::move(calls)) {
    using widgets::button;
    MiscPageWidgets& m = m_ui;
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
    endpointedits::bind(m.CurPwd_Edit, m_session.endpoint(), endpointedits::Field::WriteCommunity);
    m.NewPwd_Edit = captioned(pwd, QStringLiteral("New password"), "NewPwd_Edit", 266, 26, 106, 110);
    m.SetPwd_But = button(pwd, "SetPwd_But", QStringLiteral("Set value"), 498, 24, 86);

    auto* status = group(page, "Status_GBox", QStringLiteral(" Password change/Event log transfer status "),
                         {8, 306, 596, 100});
    auto* memo = m.Status_Memo = new QPlainTextEdit(status);
    memo->setObjectName(QStringLiteral("Status_Memo"));
    memo->setMaximumBlockCount(1000); // a flood of receiver lines keeps only the latest
    memo->setReadOnly(true);
    memo->setGeometry(10, 22, 576, 70);

    QObject::connect(m.ChangeIP_But, &QPushButton::clicked, [this] { changeAddress(); });
    const std::pair<QPushButton*, std::function<void(QPushButton*)> MiscPageCalls::*> jobs[] = {
        {m.Dir_SpdBut, &MiscPageCalls::chooseDirectory},
        {m.TelnetEventLog_But, &MiscPageCalls::transferEventLog},
        {m.SetPwd_But, &MiscPageCalls::setPassword}};
    for (const auto& job : jobs)
        QObject::connect(job.first, &QPushButton::clicked,
                         [this, button = job.first, call = job.second] { (m_calls.*call)(button); });
}

QString MiscPage::computerAddress() const {
    return QString::fromStdString(
        eventlog::ChooseComputerAddress(localaddress::HostNameAddresses(),
                                        localaddress::RouteTo(m_session.endpoint().address().toStdString())));
}

void MiscPage::enter() {
    m_calls.setUpdateEnabled(false);
    m_frame.setHelpKeyword(helpkw::text(helpkw::Misc), false);
}

void MiscPage::refresh() {
    MiscPageWidgets& m = m_ui;
    PageAction action(m_frame);
    m_frame.setHelpKeyword(helpkw::text(helpkw::Misc), true);
    if (m.Dir_Edit->text().isEmpty())
        m.Dir_Edit->setText(QCoreApplication::applicationDirPath() + QLatin1Char('/'));

    QString address;
    if (!m_session.get(QLatin1String(mib::lanAddress), address)) return action.fail();
    m.CurrentIp_Edit->setText(address);

    m.PCIP_Edit->setText(QStringLiteral("0.0.0.0"));
    if (const QString own = computerAddress(); !own.isEmpty()) m.PCIP_Edit->setText(own);
    // The router's telnet password and its write community are the same secret.
    m.CurPwd_Edit->setText(m_session.endpoint().community());
}

void MiscPage::changeAddress() {
    MiscPageWidgets& m = m_ui;
    const QString next = m.NewIP_edit->text();
    if (!isNewRouterAddress(next)) {
        m_frame.setStatus(
            QStringLiteral(" Error: The new IP address is not an IPv4 address like 192.168.0.1"));
        UiSeam::beep();
        return;
    }
    // The router answers at its new address from now on: the read-back goes there.
    if (!setAndReadBack(m_session, m_frame, m.NewIP_edit, mib::lanAddress, next, ber::IpAddress, same,
                        notWritableNameStatus(m_session.endpoint()), next))
        return;
    m_session.endpoint().setAddress(m.NewIP_edit->text());
    m.CurrentIp_Edit->setText(m.NewIP_edit->text());
    m.NewIP_edit->clear();
}
