// The window's command-line jobs, Misc page and event-log transfer against the stand-in's SNMP
// agent, command line and TFTP upload, all on loopback.
#include "app/TelnetParts.h"
#include "eventlog/core/EventLogNames.h"
#include "net/LocalAddress.h"
#include "net/TftpServer.h"
#include "sim/Hostile.h"
#include "sim/TelnetService.h"
#include "sim/TftpUploader.h"
#include "support/MainFormHarness.h"
#include "support/PageTestHelpers.h"
#include "support/UdpPeer.h"
#include "ui/Clock.h"
#include "ui/UiSeam.h"
#include "views/SystemPage.h"
#include "windows/Dir_Unit.h"
#include "windows/Splash_Unit.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using pagetest::lines;
using pagetest::showPage;
using testsupport::MainFormHarness;

namespace {

class TelnetWindowTest : public testing::Test {
protected:
    std::unique_ptr<MainFormHarness> h;
    std::uint16_t tftpPort = UdpPeer::freePort();

    // The window created with telnet on start-up on or off, its session on the stand-in's line.
    TMainForm& make(bool telnetAtStartup, const std::function<void(sim::TelnetService&)>& setup = {}) {
        h.reset(); // one harness at a time: each restores the working directory and the SNMP port
        MainFormHarness::Options o;
        o.createForm = false;
        if (telnetAtStartup) o.settings.push_back({"Options", "Telnet on startup", "Enabled"});
        o.network.tftp.port = tftpPort;
        h = std::make_unique<MainFormHarness>(o);
        if (setup) setup(h->telnet());
        TMainForm& f = h->createForm();
        f.telnet().jobs.session().setTickIntervalMs(20); // the jobs' time-outs in ticks
        return f;
    }
    void TearDown() override { h.reset(); }
    sim::TelnetService& line() { return h->telnet(); }
    template <class T> T* find(const char* name) { return h->find<T>(name); }
    QStringList status() { return lines(h->form(), "Status_Memo"); }
    static int splashes() {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            n += qobject_cast<TSplashForm*>(w) != nullptr;
        return n;
    }
    // Runs `during` while a job on a silent line waits for its time-out.
    void whileBusy(const std::function<void()>& during) {
        line().setSilent(true);
        QTimer::singleShot(40, during);
        find<QPushButton>("SetADSLMode_But")->click();
        line().setSilent(false);
    }
};

} // namespace

TEST_F(TelnetWindowTest, StartupReadsTheModeBehindTheSplashOrDisablesTelnet) {
    TMainForm& f = make(true, [](sim::TelnetService& s) { s.setDefaultMode("dmt"); });
    EXPECT_TRUE(f.adsl().widgets().GDMTMode_RB->isChecked());
    EXPECT_EQ(lines(f, "ADSLModeLog_Memo").first(), "Retrieving ADSL mode ...");
    EXPECT_EQ(splashes(), 0);

    TMainForm& g = make(true, [](sim::TelnetService& s) { s.setSilent(true); });
    ASSERT_EQ(UiSeam::messages().size(), 1u);
    EXPECT_TRUE(UiSeam::messages()[0].text.startsWith("Telnet is not responding!"));
    EXPECT_TRUE(g.ui.menu.TelnetDisabled->isChecked() && !g.ui.menu.TelnetEnabled->isChecked());
    EXPECT_EQ(splashes(), 0);
}

TEST_F(TelnetWindowTest, ModeAndPasswordJobsAndTheCommunityFollowingThePassword) {
    TMainForm& f = make(false);
    f.adsl().widgets().GDMTMode_RB->setChecked(true);
    find<QPushButton>("SetADSLMode_But")->click();
    EXPECT_EQ(line().defaultMode(), "dmt");
    EXPECT_TRUE(lines(f, "ADSLModeLog_Memo").contains("Configuration saved"));

    showPage(f, "Misc");
    EXPECT_EQ(f.misc().widgets().CurPwd_Edit->text(), "quorbex");
    f.misc().widgets().NewPwd_Edit->setText("newsecret");
    find<QPushButton>("SetPwd_But")->click();
    EXPECT_EQ(f.system().widgets().Community_Edit->text(), "newsecret");
    EXPECT_EQ(f.misc().widgets().CurPwd_Edit->text(), "newsecret");
    f.GenSysInfoClick(); // SNMP goes on with the new secret
    EXPECT_EQ(f.statusText(), " Ready");
}

