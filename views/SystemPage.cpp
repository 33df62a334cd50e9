// System page: the router endpoint, the router's identity, interface discovery and the three
// writable system texts.
#include "views/SystemPage.h"

#include "views/SetAction.h"

#include "net/core/MibObjects.h"
#include "net/core/SnmpBer.h"
#include "net/core/SnmpText.h"
#include "ui/EndpointEdits.h"
#include "ui/PageAction.h"
#include "ui/ProgramInfo.h"
#include "ui/UiSeam.h"
#include "ui/WidgetFactory.h"
#include "views/core/UptimeFormat.h"
#include "windows/core/HelpKeywords.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace {

// A router that claims more rows than this is not searched beyond them: every row costs three
// exchanges, and a broken ifNumber must not keep the window busy for hours.
constexpr qint32 kMaxDiscoveryRows = 1000;
// Discovery gives up after this many reads in a row without an answer: the router has gone silent.
constexpr int kSilentReadsToGiveUp = 3;

} // namespace

SystemPage::SystemPage(QWidget* page, RouterSession& session, PageFrame& frame,
                       std::function<void(QPushButton*)> onCopy)
    : m_session(session), m_frame(frame) {
    using namespace widgets;
    SystemPageWidgets& s = m_ui;
    auto* comm = new QGroupBox(QStringLiteral(" Communication settings "), page);
    comm->setObjectName(QStringLiteral("Communication_GBox"));
    comm->setGeometry(8, 6, 592, 84);
    caption(comm, QStringLiteral("Router IP address"), {12, 22, 180, 20});
    s.IpAddress_Edit = edit(comm, "IpAddress_Edit", 12, 44, 180, program::DefaultRouterAddress);
    caption(comm, QStringLiteral("Router SNMP community name"), {208, 22, 206, 20});
    s.Community_Edit = edit(comm, "Community_Edit", 208, 44, 180, program::DefaultCommunity);
    endpointedits::bind(s.IpAddress_Edit, m_session.endpoint(), endpointedits::Field::Address);
    endpointedits::bind(s.Community_Edit, m_session.endpoint(), endpointedits::Field::Community);
    auto* defaults = button(comm, "GenSysInfoDeafults_But", QStringLiteral("Reset defaults"), 420, 42, 120);
    defaults->setToolTip(
        QStringLiteral("Resets to %1 and %2").arg(program::DefaultRouterAddress, program::DefaultCommunity));

    const Qt::Alignment right = Qt::AlignRight;
    caption(page, QStringLiteral("Firmware:"), {8, 100, 110, 20}, right);
    s.firmware_ver_label =
        value(page, "firmware_ver_label", QStringLiteral("-----"), {126, 100, 474, 20}, Selectable);
    caption(page, QStringLiteral("Router uptime: "), {8, 124, 110, 20}, right);
    s.uptime_label = value(page, "uptime_label", QStringLiteral("----"), {126, 124, 474, 20}, Selectable);
    auto* descCaption = caption(page, QStringLiteral("Description: "), {8, 148, 110, 20}, right);
    descCaption->setAlignment(Qt::AlignRight | Qt::AlignTop);
    s.RouterDesc_Label =
        value(page, "RouterDesc_Label", QStringLiteral("-----"), {126, 148, 474, 44}, Selectable);
    s.RouterDesc_Label->setWordWrap(true);
    s.RouterDesc_Label->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    struct TextRow {
        const char* caption;
        const char* edit;
        QLineEdit* SystemPageWidgets::*member;
        const char* button;
        void (SystemPage::*click)();
    };
    const TextRow rows[] = {
        {"Router contact name", "Contact_Edit", &SystemPageWidgets::Contact_Edit, "SetContactBut",
         &SystemPage::setContact},
        {"Router fully qualified domain name", "Domain_Edit", &SystemPageWidgets::Domain_Edit, "SetDomainBut",
         &SystemPage::setDomain},
        {"Router location", "Location_Edit", &SystemPageWidgets::Location_Edit, "SetLocationBut",
         &SystemPage::setLocation},
    };
    int y = 200;
    for (const TextRow& row : rows) {
        caption(page, QString::fromLatin1(row.caption), {12, y, 400, 20});
        s.*row.member = edit(page, row.edit, 12, y + 20, 400);
        auto* set = button(page, row.button, QStringLiteral("Set value"), 420, y + 18, 90);
        QObject::connect(set, &QPushButton::clicked, [this, click = row.click] { (this->*click)(); });
        y += 52;
    }

    auto* copy = s.CopyToClipboard_But =
        button(page, "CopyToClipboard_But", QStringLiteral("&Copy to clipboard"), 12, 366, 150);
    QObject::connect(defaults, &QPushButton::clicked, [this] { resetDefaults(); });
    QObject::connect(copy, &QPushButton::clicked, [copy, onCopy = std::move(onCopy)] { onCopy(copy); });
}

