// The ADSL page of the real window against the router stand-in.
#include "support/DroppingAgent.h"
#include "support/MainFormHarness.h"

#include "monitor/ConnectionMonitor.h"

#include "ui/PaneText.h"
#include "ui/UiSeam.h"
#include "net/SnmpClient.h"
#include "net/core/SnmpBer.h"
#include "sim/RouterSim.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

const QString kErr = " Error: Check IP address and/or SNMP community name";

QTabWidget* sheets(MainFormHarness& h) {
    return h.find<QTabWidget>("ADSL_PageControl");
}

// The page's own widgets (the status bar has a label of the same name as the line status).
QString text(MainFormHarness& h, const char* name) {
    QWidget* wdg = sheets(h)->findChild<QWidget*>(QString::fromLatin1(name));
    EXPECT_NE(wdg, nullptr) << name;
    if (auto* l = qobject_cast<QLabel*>(wdg)) return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(wdg)) return e->text();
    return "<none>";
}

void showAdsl(MainFormHarness& h) {
    h.form().pageControl()->setCurrentWidget(h.find<QWidget>("ADSL"));
}
void showSystem(MainFormHarness& h) {
    h.form().pageControl()->setCurrentWidget(h.find<QWidget>("GenSysInfo"));
}
QPushButton* updateButton(MainFormHarness& h) {
    return h.find<QPushButton>("GetValues_But");
}
QString keyword(MainFormHarness& h) {
    return h.find<QTabWidget>("PageControl")->property("helpKeyword").toString();
}

const char* const kValueLabels[] = {"DownSpeed_Label", "DnAtten_Label", "DnOutPwr_Label", "DnSnr_Label",
                                    "UpSpeed_Label",   "UpAtten_Label", "UpOutPwr_Label", "UpSnr_Label",
                                    "User_Label",      "Pwd_Label",     "Mode_Label",     "Status_Label",
                                    "TxPkts_Label",    "RxPkts_Label"};

} // namespace

TEST(AdslPage, SheetsAndWidgets) {
    MainFormHarness h;
    QTabWidget* tabs = sheets(h);
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 3);
    EXPECT_EQ(tabs->tabText(0), "Connection Info");
    EXPECT_EQ(tabs->widget(0)->objectName(), "ADSLInfo_TabSheet");
    EXPECT_EQ(tabs->tabText(1), "Connection Log");
    EXPECT_EQ(tabs->widget(1)->objectName(), "ADSLLogTabSheet");
    EXPECT_EQ(tabs->tabText(2), "Default Connection Mode Log");

    auto* linkLog = tabs->widget(1)->findChild<QPlainTextEdit*>("LinkLog_Memo");
    ASSERT_NE(linkLog, nullptr);
    EXPECT_FALSE(linkLog->isReadOnly());
    EXPECT_EQ(linkLog->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(tabs->widget(1)->findChild<QPushButton*>("SaveLog_But")->text(), "Save log");
    EXPECT_EQ(tabs->widget(1)->findChild<QPushButton*>("ClearLog_But")->text(), "Clear log");
    EXPECT_NE(tabs->widget(2)->findChild<QPlainTextEdit*>("ADSLModeLog_Memo"), nullptr);

    for (const char* name : kValueLabels)
        EXPECT_EQ(text(h, name), "------") << name;
    for (const char* name : {"VPI_Edit", "VCI_Edit", "WanIpAddr_Edit"})
        EXPECT_EQ(text(h, name), "") << name;
    EXPECT_EQ(h.find<QPushButton>("SetVPI_But")->text(), "Set value");
    EXPECT_EQ(h.find<QPushButton>("SetVCI_But")->text(), "Set value");
    for (const char* name : {"AutoMode_RB", "GDMTMode_RB", "ANSIMode_RB"}) {
        ASSERT_NE(h.find<QRadioButton>(name), nullptr) << name;
        EXPECT_FALSE(h.find<QRadioButton>(name)->isChecked());
    }

    // The connection log's clear button is wired to the shared clear tool.
    linkLog->setPlainText("12:00 Disconnected");
    h.form().connectionMonitor().link().LinkLogChanged = true;
    tabs->widget(1)->findChild<QPushButton*>("ClearLog_But")->click();
    EXPECT_TRUE(paneLines(*linkLog).isEmpty());
    EXPECT_FALSE(h.form().connectionMonitor().link().LinkLogChanged);
}

