// The Interfaces page and the raw interface dump of the real window against the router stand-in.
#include "support/DroppingAgent.h"
#include "support/MainFormHarness.h"

#include "monitor/QuotaMonitor.h"

#include "ui/PaneText.h"
#include "ui/UiSeam.h"
#include "net/SnmpClient.h"
#include "net/core/SnmpBer.h"
#include "sim/RouterSim.h"

#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>

using testsupport::MainFormHarness;

namespace {

const QString kErr = " Error: Check IP address and/or SNMP community name";

// Quiet interfaces (counters only move when the test says so) and a router up for a while.
MainFormHarness::Options quietRouter() {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) {
        for (int i = 1; i <= r.interfaceCount(); ++i)
            r.setTraffic(i, 0, 0);
        r.setUptime(20000000);
    };
    return o;
}

QLabel* label(MainFormHarness& h, const QString& name) {
    QLabel* l = h.find<QLabel>(name.toLatin1().constData());
    EXPECT_NE(l, nullptr) << name.toStdString();
    return l;
}
QString text(MainFormHarness& h, const QString& name) {
    return label(h, name)->text();
}
QRgb colour(MainFormHarness& h, const QString& name) {
    return label(h, name)->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF;
}
void showInterfaces(MainFormHarness& h) {
    h.form().pageControl()->setCurrentWidget(h.find<QWidget>("Interfaces"));
}
void update(MainFormHarness& h) {
    h.find<QPushButton>("GetValues_But")->click();
}
bool asked(sim::Router& r, const std::string& oid) {
    const auto log = r.requestLog();
    return std::find(log.begin(), log.end(), oid) != log.end();
}

class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_old); }

private:
    QLocale m_old;
};

} // namespace

TEST(InterfacesPage, GroupsRowsAndHints) {
    MainFormHarness h(quietRouter());
    EXPECT_EQ(h.find<QGroupBox>("EthLAN_GBox")->title(), " Ethernet LAN interface ");
    EXPECT_EQ(h.find<QGroupBox>("PPPLink_GBox")->title(), " PPP channel interface ");
    EXPECT_EQ(h.find<QGroupBox>("EthWAN_GBox")->title(), " Ethernet WAN interface ");
    for (const char* prefix : {"LAN", "PPP", "WAN"}) {
        for (const char* suffix :
             {"Status_Label", "Last_Label", "Mtu_Label", "BytesIn_Label", "BytesOut_Label", "InErrs_Label",
              "OutErrs_Label", "InU_Label", "OutQLen_Label"})
            EXPECT_EQ(text(h, QString(prefix) + suffix), "----");
        EXPECT_EQ(label(h, QString(prefix) + "Last_Label")->toolTip(), "Days:Hours:Mins:Secs");
    }
    EXPECT_EQ(label(h, "LANStatusL_Label")->text(), "Status:");
    EXPECT_EQ(label(h, "LANStatusL_Label")->toolTip(), "Operational status");
    EXPECT_EQ(label(h, "PPPLastL_Label")->toolTip(), "Time since last status change");
    EXPECT_EQ(label(h, "WANMtuL_Label")->toolTip(), "Largest datagram which can be sent/received");
    EXPECT_EQ(label(h, "WANInUL_Label")->text(), "InUnknownProtos:");
    EXPECT_EQ(label(h, "WANInUL_Label")->toolTip(), "Packets discarded due to unknown/unsupported protocol");
    EXPECT_EQ(label(h, "LANOutQLenL_Label")->toolTip(), "Current length of the output packet queue");
}

