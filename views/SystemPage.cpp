// System page: the router endpoint, the router's identity, interface discovery and the three
// writable system texts.
#include "app/Main_Unit.h"
#include "app/StatusTexts.h"

#include "app/UiSeam.h"
#include "app/core/SnmpText.h"
#include "net/core/SnmpBer.h"
#include "views/core/UptimeFormat.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace {

constexpr const char* kIfNumber = "1.3.6.1.2.1.2.1.0";
constexpr const char* kIfDescr = "1.3.6.1.2.1.2.2.1.2.";
constexpr const char* kIfIndex = "1.3.6.1.2.1.2.2.1.1.";
constexpr const char* kFirmware = "1.3.6.1.4.1.171.11.1.1.1.0";
constexpr const char* kSysDescr = "1.3.6.1.2.1.1.1.0";
constexpr const char* kSysUpTime = "1.3.6.1.2.1.1.3.0";
constexpr const char* kSysContact = "1.3.6.1.2.1.1.4.0";
constexpr const char* kSysName = "1.3.6.1.2.1.1.5.0";
constexpr const char* kSysLocation = "1.3.6.1.2.1.1.6.0";

// A router that claims more rows than this is not searched beyond them: every row costs three
// exchanges, and a broken ifNumber must not keep the window busy for hours.
constexpr qint32 kMaxDiscoveryRows = 1000;

QLabel* caption(QWidget* parent, const QString& text, int x, int y, int w,
                Qt::Alignment align = Qt::AlignLeft) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(x, y, w, 20);
    l->setAlignment(align | Qt::AlignVCenter);
    return l;
}

QLabel* value(QWidget* parent, const char* name, const QString& text, int x, int y, int w, int h = 20) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(x, y, w, h);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLineEdit* edit(QWidget* parent, const char* name, int x, int y, int w) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setGeometry(x, y, w, 24);
    return e;
}

QPushButton* button(QWidget* parent, const char* name, const QString& text, int x, int y, int w) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setGeometry(x, y, w, 28);
    return b;
}

QString withoutQuotes(QString text) {
    return text.remove(QLatin1Char('"'));
}

} // namespace

void TMainForm::buildSystemPage(QWidget* page) {
    auto* comm = new QGroupBox(QStringLiteral(" Communication settings "), page);
    comm->setObjectName(QStringLiteral("Communication_GBox"));
    comm->setGeometry(8, 6, 592, 84);
    caption(comm, QStringLiteral("Router IP address"), 12, 22, 180);
    auto* ip = edit(comm, "IpAddress_Edit", 12, 44, 180);
    ip->setText(QStringLiteral("192.168.0.1"));
    caption(comm, QStringLiteral("Router SNMP community name"), 208, 22, 206);
    auto* community = edit(comm, "Community_Edit", 208, 44, 180);
    community->setText(QStringLiteral("quorbex"));
    auto* defaults = button(comm, "GenSysInfoDeafults_But", QStringLiteral("Reset defaults"), 420, 42, 120);
    defaults->setToolTip(QStringLiteral("Resets to 192.168.0.1 and quorbex"));

    const Qt::Alignment right = Qt::AlignRight;
    caption(page, QStringLiteral("Firmware:"), 8, 100, 110, right);
    value(page, "firmware_ver_label", QStringLiteral("-----"), 126, 100, 474);
    caption(page, QStringLiteral("Router uptime: "), 8, 124, 110, right);
    value(page, "uptime_label", QStringLiteral("----"), 126, 124, 474);
    auto* descCaption = caption(page, QStringLiteral("Description: "), 8, 148, 110, right);
    descCaption->setAlignment(Qt::AlignRight | Qt::AlignTop);
    auto* desc = value(page, "RouterDesc_Label", QStringLiteral("-----"), 126, 148, 474, 44);
    desc->setWordWrap(true);
    desc->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    caption(page, QStringLiteral("Router contact name"), 12, 200, 400);
    edit(page, "Contact_Edit", 12, 220, 400);
    auto* setContact = button(page, "SetContactBut", QStringLiteral("Set value"), 420, 218, 90);
    caption(page, QStringLiteral("Router fully qualified domain name"), 12, 252, 400);
    edit(page, "Domain_Edit", 12, 272, 400);
    auto* setDomain = button(page, "SetDomainBut", QStringLiteral("Set value"), 420, 270, 90);
    caption(page, QStringLiteral("Router location"), 12, 304, 400);
    edit(page, "Location_Edit", 12, 324, 400);
    auto* setLocation = button(page, "SetLocationBut", QStringLiteral("Set value"), 420, 322, 90);

    auto* copy = button(page, "CopyToClipboard_But", QStringLiteral("&Copy to clipboard"), 12, 366, 150);

    connect(defaults, &QPushButton::clicked, this,
            [this, defaults] { GenSysInfoDeafults_ButClick(defaults); });
    connect(setContact, &QPushButton::clicked, this, [this, setContact] { SetContactButClick(setContact); });
    connect(setDomain, &QPushButton::clicked, this, [this, setDomain] { SetDomainButClick(setDomain); });
    connect(setLocation, &QPushButton::clicked, this,
            [this, setLocation] { SetLocationButClick(setLocation); });
    connect(copy, &QPushButton::clicked, this, [this, copy] { GenericCopy_ButClick(copy); });
}

