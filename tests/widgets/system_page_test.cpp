// The System page against the router stand-in: refresh, interface discovery, the three set actions.
#include "support/MainFormHarness.h"

#include "ui/UiSeam.h"
#include "net/SnmpClient.h"
#include "net/core/SnmpBer.h"
#include "net/snmp_scripted_responder.h"
#include "support/DroppingAgent.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

const QString kReadError = " Error: Check IP address and/or SNMP community name";
constexpr const char* kIfDescrPrefix = "1.3.6.1.2.1.2.2.1.2.";

int ifDescrReads(const std::vector<std::string>& log) {
    int n = 0;
    for (const auto& name : log)
        n += name.rfind(kIfDescrPrefix, 0) == 0;
    return n;
}

QStringList messageTexts() {
    QStringList out;
    for (const auto& m : UiSeam::messages())
        out << m.text;
    return out;
}

QString label(MainFormHarness& h, const char* name) {
    return h.find<QLabel>(name)->text();
}
QLineEdit* edit(MainFormHarness& h, const char* name) {
    return h.find<QLineEdit>(name);
}

// A router whose sysUpTime stays where it is put.
void fixedUptime(sim::Router& r, const std::string& ticks, int tag = ber::TimeTicks) {
    r.erase(mib::sysUpTime);
    r.set(mib::sysUpTime, tag, ticks);
}

} // namespace

TEST(SystemPage, HasEveryWidgetWithItsCaption) {
    MainFormHarness h;
    auto* group = h.find<QGroupBox>("Communication_GBox");
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), " Communication settings ");
    EXPECT_EQ(group->findChild<QLineEdit*>("IpAddress_Edit"), edit(h, "IpAddress_Edit"));
    EXPECT_EQ(group->findChild<QLineEdit*>("Community_Edit"), edit(h, "Community_Edit"));
    auto* defaults = group->findChild<QPushButton*>("GenSysInfoDeafults_But");
    ASSERT_NE(defaults, nullptr);
    EXPECT_EQ(defaults->text(), "Reset defaults");
    EXPECT_EQ(defaults->toolTip(), "Resets to 192.168.0.1 and quorbex");
    for (const char* b : {"SetContactBut", "SetDomainBut", "SetLocationBut"})
        EXPECT_EQ(h.find<QPushButton>(b)->text(), "Set value") << b;
    EXPECT_EQ(h.find<QPushButton>("CopyToClipboard_But")->text(), "&Copy to clipboard");
    EXPECT_TRUE(h.find<QLabel>("RouterDesc_Label")->wordWrap());

    QStringList captions;
    for (QLabel* l : h.find<QWidget>("GenSysInfo")->findChildren<QLabel*>())
        if (l->objectName().isEmpty()) captions << l->text();
    for (const char* c : {"Router IP address", "Router SNMP community name",
                          "Firmware:", "Router uptime: ", "Description: ", "Router contact name",
                          "Router fully qualified domain name", "Router location"})
        EXPECT_TRUE(captions.contains(c)) << c;

    // Before any answer the labels show their initial texts.
    MainFormHarness::Options silent;
    silent.setupRouter = [](sim::Router& r) { r.setSilent(true); };
    MainFormHarness quiet(silent);
    EXPECT_EQ(label(quiet, "firmware_ver_label"), "-----");
    EXPECT_EQ(label(quiet, "uptime_label"), "----");
    EXPECT_EQ(label(quiet, "RouterDesc_Label"), "-----");
}

TEST(SystemPage, RefreshFillsThePageAndFindsTheInterfacesAtRowsOneThreeAndFour) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) {
        fixedUptime(r, "26523456");
        r.set(mib::sysContact, ber::OctetString, "\"Joe \"the\" admin\"");
        r.set(mib::sysName, ber::OctetString, "router.example");
        r.set(mib::sysLocation, ber::OctetString, "\"Attic\"");
        r.set(mib::sysDescr, ber::OctetString, "Kestrune \"ADSL\" router");
        r.set(mib::firmware, ber::OctetString, "V1.00B02T02.EU.20040610");
    };
    MainFormHarness h(o);
    TMainForm& f = h.form();
    EXPECT_EQ(f.session().interfaces().IfNumber, 5);
    EXPECT_EQ(f.session().interfaces().LanIfIndex, "1");
    EXPECT_EQ(f.session().interfaces().PppIfIndex, "3");
    EXPECT_EQ(f.session().interfaces().WanIfIndex, "4");
    EXPECT_EQ(f.session().interfaces().LanIfIndexValue, "1");
    EXPECT_EQ(f.session().interfaces().PppIfIndexValue, "3");
    EXPECT_EQ(f.session().interfaces().WanIfIndexValue, "4");
    EXPECT_TRUE(UiSeam::messages().empty()) << messageTexts().join(" | ").toStdString();
    EXPECT_EQ(label(h, "firmware_ver_label"), "V1.00B02T02.EU.20040610");
    EXPECT_EQ(label(h, "uptime_label"), "03 days 01 hours 40 mins 34 secs");
    EXPECT_EQ(label(h, "RouterDesc_Label"), "Kestrune \"ADSL\" router"); // as received
    EXPECT_EQ(edit(h, "Contact_Edit")->text(), "Joe the admin");         // every quote removed
    EXPECT_EQ(edit(h, "Domain_Edit")->text(), "router.example");
    EXPECT_EQ(edit(h, "Location_Edit")->text(), "Attic");
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(UiSeam::beepCount(), 0);

    // Once all three are found, a refresh reads no ifDescr at all.
    h.router().clearRequestLog();
    f.GenSysInfoClick();
    const auto log = h.router().requestLog();
    EXPECT_EQ(ifDescrReads(log), 0);
    EXPECT_EQ(log.front(), "1.3.6.1.2.1.2.1.0");
    EXPECT_EQ(log,
              (std::vector<std::string>{"1.3.6.1.2.1.2.1.0", mib::firmware, mib::sysUpTime, mib::sysDescr,
                                        mib::sysContact, mib::sysName, mib::sysLocation}));
}