TEST(InterfacesPage, RefreshFillsTheThreeInterfaces) {
    MainFormHarness h(quietRouter());
    sim::Router& r = h.router();
    r.setOctets(sim::LanIf, 4294967295u, 1048576u);
    r.setOctets(sim::PppIf, 524288u, 2147483648u);
    r.setOperStatus(sim::PppIf, 2);
    r.setOperStatus(sim::WanIf, 3);
    // The WAN interface changed 1 day, 1 hour, 1 minute and 1 second ago.
    r.set(sim::ifOid(sim::IfLastChange, sim::WanIf), ber::TimeTicks, std::to_string(r.uptime() - 9006100));
    r.set(sim::ifOid(sim::IfMtu, sim::PppIf), ber::Integer, "1492");
    r.set(sim::ifOid(sim::IfInErrors, sim::LanIf), ber::Counter, "17");

    showInterfaces(h);
    EXPECT_EQ(h.form().statusText(), " Ready");
    EXPECT_EQ(h.find<QTabWidget>("PageControl")->property("helpKeyword").toString(), "140.html");
    EXPECT_EQ(h.find<QPushButton>("GetValues_But")->property("helpKeyword").toString(), "140.html");
    EXPECT_EQ(h.find<QGroupBox>("EthLAN_GBox")->title(), " Ethernet LAN interface [1] ");
    EXPECT_EQ(h.find<QGroupBox>("PPPLink_GBox")->title(), " PPP channel interface [3] ");
    EXPECT_EQ(h.find<QGroupBox>("EthWAN_GBox")->title(), " Ethernet WAN interface [4] ");

    EXPECT_EQ(text(h, "LANStatus_Label"), "UP");
    EXPECT_EQ(colour(h, "LANStatus_Label"), 0x008000u);
    EXPECT_EQ(text(h, "PPPStatus_Label"), "DOWN");
    EXPECT_EQ(colour(h, "PPPStatus_Label"), 0xFF0000u);
    EXPECT_EQ(text(h, "WANStatus_Label"), "TESTING");
    EXPECT_EQ(colour(h, "WANStatus_Label"), 0xFFFF00u);

    EXPECT_EQ(text(h, "LANBytesIn_Label"), "4.0000 Gb");
    EXPECT_EQ(text(h, "LANBytesOut_Label"), "1.0000 Mb");
    EXPECT_EQ(text(h, "PPPBytesIn_Label"), ".5000 Mb");
    EXPECT_EQ(text(h, "PPPBytesOut_Label"), "2.0000 Gb");
    EXPECT_EQ(text(h, "WANLast_Label"), "01:01:01:01");
    EXPECT_EQ(text(h, "PPPLast_Label"), "00:00:00:00"); // just changed
    EXPECT_EQ(text(h, "PPPMtu_Label"), "1492");
    EXPECT_EQ(text(h, "LANInErrs_Label"), "17");
    EXPECT_EQ(text(h, "LANOutQLen_Label"), QString::fromStdString(r.get(sim::ifOid(21, 1))->second));
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);

    // A status other than 1, 2 or 3 leaves text and colour as they were.
    r.setOperStatus(sim::LanIf, 5);
    r.setOperStatus(sim::PppIf, 7);
    update(h);
    EXPECT_EQ(text(h, "LANStatus_Label"), "UP");
    EXPECT_EQ(colour(h, "LANStatus_Label"), 0x008000u);
    EXPECT_EQ(text(h, "PPPStatus_Label"), "DOWN");
    EXPECT_EQ(colour(h, "PPPStatus_Label"), 0xFF0000u);
    r.setOperStatus(sim::PppIf, 1);
    update(h);
    EXPECT_EQ(text(h, "PPPStatus_Label"), "UP");
    EXPECT_EQ(colour(h, "PPPStatus_Label"), 0x008000u);

    // The byte counts follow the locale's decimal separator and the ISP's unit sizes.
    {
        LocaleScope german{QLocale(QLocale::German)};
        update(h);
        EXPECT_EQ(text(h, "LANBytesIn_Label"), "4,0000 Gb");
        EXPECT_EQ(text(h, "PPPBytesIn_Label"), ",5000 Mb");
    }
    h.form().quotaMonitor().figures().BytesPerGigabyte = 8589934592.0;
    update(h);
    EXPECT_EQ(text(h, "LANBytesIn_Label"), "4096.0000 Mb");
}

TEST(InterfacesPage, ReadsOneObjectAtATimeInRowOrder) {
    MainFormHarness h(quietRouter());
    h.router().clearRequestLog();
    showInterfaces(h);
    const std::string upTime = "1.3.6.1.2.1.1.3.0";
    std::vector<std::string> expected;
    for (int i : {sim::LanIf, sim::PppIf, sim::WanIf})
        expected.push_back(sim::ifOid(sim::IfOperStatus, i));
    for (int column : {9, 4, 10, 16, 14, 20, 15, 21})
        for (int i : {sim::LanIf, sim::PppIf, sim::WanIf}) {
            expected.push_back(sim::ifOid(column, i));
            if (column == 9) expected.push_back(upTime); // the elapsed time reads the uptime itself
        }
    EXPECT_EQ(h.router().requestLog(), expected);
}

TEST(InterfacesPage, UnreachableRouterAndLaterFailedReads) {
    MainFormHarness h(quietRouter());
    showInterfaces(h);
    ASSERT_EQ(text(h, "LANStatus_Label"), "UP");
    const QString mtu = text(h, "WANMtu_Label");
    const QString lastChange = text(h, "LANLast_Label");
    ASSERT_FALSE(lastChange.isEmpty());

    h.router().setSilent(true);
    h.router().setOperStatus(sim::LanIf, 2);
    UiSeam::resetTestRecord();
    update(h);
    EXPECT_EQ(h.form().statusText(), kErr);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(text(h, "LANStatus_Label"), "UP");
    h.router().setSilent(false);

    // Reads that fail after the LAN status keep their labels.
    DroppingAgent drop(h.router());
    ASSERT_TRUE(drop.start());
    h.setSnmpPort(drop.port());
    h.router().setOperStatus(sim::PppIf, 2);
    h.router().setOperStatus(sim::LanIf, 2);
    drop.setRule([](const std::string& name, int) {
        return name == sim::ifOid(sim::IfOperStatus, sim::PppIf) ||
               name == sim::ifOid(sim::IfMtu, sim::WanIf) || name == "1.3.6.1.2.1.1.3.0";
    });
    h.router().set(sim::ifOid(sim::IfMtu, sim::WanIf), ber::Integer, "576");
    UiSeam::resetTestRecord();
    update(h);
    EXPECT_EQ(h.form().statusText(), " Ready");
    EXPECT_EQ(UiSeam::beepCount(), 0);
    EXPECT_EQ(text(h, "LANStatus_Label"), "DOWN");
    EXPECT_EQ(text(h, "PPPStatus_Label"), "UP");
    EXPECT_EQ(text(h, "WANMtu_Label"), mtu);
    EXPECT_EQ(text(h, "LANLast_Label"), lastChange); // its uptime read failed
    h.setSnmpPort(h.port());
}