void SystemPage::refresh() {
    PageAction action(m_frame);
    RouterInterfaces& ifs = m_session.interfaces();
    m_frame.setHelpKeyword(helpkw::text(helpkw::System), false);

    QString v;
    if (!m_session.get(QLatin1String(mib::ifNumber), v)) return action.fail();
    const auto ifNumber = snmptext::parseDecimal(v);
    if (!ifNumber || *ifNumber < std::numeric_limits<qint32>::min() ||
        *ifNumber > std::numeric_limits<qint32>::max())
        return action.fail(QStringLiteral(" Error: The router's interface count (ifNumber) is not a number"));
    ifs.IfNumber = static_cast<qint32>(*ifNumber);

    if (ifs.LanIfIndex == QLatin1String("0") || ifs.PppIfIndex == QLatin1String("0") ||
        ifs.WanIfIndex == QLatin1String("0"))
        if (!discoverInterfaces()) return action.fail();

    if (m_session.get(QLatin1String(mib::firmware), v)) m_ui.firmware_ver_label->setText(v);

    if (m_session.get(QLatin1String(mib::sysUpTime), v)) {
        const auto text = uptimeformat::longFormText(v);
        if (!text)
            return action.fail(QStringLiteral(" Error: The router's uptime (sysUpTime) is not a number"));
        m_ui.uptime_label->setText(*text);
    }

    if (m_session.get(QLatin1String(mib::sysDescr), v)) m_ui.RouterDesc_Label->setText(v);

    const std::pair<const char*, QLineEdit*> texts[] = {{mib::sysContact, m_ui.Contact_Edit},
                                                        {mib::sysName, m_ui.Domain_Edit},
                                                        {mib::sysLocation, m_ui.Location_Edit}};
    for (const auto& [oid, edit] : texts)
        if (m_session.get(QLatin1String(oid), v)) edit->setText(snmptext::withoutQuotes(v));
}

bool SystemPage::discoverInterfaces() {
    RouterInterfaces& ifs = m_session.interfaces();
    struct Pass {
        const char* descr;
        QString* index;
        QString* indexValue;
        const char* missing;
    };
    const Pass passes[] = {
        {"ethernet", &ifs.LanIfIndex, &ifs.LanIfIndexValue, "Error: Unable to find LAN interface"},
        {"ppp channel 1", &ifs.PppIfIndex, &ifs.PppIfIndexValue, "Error: Unable to find PPP interface"},
        {"ppp1", &ifs.WanIfIndex, &ifs.WanIfIndexValue, "Error: Unable to find WAN interface"},
    };
    // An answer with an error status still counts as an answer: only silence ends the search.
    int silentReads = 0;
    auto read = [&](const QString& oid, QString& value) {
        const bool answered = m_session.get(oid, value);
        silentReads = answered ? 0 : silentReads + 1;
        return answered;
    };
    const qint32 rows = qMin(ifs.IfNumber, kMaxDiscoveryRows);
    for (const Pass& pass : passes) {
        for (qint32 i = 1; i <= rows; ++i) {
            const QString row = QString::number(i);
            QString descr;
            const bool answered = read(snmptext::ifColumnOid(mib::IfDescr, row), descr);
            if (silentReads >= kSilentReadsToGiveUp) return false;
            if (!answered || descr != QLatin1String(pass.descr)) continue;
            *pass.index = row;
            QString index;
            *pass.indexValue = read(snmptext::ifColumnOid(mib::IfIndex, row), index) ? index : QString();
            if (silentReads >= kSilentReadsToGiveUp) return false;
        }
        if (*pass.index == QLatin1String("0"))
            UiSeam::information(m_frame.dialogParent(), QStringLiteral("Kestrune Utility"),
                                QString::fromLatin1(pass.missing));
    }
    return true;
}

void SystemPage::setQuotedText(QLineEdit* edit, const char* oid, const QString& refused) {
    // The system texts travel in double quotes; the edit shows them without.
    setAndReadBack(m_session, m_frame, edit, oid, QLatin1Char('"') + edit->text() + QLatin1Char('"'),
                   ber::OctetString, snmptext::withoutQuotes, refused);
}

void SystemPage::setContact() {
    setQuotedText(m_ui.Contact_Edit, mib::sysContact, notWritableNameStatus(m_session.endpoint()));
}
void SystemPage::setDomain() {
    setQuotedText(m_ui.Domain_Edit, mib::sysName, notWritableStatus(m_session.endpoint()));
}
void SystemPage::setLocation() {
    setQuotedText(m_ui.Location_Edit, mib::sysLocation, notWritableNameStatus(m_session.endpoint()));
}

void SystemPage::resetDefaults() {
    m_ui.IpAddress_Edit->setText(program::DefaultRouterAddress);
    m_ui.Community_Edit->setText(program::DefaultCommunity);
}

QString SystemPage::clipboardText() const {
    return m_ui.firmware_ver_label->text() + QLatin1Char('\n') + m_ui.RouterDesc_Label->text();
}