TEST(SystemPage, DescriptionsMatchExactlyAndTheLastMatchingRowWins) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) {
        r.setIfDescr(1, "Ethernet");  // capital letter: no match
        r.setIfDescr(2, "ethernet "); // trailing blank: no match
        r.setIfDescr(5, "ppp1");      // a second WAN description: the later row wins
        r.erase(sim::ifOid(1, 5));    // ...whose ifIndex cannot be read
    };
    MainFormHarness h(o);
    TMainForm& f = h.form();
    EXPECT_EQ(f.session().interfaces().LanIfIndex, "0");
    EXPECT_EQ(f.session().interfaces().PppIfIndex, "3");
    EXPECT_EQ(f.session().interfaces().WanIfIndex, "5");
    EXPECT_EQ(f.session().interfaces().WanIfIndexValue, ""); // the row is found all the same
    EXPECT_EQ(f.session().interfaces().PppIfIndexValue, "3");
    EXPECT_EQ(messageTexts(), QStringList{"Error: Unable to find LAN interface"});
    EXPECT_EQ(f.statusText(), " Ready");
    // Each pass reads every description: 3 x 5 reads.
    EXPECT_EQ(ifDescrReads(h.router().requestLog()), 15);

    // Not all found: the next refresh searches again and keeps what it found.
    h.router().setIfDescr(2, "ethernet");
    h.router().clearRequestLog();
    UiSeam::resetTestRecord();
    f.GenSysInfoClick();
    EXPECT_EQ(f.session().interfaces().LanIfIndex, "2");
    EXPECT_EQ(f.session().interfaces().WanIfIndex, "5");
    EXPECT_EQ(ifDescrReads(h.router().requestLog()), 15);
    EXPECT_TRUE(UiSeam::messages().empty());
}

TEST(SystemPage, ARouterWithoutInterfacesShowsAllThreeMessages) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.set(mib::ifNumber, ber::Integer, "0"); };
    MainFormHarness h(o);
    EXPECT_EQ(h.form().session().interfaces().IfNumber, 0);
    EXPECT_EQ(messageTexts(),
              (QStringList{"Error: Unable to find LAN interface", "Error: Unable to find PPP interface",
                           "Error: Unable to find WAN interface"}));
    EXPECT_EQ(h.form().statusText(), " Ready");
}