TEST(AdslPage, RefreshShowsTheLineAsTheRouterReportsIt) {
    MainFormHarness h;
    sim::Router& r = h.router();
    r.setTraffic(sim::PppIf, 0, 0); // the packet counters hold still while the page reads them
    const std::string tx = r.get(sim::ifOid(sim::IfOutNUcastPkts, sim::PppIf))->second;
    const std::string rx = r.get(sim::ifOid(sim::IfInNUcastPkts, sim::PppIf))->second;
    sheets(h)->setCurrentIndex(2);
    showAdsl(h);

    EXPECT_EQ(sheets(h)->currentIndex(), 0); // showing the tab selects "Connection Info"
    EXPECT_EQ(keyword(h), "130.html");
    EXPECT_EQ(h.form().statusText(), " Ready");
    EXPECT_EQ(text(h, "DownSpeed_Label"), "8000 Kbps"); // the router sends "\"8000\""
    EXPECT_EQ(text(h, "UpSpeed_Label"), "832 Kbps");
    EXPECT_EQ(text(h, "DnAtten_Label"), "23.0 dB");
    EXPECT_EQ(text(h, "DnOutPwr_Label"), "19.6 dBm");
    EXPECT_EQ(text(h, "DnSnr_Label"), "11.5 dB");
    EXPECT_EQ(text(h, "UpAtten_Label"), "12.5 dB");
    EXPECT_EQ(text(h, "UpOutPwr_Label"), "12.1 dBm");
    EXPECT_EQ(text(h, "UpSnr_Label"), "24.0 dB");
    EXPECT_EQ(text(h, "User_Label"), "kestrel@isp.example");
    EXPECT_EQ(text(h, "Pwd_Label"), "wv7-tarn");
    EXPECT_EQ(text(h, "VPI_Edit"), "8");
    EXPECT_EQ(text(h, "VCI_Edit"), "35");
    EXPECT_EQ(text(h, "Mode_Label"), "G.DMT");
    EXPECT_EQ(text(h, "Status_Label"), "Showtime");
    EXPECT_EQ(text(h, "TxPkts_Label").toStdString(), tx);
    EXPECT_EQ(text(h, "RxPkts_Label").toStdString(), rx);
    EXPECT_EQ(text(h, "WanIpAddr_Edit"), "203.0.113.57");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);

    // Mode and status mappings, quotes removed wherever they are.
    struct Case {
        int mode, status;
        const char *modeText, *statusText;
    };
    for (const Case& c : {Case{0, 0, "Link down", "Idle"}, Case{1, 1, "ANSI", "Initialising"},
                          Case{2, 2, "G.LITE", "Showtime"}, Case{4, 9, "? [ 4 ]", "? [ 9 ]"}}) {
        r.setAdslMode(c.mode);
        r.setAdslStatus(c.status);
        updateButton(h)->click();
        EXPECT_EQ(text(h, "Mode_Label"), c.modeText);
        EXPECT_EQ(text(h, "Status_Label"), c.statusText);
    }
    r.set(mib::pppUser, ber::OctetString, "\"ke\"st\"rel\"");
    r.set(mib::adslDownRate, ber::OctetString, "\"80\"00\"");
    updateButton(h)->click();
    EXPECT_EQ(text(h, "User_Label"), "kestrel");
    EXPECT_EQ(text(h, "DownSpeed_Label"), "8000 Kbps");
    // The attenuation is shown as received, quotes included.
    r.set(mib::adslDownAttenuation, ber::OctetString, "\"23\"");
    updateButton(h)->click();
    EXPECT_EQ(text(h, "DnAtten_Label"), "\"23\" dB");
}