void TMainForm::GenSysInfoClick() {
    UiSeam::BusyCursor busy;
    setStatus(statustext::Busy);
    setHelpKeyword(QStringLiteral("110.html"), false);

    auto fail = [&](const QString& status) {
        setStatus(status);
        busy.restore();
        UiSeam::beep();
    };

    QString v;
    if (!snmpGet(QLatin1String(kIfNumber), v)) return fail(statustext::ReadError);
    const auto ifNumber = snmptext::parseDecimal(v);
    if (!ifNumber || *ifNumber < std::numeric_limits<qint32>::min() ||
        *ifNumber > std::numeric_limits<qint32>::max())
        return fail(QStringLiteral(" Error: The router's interface count (ifNumber) is not a number"));
    st.IfNumber = static_cast<qint32>(*ifNumber);

    if (st.LanIfIndex == QLatin1String("0") || st.PppIfIndex == QLatin1String("0") ||
        st.WanIfIndex == QLatin1String("0")) {
        struct Pass {
            const char* descr;
            QString* index;
            QString* indexValue;
            const char* missing;
        };
        const Pass passes[] = {
            {"ethernet", &st.LanIfIndex, &st.LanIfIndexValue, "Error: Unable to find LAN interface"},
            {"ppp channel 1", &st.PppIfIndex, &st.PppIfIndexValue, "Error: Unable to find PPP interface"},
            {"ppp1", &st.WanIfIndex, &st.WanIfIndexValue, "Error: Unable to find WAN interface"},
        };
        const qint32 rows = qMin(st.IfNumber, kMaxDiscoveryRows);
        for (const Pass& pass : passes) {
            for (qint32 i = 1; i <= rows; ++i) {
                const QString row = QString::number(i);
                QString descr;
                if (!snmpGet(QLatin1String(kIfDescr) + row, descr)) continue;
                if (descr != QLatin1String(pass.descr)) continue;
                *pass.index = row;
                QString index;
                *pass.indexValue = snmpGet(QLatin1String(kIfIndex) + row, index) ? index : QString();
            }
            if (*pass.index == QLatin1String("0"))
                UiSeam::information(this, QStringLiteral("Kestrune Utility"),
                                    QString::fromLatin1(pass.missing));
        }
    }

    if (snmpGet(QLatin1String(kFirmware), v))
        if (auto* l = w<QLabel>("firmware_ver_label")) l->setText(v);

    if (snmpGet(QLatin1String(kSysUpTime), v)) {
        const auto text = uptimeformat::longFormText(v);
        if (!text) return fail(QStringLiteral(" Error: The router's uptime (sysUpTime) is not a number"));
        if (auto* l = w<QLabel>("uptime_label")) l->setText(*text);
    }

    if (snmpGet(QLatin1String(kSysDescr), v))
        if (auto* l = w<QLabel>("RouterDesc_Label")) l->setText(v);

    const std::pair<const char*, const char*> texts[] = {
        {kSysContact, "Contact_Edit"}, {kSysName, "Domain_Edit"}, {kSysLocation, "Location_Edit"}};
    for (const auto& [oid, name] : texts)
        if (snmpGet(QLatin1String(oid), v))
            if (auto* e = w<QLineEdit>(name)) e->setText(withoutQuotes(v));

    busy.restore();
    setStatus(statustext::Ready);
}

void TMainForm::setSystemText(const char* oid, const char* editName, bool nameObject) {
    auto* e = w<QLineEdit>(editName);
    if (!e) return;
    UiSeam::BusyCursor busy;
    setStatus(statustext::Busy);

    const QString quoted = QLatin1Char('"') + e->text() + QLatin1Char('"');
    if (snmpSet(QLatin1String(oid), quoted, ber::OctetString)) {
        QString v;
        if (snmpGet(QLatin1String(oid), v)) {
            e->setText(withoutQuotes(v));
            setStatus(statustext::Ready);
        } else {
            // The set was answered; only the read-back failed. The edit keeps the typed text.
            setStatus(QStringLiteral(" Error: The value was set but could not be read back"));
        }
        return;
    }
    e->setText(QStringLiteral("Set failed"));
    UiSeam::beep();
    const QString q = QLatin1Char('"') + community() + QLatin1Char('"');
    setStatus(nameObject
                  ? QStringLiteral(" Error: Is ") + q + QStringLiteral(" community writable?")
                  : QStringLiteral(" Error: Is the ") + q + QStringLiteral(" community name writable?"));
}

void TMainForm::SetContactButClick(QObject*) {
    setSystemText(kSysContact, "Contact_Edit", false);
}
void TMainForm::SetDomainButClick(QObject*) {
    setSystemText(kSysName, "Domain_Edit", true);
}
void TMainForm::SetLocationButClick(QObject*) {
    setSystemText(kSysLocation, "Location_Edit", false);
}

void TMainForm::GenSysInfoDeafults_ButClick(QObject*) {
    if (auto* e = w<QLineEdit>("IpAddress_Edit")) e->setText(QStringLiteral("192.168.0.1"));
    if (auto* e = w<QLineEdit>("Community_Edit")) e->setText(QStringLiteral("quorbex"));
}