TEST(InterfacesPage, ValuesThatMustBeNumbersAndAreNot) {
    MainFormHarness h(quietRouter());
    h.router().setOctets(sim::LanIf, 0, 0);
    h.router().setOctets(sim::WanIf, 0, 0);
    showInterfaces(h);
    ASSERT_EQ(text(h, "WANStatus_Label"), "UP");

    // An interface that was not found: its objects end in ".0", which the router does not have.
    h.form().session().interfaces().WanIfIndex = "0";
    update(h);
    EXPECT_EQ(h.form().statusText(), " Error: WAN interface not found");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(text(h, "WANStatus_Label"), "UP"); // the empty value matches no status
    EXPECT_EQ(colour(h, "WANStatus_Label"), 0x008000u);
    EXPECT_EQ(text(h, "WANLast_Label"), "----");
    EXPECT_EQ(text(h, "WANBytesIn_Label"), "----");
    EXPECT_EQ(text(h, "WANBytesOut_Label"), "----");
    EXPECT_EQ(text(h, "WANMtu_Label"), ""); // plain rows show the empty value
    EXPECT_EQ(text(h, "LANBytesIn_Label"), ".0000 Mb");

    // A counter the router sends as text.
    h.form().session().interfaces().WanIfIndex = "4";
    h.router().set(sim::ifOid(sim::IfInOctets, sim::PppIf), ber::OctetString, "n/a");
    update(h);
    EXPECT_EQ(h.form().statusText(), " Error: PPP IN value is not a number");
    EXPECT_EQ(text(h, "PPPBytesIn_Label"), "----");
    EXPECT_EQ(text(h, "WANBytesIn_Label"), ".0000 Mb");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
}

TEST(InterfacesPage, RealTimeTicksOnlyWhileThePageIsShown) {
    MainFormHarness h(quietRouter());
    auto* timer = h.find<QTimer>("Interfaces_Timer");
    const std::string lanStatus = sim::ifOid(sim::IfOperStatus, sim::LanIf);

    timer->start();
    h.router().clearRequestLog();
    h.form().Interfaces_TimerTimer(timer); // System page shown
    EXPECT_FALSE(asked(h.router(), lanStatus));

    showInterfaces(h);
    h.router().clearRequestLog();
    h.form().Interfaces_TimerTimer(timer);
    EXPECT_TRUE(asked(h.router(), lanStatus));

    timer->stop();
    h.router().clearRequestLog();
    h.form().Interfaces_TimerTimer(timer);
    EXPECT_FALSE(asked(h.router(), lanStatus));
}

TEST(InterfacesPage, RawInterfaceDumpIntoTheDebugLog) {
    MainFormHarness h(quietRouter());
    auto* pane = h.find<QPlainTextEdit>("DebugLog_Memo");
    ASSERT_NE(pane, nullptr);
    ASSERT_TRUE(paneLines(*pane).isEmpty());
    QStringList walk;
    ASSERT_TRUE(h.form().snmpWalk("1.3.6.1.2.1.2", walk));
    ASSERT_FALSE(walk.isEmpty());
    EXPECT_EQ(walk.first(), "\"5\""); // ifNumber first

    auto* button = h.find<QPushButton>("InterfaceTable_But");
    ASSERT_NE(button, nullptr);
    button->click();
    EXPECT_EQ(h.form().statusText(), " Ready");
    QStringList expected = QStringList{"Dump of raw Interface table", " "} + walk;
    EXPECT_EQ(paneLines(*pane), expected);

    // A second dump is set off by a blank line.
    button->click();
    expected += QStringList{" ", "Dump of raw Interface table", " "} + walk;
    EXPECT_EQ(paneLines(*pane), expected);

    // A failed walk leaves the pane alone, without a beep.
    h.router().setSilent(true);
    UiSeam::resetTestRecord();
    button->click();
    EXPECT_EQ(h.form().statusText(), kErr);
    EXPECT_EQ(UiSeam::beepCount(), 0);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(paneLines(*pane), expected);
}