TEST(AdslPage, ReadsTheRowsInTableOrder) {
    MainFormHarness h;
    h.router().clearRequestLog();
    showAdsl(h);
    const std::string e = "1.3.6.1.4.1.171.11.30.";
    const std::vector<std::string> expected{e + "2.3.0",
                                            e + "2.26.0",
                                            e + "2.30.0",
                                            e + "2.28.0",
                                            e + "2.2.0",
                                            e + "2.25.0",
                                            e + "2.29.0",
                                            e + "2.27.0",
                                            e + "6.1.1.7.1",
                                            e + "6.1.1.8.1",
                                            e + "6.1.1.3.1",
                                            e + "6.1.1.4.1",
                                            e + "2.1.0",
                                            e + "2.5.0",
                                            sim::ifOid(18, sim::PppIf),
                                            sim::ifOid(12, sim::PppIf),
                                            e + "4.1.1.2.2"};
    EXPECT_EQ(h.router().requestLog(), expected);
}

TEST(AdslPage, SetWithAFailedReadBackLeavesNoBusyStatus) {
    MainFormHarness h;
    showAdsl(h);
    auto* vpi = h.find<QLineEdit>("VPI_Edit");
    DroppingAgent drop(h.router());
    ASSERT_TRUE(drop.start());
    h.setSnmpPort(drop.port());
    // The set goes through; the read-back that follows gets no answer.
    drop.setRule(
        [](const std::string& name, int pduType) { return name == mib::vpi && pduType == ber::GetRequest; });
    UiSeam::resetTestRecord();
    vpi->setText("9");
    h.find<QPushButton>("SetVPI_But")->click();
    h.setSnmpPort(h.port());
    EXPECT_EQ(h.router().get(mib::vpi)->second, "9");
    EXPECT_EQ(vpi->text(), "9"); // the edit keeps its text
    EXPECT_EQ(h.form().statusText(), " Error: The value was set but could not be read back");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(UiSeam::beepCount(), 0);
}

TEST(AdslPage, PasswordHiddenWhenShowIsUnchecked) {
    MainFormHarness h;
    auto* pwd = h.find<QLabel>("Pwd_Label");
    auto* show = h.find<QAction>("ShowPwd");
    ASSERT_TRUE(show->isChecked());
    showAdsl(h);
    EXPECT_FALSE(pwd->isHidden());

    show->setChecked(false); // the menu's own handler is not involved: the refresh hides it
    pwd->setHidden(false);
    updateButton(h)->click();
    EXPECT_TRUE(pwd->isHidden());
    EXPECT_EQ(pwd->text(), "wv7-tarn");

    show->setChecked(true);
    updateButton(h)->click();
    EXPECT_TRUE(pwd->isHidden()); // showing it again is the menu's business
}

TEST(AdslPage, SubTabsSetHelpKeywordsAndTheUpdateButton) {
    MainFormHarness h;
    showAdsl(h);
    QTabWidget* tabs = sheets(h);
    tabs->setCurrentIndex(1);
    EXPECT_FALSE(updateButton(h)->isEnabled());
    EXPECT_EQ(keyword(h), "130.html#adslconnectionlog");
    EXPECT_EQ(h.find<QPushButton>("Help_But")->property("helpKeyword").toString(),
              "130.html#adslconnectionlog");
    EXPECT_EQ(updateButton(h)->property("helpKeyword").toString(), "130.html#adslconnectionlog");
    tabs->setCurrentIndex(2);
    EXPECT_FALSE(updateButton(h)->isEnabled());
    EXPECT_EQ(keyword(h), "130.html#defaultconnectionmodelog");
    tabs->setCurrentIndex(0);
    EXPECT_TRUE(updateButton(h)->isEnabled());
    EXPECT_EQ(keyword(h), "130.html");

    // "&Update" refreshes without switching sub-tabs or help keywords.
    tabs->setCurrentIndex(2);
    h.router().setAdslMode(1);
    h.form().ADSLClick(updateButton(h));
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(keyword(h), "130.html#defaultconnectionmodelog");
    EXPECT_EQ(text(h, "Mode_Label"), "ANSI");

    // Leaving the page and coming back selects "Connection Info" again.
    showSystem(h);
    showAdsl(h);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(updateButton(h)->isEnabled());

    // A sub-tab switched while another page is shown leaves that page's buttons alone.
    showSystem(h);
    tabs->setCurrentIndex(2);
    EXPECT_TRUE(updateButton(h)->isEnabled());
    EXPECT_EQ(keyword(h), "110.html");
}