TEST(SystemPage, AnUnansweredIfNumberEndsTheRefreshWithTheErrorAndABeep) {
    MainFormHarness h;
    TMainForm& f = h.form();
    edit(h, "Contact_Edit")->setText("typed");
    h.router().setSilent(true);
    h.router().clearRequestLog();
    const int beeps = UiSeam::beepCount();
    f.GenSysInfoClick();
    EXPECT_EQ(f.statusText(), kReadError);
    EXPECT_EQ(UiSeam::beepCount(), beeps + 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(edit(h, "Contact_Edit")->text(), "typed");
    EXPECT_EQ(h.form().pageControl()->property("helpKeyword").toString(), "110.html");
}

TEST(SystemPage, DiscoveryGivesUpOnceTheRouterGoesSilentAfterAHugeIfNumber) {
    MainFormHarness h;
    TMainForm& f = h.form();
    h.router().set(mib::ifNumber, ber::Integer, "2000000000");
    f.session().interfaces().LanIfIndex = "0";
    DroppingAgent drop(h.router());
    ASSERT_TRUE(drop.start());
    drop.setRule([](const std::string& name, int) { return name.rfind(kIfDescrPrefix, 0) == 0; });
    h.setSnmpPort(drop.port());
    UiSeam::resetTestRecord();
    f.GenSysInfoClick();
    h.setSnmpPort(h.port());
    EXPECT_EQ(drop.dropped(), 3);
    EXPECT_EQ(f.statusText(), kReadError);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_TRUE(messageTexts().isEmpty()); // no interface reported missing: the search did not finish

    // Reads answered with an error status still only skip their rows.
    h.router().set(mib::ifNumber, ber::Integer, "40");
    f.session().interfaces().LanIfIndex = "0";
    h.router().clearRequestLog();
    f.GenSysInfoClick();
    EXPECT_EQ(ifDescrReads(h.router().requestLog()), 3 * 40);
    EXPECT_EQ(f.statusText(), " Ready");
}

TEST(SystemPage, AnIfNumberOrUptimeThatIsNoNumberEndsTheRefreshWithAClearStatusLine) {
    {
        MainFormHarness::Options o;
        o.setupRouter = [](sim::Router& r) { r.set(mib::ifNumber, ber::OctetString, "five"); };
        MainFormHarness h(o);
        EXPECT_EQ(h.form().statusText(), " Error: The router's interface count (ifNumber) is not a number");
        EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
        EXPECT_EQ(UiSeam::beepCount(), 1);
        EXPECT_EQ(h.router().requestLog(), std::vector<std::string>{"1.3.6.1.2.1.2.1.0"});
        EXPECT_TRUE(UiSeam::messages().empty());
    }
    // Only plain decimal digits make a count: no hexadecimal, no blanks.
    for (const char* notDecimal : {"0x5", " 5", "5 "}) {
        MainFormHarness::Options o;
        o.setupRouter = [&](sim::Router& r) { r.set(mib::ifNumber, ber::OctetString, notDecimal); };
        MainFormHarness h(o);
        EXPECT_EQ(h.form().statusText(), " Error: The router's interface count (ifNumber) is not a number")
            << notDecimal;
        EXPECT_EQ(h.form().session().interfaces().IfNumber, 0) << notDecimal;
    }
    {
        MainFormHarness h;
        h.router().erase(mib::sysUpTime); // answered with an error status and an empty value
        h.router().set(mib::firmware, ber::OctetString, "new firmware");
        h.router().set(mib::sysDescr, ber::OctetString, "new description");
        const QString uptime = label(h, "uptime_label");
        const QString description = label(h, "RouterDesc_Label");
        const int beeps = UiSeam::beepCount();
        h.form().GenSysInfoClick();
        EXPECT_EQ(h.form().statusText(), " Error: The router's uptime (sysUpTime) is not a number");
        EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
        EXPECT_EQ(UiSeam::beepCount(), beeps + 1);
        EXPECT_EQ(label(h, "uptime_label"), uptime);
        EXPECT_EQ(label(h, "firmware_ver_label"), "new firmware");
        EXPECT_EQ(label(h, "RouterDesc_Label"), description); // the refresh did not go on
    }
}

TEST(SystemPage, FailedReadsAfterIfNumberLeaveTheirWidgetsUnreported) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) {
        r.erase(mib::firmware);
        r.erase(mib::sysLocation);
    };
    MainFormHarness h(o);
    EXPECT_EQ(h.form().statusText(), " Ready");
    EXPECT_EQ(UiSeam::beepCount(), 0);
    EXPECT_NE(edit(h, "Contact_Edit")->text(), "");
}

TEST(SystemPage, SetActionsSendTheTextInQuotesAndShowWhatTheRouterHolds) {
    MainFormHarness h;
    TMainForm& f = h.form();
    edit(h, "Contact_Edit")->setText("Room 12");
    h.find<QPushButton>("SetContactBut")->click();
    const auto held = h.router().get(mib::sysContact);
    ASSERT_TRUE(held);
    EXPECT_EQ(held->first, ber::OctetString);
    EXPECT_EQ(held->second, "\"Room 12\""); // 9 bytes
    EXPECT_EQ(held->second.size(), 9u);
    EXPECT_EQ(edit(h, "Contact_Edit")->text(), "Room 12");
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);

    edit(h, "Domain_Edit")->setText("a \"quoted\" name");
    h.find<QPushButton>("SetDomainBut")->click();
    EXPECT_EQ(h.router().get(mib::sysName)->second, "\"a \"quoted\" name\"");
    EXPECT_EQ(edit(h, "Domain_Edit")->text(), "a quoted name");

    edit(h, "Location_Edit")
        ->setText(QString::fromUtf8("K\xc3\xbc"
                                    "che"));
    h.find<QPushButton>("SetLocationBut")->click();
    EXPECT_EQ(h.router().get(mib::sysLocation)->second, "\"K\xc3\xbc"
                                                        "che\"");
    EXPECT_EQ(edit(h, "Location_Edit")->text(), QString::fromUtf8("K\xc3\xbc"
                                                                  "che"));
    EXPECT_EQ(UiSeam::beepCount(), 0);
}