TEST_F(TelnetWindowTest, PasswordJobWithoutConfirmationEndsOnThePasswordTheRouterHolds) {
    struct Case {
        const char* name;
        std::function<void(sim::TelnetService&)> script;
        const char* holds; // the router's password afterwards
    };
    const Case cases[] = {
        // Every reply cut in two: the confirmation comes after the job's 15 ticks, the change before.
        {"split", [](sim::TelnetService& s) { s.setSplitPhrases(true); }, "newsecret"},
        {"silent", [](sim::TelnetService& s) { s.setSilent(true); }, "quorbex"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMainForm& f = make(false, c.script);
        showPage(f, "Misc");
        f.misc().widgets().NewPwd_Edit->setText("newsecret");
        find<QPushButton>("SetPwd_But")->click();
        EXPECT_EQ(h->router().writeCommunity(), c.holds);
        EXPECT_EQ(f.endpoint().community().toStdString(), h->router().writeCommunity());
        EXPECT_EQ(f.misc().widgets().CurPwd_Edit->text().toStdString(), h->router().writeCommunity());
        EXPECT_EQ(status().contains("The password was not changed."), std::string(c.holds) == "quorbex");
    }
}

TEST_F(TelnetWindowTest, AFailedModeJobShowsTheModeLastReadFromTheRouter) {
    struct Case {
        const char* name;
        std::function<void(TMainForm&, MainFormHarness&)> breakLine;
    };
    const Case cases[] = {
        {"time-out", [](TMainForm&, MainFormHarness& h) { h.telnet().setSilent(true); }},
        {"line closed",
         [](TMainForm&, MainFormHarness& h) { h.router().setHostile(sim::Service::Telnet, "close"); }},
        {"refused",
         [](TMainForm& f, MainFormHarness&) { f.telnet().jobs.session().IdTelnetClient.setPort(1); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMainForm& f = make(true, [](sim::TelnetService& s) { s.setDefaultMode("dmt"); });
        ASSERT_TRUE(f.adsl().widgets().GDMTMode_RB->isChecked());
        c.breakLine(f, *h);
        f.adsl().widgets().ANSIMode_RB->setChecked(true);
        find<QPushButton>("SetADSLMode_But")->click();
        EXPECT_EQ(line().defaultMode(), "dmt");
        EXPECT_TRUE(f.adsl().widgets().GDMTMode_RB->isChecked())
            << lines(f, "ADSLModeLog_Memo").join('|').toStdString();
        EXPECT_FALSE(f.adsl().widgets().ANSIMode_RB->isChecked());
    }
}

TEST_F(TelnetWindowTest, EventLogTransferStoresTheFileNamedByTheTime) {
    TMainForm& f = make(false);
    // Room for a loaded machine: the job may wait 1.4 s for the router's word, and the first request
    // is sent again after 100 ms should the receiver, started by the click, not be listening yet.
    f.telnet().jobs.session().setTickIntervalMs(200);
    const std::string content = sim::GenerateEventLog(1500);
    line().setEventLogPut([&](const std::string& address, const std::string& file) {
        return sim::uploadEventLog(address, tftpPort, file, {content, sim::TftpUploadMode::Normal, 100, 14});
    });
    Clock::setNow(QDateTime(QDate(2005, 3, 14), QTime(9, 30, 12)));
    ASSERT_TRUE(QDir(h->dir()).mkpath("logs"));
    f.misc().widgets().Dir_Edit->setText(h->dir() + "/logs");
    f.misc().widgets().PCIP_Edit->setText("127.0.0.1");

    find<QPushButton>("TelnetEventLog_But")->click();
    // The router reports the upload complete on the last acknowledgement; the receiver stores the file
    // just after that, and says so in the pane.
    QFile stored(h->dir() + "/logs/event050314_0930.log");
    for (int i = 0; i < 200 && !status().contains("File succesfully written."); ++i)
        QTest::qWait(25);
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly)) << status().join('|').toStdString();
    EXPECT_EQ(stored.readAll().toStdString(), content);
    const QStringList s = status();
    EXPECT_TRUE(s.first().startsWith("Manual transfer of eventlog at "));
    for (const char* line :
         {"File transfer started ...", "File succesfully written.", "File transfer completed"})
        EXPECT_TRUE(s.contains(line)) << line;
    EXPECT_TRUE(f.misc().widgets().TelnetEventLog_But->isEnabled());

    // The same minute again: the first file stays.
    f.EventLog_TimerTimer(f.ui.timers.EventLog_Timer);
    EXPECT_TRUE(status().first().startsWith("Automatic transfer of eventlog at "));
    EXPECT_TRUE(status().contains("File already exists!"));
}

TEST_F(TelnetWindowTest, EventLogRefusalsAndTheComputerAddressFoundFirst) {
    TMainForm& f = make(false);
    QStringList manual, automatic;
    whileBusy([&] {
        f.misc().widgets().TelnetEventLog_But->click();
        manual = status();
        f.EventLog_TimerTimer(f.ui.timers.EventLog_Timer);
        automatic = status();
    });
    EXPECT_EQ(manual, (QStringList{"Another telnet session is in progress!",
                                   "Please try again in a few seconds :)"}));
    ASSERT_EQ(automatic.size(), 2);
    EXPECT_TRUE(automatic[1].startsWith("Waiting ...") && automatic[1].size() > 11);
    EXPECT_NE(f.telnet().eventLog.receiver(), nullptr); // started by the refused first attempt

    const int sessions = line().sessionCount();
    f.misc().widgets().Dir_Edit->clear();
    f.misc().widgets().TelnetEventLog_But->click();
    EXPECT_EQ(status(), QStringList{"Please choose a directory to save the event log to."});
    EXPECT_EQ(line().sessionCount(), sessions);

    std::string asked;
    line().setEventLogPut([&](const std::string& address, const std::string&) {
        asked = address;
        return std::string(sim::UploadDoneText); // nothing is sent anywhere
    });
    f.misc().widgets().Dir_Edit->setText(h->dir());
    ASSERT_EQ(f.misc().widgets().PCIP_Edit->text(), "----------");
    f.misc().widgets().TelnetEventLog_But->click();
    const std::string own = eventlog::ChooseComputerAddress(localaddress::HostNameAddresses(),
                                                            localaddress::RouteTo("127.0.0.1"));
    if (own.empty()) {
        EXPECT_EQ(status(), QStringList{"No IP address of this computer found ... transfer aborted!"});
    } else {
        EXPECT_EQ(asked, own);
        EXPECT_EQ(f.misc().widgets().PCIP_Edit->text().toStdString(), own);
    }
}

TEST_F(TelnetWindowTest, MiscPageRefreshAndRouterAddressChange) {
    TMainForm& f = make(false);
    showPage(f, "Misc");
    const MiscPageWidgets& m = f.misc().widgets();
    EXPECT_EQ(m.CurrentIp_Edit->text(), "192.168.0.1");
    EXPECT_NE(m.PCIP_Edit->text(), "----------");
    EXPECT_EQ(m.Dir_Edit->text(), QCoreApplication::applicationDirPath() + "/");

    sim::SnmpAgent moved(h->router(), "127.0.0.2", h->port());
    ASSERT_TRUE(moved.start());
    m.NewIP_edit->setText("127.0.0.2");
    m.ChangeIP_But->click();
    EXPECT_EQ(f.system().widgets().IpAddress_Edit->text(), "127.0.0.2");
    EXPECT_TRUE(m.CurrentIp_Edit->text() == "127.0.0.2" && m.NewIP_edit->text().isEmpty());
    EXPECT_EQ(f.statusText(), " Ready");

    m.NewIP_edit->setText("127.0.0.3"); // acknowledged, but nothing answers there
    m.ChangeIP_But->click();
    EXPECT_EQ(f.system().widgets().IpAddress_Edit->text(), "127.0.0.2");
    EXPECT_EQ(f.statusText(), " Error: The value was set but could not be read back");

    moved.stop();
    m.ChangeIP_But->click();
    EXPECT_EQ(m.NewIP_edit->text(), "Set failed");
    EXPECT_EQ(f.statusText(), " Error: Is the \"quorbex\" community name writable?");
}

TEST_F(TelnetWindowTest, AboutAndDirectoryWindowsOpenThroughTheModalHook) {
    TMainForm& f = make(false);
    QString title;
    f.telnet().runModal = [&](QDialog& d) {
        title = d.windowTitle();
        if (auto* chooser = qobject_cast<TDirForm*>(&d)) chooser->Choose_ButClick();
    };
    f.ui.menu.About1->trigger();
    EXPECT_EQ(title, "About Kestrune Utility");
    f.misc().widgets().Dir_Edit->setText("somewhere");
    f.misc().widgets().Dir_SpdBut->click();
    EXPECT_EQ(title, "Choose directory");
    EXPECT_NE(f.misc().widgets().Dir_Edit->text(), "somewhere");
}