TEST(AdslPage, SetVpiAndVci) {
    MainFormHarness h;
    showAdsl(h);
    auto* vpi = h.find<QLineEdit>("VPI_Edit");
    auto* vci = h.find<QLineEdit>("VCI_Edit");

    vpi->setText("42");
    h.find<QPushButton>("SetVPI_But")->click();
    EXPECT_EQ(h.router().get(mib::vpi)->second, "42");
    EXPECT_EQ(vpi->text(), "42");
    EXPECT_EQ(h.form().statusText(), " Ready");

    // An error response counts as success: the read-back shows what the router holds.
    vci->setText("70000");
    h.find<QPushButton>("SetVCI_But")->click();
    EXPECT_EQ(vci->text(), "35");
    EXPECT_EQ(h.form().statusText(), " Ready");
    // A text that is no integer is sent as 0.
    vci->setText("abc");
    h.find<QPushButton>("SetVCI_But")->click();
    EXPECT_EQ(vci->text(), "0");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
}

TEST(AdslPage, SetFailsWithAReadOnlyCommunity) {
    MainFormHarness h;
    showAdsl(h);
    const QString user = text(h, "User_Label");
    auto* vpi = h.find<QLineEdit>("VPI_Edit");
    auto* vci = h.find<QLineEdit>("VCI_Edit");
    h.find<QLineEdit>("Community_Edit")->setText("public");
    UiSeam::resetTestRecord();

    vci->setText("99");
    h.find<QPushButton>("SetVCI_But")->click();
    EXPECT_EQ(vci->text(), "Set failed");
    EXPECT_EQ(h.form().statusText(), " Error: Is \"public\" community writable?");
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(vpi->text(), "8");
    EXPECT_EQ(text(h, "User_Label"), user);
    EXPECT_EQ(h.router().get(mib::vci)->second, "35");

    vpi->setText("1");
    h.find<QPushButton>("SetVPI_But")->click();
    EXPECT_EQ(vpi->text(), "Set failed");
    EXPECT_EQ(vci->text(), "Set failed");
    EXPECT_EQ(UiSeam::beepCount(), 2);
}

TEST(AdslPage, FailuresAndPacketCountsThatAreNoNumbers) {
    MainFormHarness h;
    showAdsl(h);
    const QString mode = text(h, "Mode_Label");

    h.router().setSilent(true);
    h.router().setAdslMode(1);
    UiSeam::resetTestRecord();
    updateButton(h)->click();
    EXPECT_EQ(h.form().statusText(), kErr);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(text(h, "Mode_Label"), mode);
    h.router().setSilent(false);

    // No PPP interface known: its counters are objects the router does not have.
    h.form().session().interfaces().PppIfIndex = "0";
    updateButton(h)->click();
    EXPECT_EQ(h.form().statusText(), " Error: PPP interface not found: no packet counts");
    EXPECT_EQ(text(h, "TxPkts_Label"), "------");
    EXPECT_EQ(text(h, "RxPkts_Label"), "------");
    EXPECT_EQ(text(h, "Mode_Label"), "ANSI"); // the other rows were read
    EXPECT_EQ(text(h, "WanIpAddr_Edit"), "203.0.113.57");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);

    h.form().session().interfaces().PppIfIndex = "3";
    h.router().set(sim::ifOid(sim::IfOutNUcastPkts, sim::PppIf), ber::OctetString, "many");
    h.router().set(sim::ifOid(sim::IfInNUcastPkts, sim::PppIf), ber::Counter, "4294967295");
    updateButton(h)->click();
    EXPECT_EQ(h.form().statusText(), " Error: PPP packet count is not a number");
    EXPECT_EQ(text(h, "TxPkts_Label"), "------");
    EXPECT_EQ(text(h, "RxPkts_Label"), "4294967295");
}