TEST(SystemPage, SetsWithAReadOnlyCommunityFailWithTheirTwoQuestions) {
    MainFormHarness::Options o;
    o.settings = {{"System Info Settings", "Community", "public"}};
    MainFormHarness h(o);
    TMainForm& f = h.form();
    ASSERT_EQ(f.session().interfaces().IfNumber, 5); // "public" reads
    const auto before = h.router().get(mib::sysContact);

    edit(h, "Contact_Edit")->setText("Room 12");
    h.find<QPushButton>("SetContactBut")->click();
    EXPECT_EQ(edit(h, "Contact_Edit")->text(), "Set failed");
    EXPECT_EQ(f.statusText(), " Error: Is the \"public\" community name writable?");
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(h.router().get(mib::sysContact), before);

    h.find<QPushButton>("SetDomainBut")->click();
    EXPECT_EQ(edit(h, "Domain_Edit")->text(), "Set failed");
    EXPECT_EQ(f.statusText(), " Error: Is \"public\" community writable?");

    h.find<QPushButton>("SetLocationBut")->click();
    EXPECT_EQ(edit(h, "Location_Edit")->text(), "Set failed");
    EXPECT_EQ(f.statusText(), " Error: Is the \"public\" community name writable?");
    EXPECT_EQ(UiSeam::beepCount(), 3);
}

TEST(SystemPage, ASetWhoseReadBackFailsKeepsTheTypedTextAndEndsTheBusyStatus) {
    MainFormHarness h;
    // A peer that acknowledges sets and never answers a get.
    ScriptedResponder peer([](const TSNMPRec& request, const std::string&) -> std::vector<std::string> {
        if (request.PDUType != ber::SetRequest) return {};
        return {ScriptedResponder::Response(request, request.MIBList)};
    });
    h.setSnmpPort(peer.port());
    edit(h, "Location_Edit")->setText("Shed");
    h.find<QPushButton>("SetLocationBut")->click();
    h.setSnmpPort(h.port());
    EXPECT_EQ(edit(h, "Location_Edit")->text(), "Shed");
    EXPECT_EQ(h.form().statusText(), " Error: The value was set but could not be read back");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    const auto seen = peer.seen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].request.PDUType, ber::SetRequest);
    EXPECT_EQ(seen[0].request.MIBList.at(0).Value, "\"Shed\"");
    EXPECT_EQ(seen[1].request.PDUType, ber::GetRequest);

    // No answer to the set itself: the failure path.
    h.router().setSilent(true);
    edit(h, "Location_Edit")->setText("Barn");
    h.form().SetLocationButClick(nullptr);
    EXPECT_EQ(edit(h, "Location_Edit")->text(), "Set failed");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
}

TEST(SystemPage, ResetDefaultsChangesOnlyTheTwoEditsEvenWithTheRouterUnreachable) {
    MainFormHarness h;
    TMainForm& f = h.form();
    h.router().setSilent(true);
    edit(h, "Community_Edit")->setText("other");
    f.setStatus(" unchanged");
    const auto datagrams = h.router().datagramsReceived();
    h.find<QPushButton>("GenSysInfoDeafults_But")->click();
    EXPECT_EQ(edit(h, "IpAddress_Edit")->text(), "192.168.0.1");
    EXPECT_EQ(edit(h, "Community_Edit")->text(), "quorbex");
    EXPECT_EQ(f.statusText(), " unchanged");
    EXPECT_EQ(UiSeam::beepCount(), 0);
    // Back to the stand-in before anything could send a request to the default address.
    edit(h, "IpAddress_Edit")->setText("127.0.0.1");
    EXPECT_EQ(h.router().datagramsReceived(), datagrams);
}

TEST(SystemPage, CopyToClipboardCopiesFirmwareAndDescription) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) {
        r.set(mib::firmware, ber::OctetString, "FW 1");
        r.set(mib::sysDescr, ber::OctetString, "Desc 2");
    };
    MainFormHarness h(o);
    h.find<QPushButton>("CopyToClipboard_But")->click();
    EXPECT_EQ(UiSeam::clipboardText(), "FW 1\nDesc 2");
}

TEST(SystemPage, RouterTextsThatAreNotUtf8ShowEveryByte) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) {
        r.set(mib::sysDescr, ber::OctetString, std::string("Caf\xe9\x01", 5));
    };
    MainFormHarness h(o);
    const QString d = label(h, "RouterDesc_Label");
    ASSERT_EQ(d.size(), 5);
    EXPECT_EQ(d[3].unicode(), 0xe9);
    EXPECT_EQ(d[4].unicode(), 0x01);
}
