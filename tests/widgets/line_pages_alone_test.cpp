// The ADSL, Interfaces and Misc pages and the uptime display built on their own, without the main
// window, against the router stand-in.
#include "support/MainFormHarness.h"
#include "support/RecordingFrame.h"

#include "net/RouterSession.h"
#include "ui/PageFrame.h"
#include "ui/UiSeam.h"
#include "views/AdslPage.h"
#include "views/InterfacesPage.h"
#include "views/MiscPage.h"
#include "views/Uptime.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

// The stand-in without a window, and a session to it.
struct Alone {
    MainFormHarness h{[] {
        MainFormHarness::Options o;
        o.createForm = false;
        return o;
    }()};
    RouterEndpoint endpoint;
    RouterSession session{endpoint, h.snmpSettings()};
    RecordingFrame frame;
    QWidget page;

    Alone() {
        endpoint.setAddress(QStringLiteral("127.0.0.1"));
        endpoint.setCommunity(QStringLiteral("quorbex"));
        RouterInterfaces& ifs = session.interfaces();
        ifs.LanIfIndex = QStringLiteral("1");
        ifs.PppIfIndex = QStringLiteral("3");
        ifs.WanIfIndex = QStringLiteral("4");
    }
};

AdslPageCalls adslCalls(bool& shown, int& updateChanges) {
    AdslPageCalls calls;
    calls.shown = [&shown] { return shown; };
    calls.passwordShown = [] { return true; };
    calls.setUpdateEnabled = [&updateChanges](bool) { ++updateChanges; };
    calls.saveLog = [](QPushButton*) {};
    calls.clearLog = [](QPushButton*) {};
    return calls;
}

MiscPageCalls miscCalls(std::vector<QPushButton*>& clicked, bool& updateEnabled) {
    MiscPageCalls calls;
    const auto record = [&clicked](QPushButton* b) { clicked.push_back(b); };
    calls.chooseDirectory = record;
    calls.transferEventLog = record;
    calls.setPassword = record;
    calls.setUpdateEnabled = [&updateEnabled](bool on) { updateEnabled = on; };
    return calls;
}

} // namespace

TEST(PagesAlone, AnAdslPageReadsTheLineAndShowsItsFirstSubTab) {
    Alone a;
    bool shown = true;
    int updateChanges = 0;
    AdslPage adsl(&a.page, a.session, a.frame, adslCalls(shown, updateChanges));
    adsl.widgets().ADSL_PageControl->setCurrentIndex(2);
    updateChanges = 0;

    adsl.refresh(Trigger::Other);

    EXPECT_EQ(adsl.widgets().ADSL_PageControl->currentIndex(), 0);
    EXPECT_EQ(a.frame.helpKeyword(), "130.html");
    EXPECT_TRUE(adsl.widgets().DownSpeed_Label->text().endsWith(" Kbps"));
    EXPECT_EQ(a.frame.status, " Ready");
    EXPECT_EQ(updateChanges, 1); // the sub-tab change, the page being shown
}

TEST(PagesAlone, AnAdslPageGoneBeforeItsWidgetsHearsNoMoreSubTabChanges) {
    Alone a;
    bool shown = true;
    int updateChanges = 0;
    auto adsl = std::make_unique<AdslPage>(&a.page, a.session, a.frame, adslCalls(shown, updateChanges));
    QTabWidget* tabs = adsl->widgets().ADSL_PageControl;
    adsl.reset();

    tabs->setCurrentIndex(1);

    EXPECT_EQ(updateChanges, 0);
}

TEST(PagesAlone, AnInterfacesPageTickRefreshesOnlyWhileShownAndRunning) {
    struct Case {
        bool shown, running, reads;
    };
    const Case cases[] = {
        {false, false, false}, {true, false, false}, {false, true, false}, {true, true, true}};
    for (const Case& c : cases) {
        Alone a;
        InterfacesPage page(
            &a.page, a.session, a.frame, [&c] { return c.shown; },
            [] {
                return ByteUnits{1073741824.0, 1048576.0};
            });
        a.h.router().clearRequestLog();
        page.tick(c.running);
        EXPECT_EQ(!a.h.router().requestLog().empty(), c.reads) << c.shown << c.running;
        EXPECT_EQ(page.widgets().lan.values[0]->text() == "UP", c.reads) << c.shown << c.running;
    }
}

TEST(PagesAlone, AnUptimeDisplayThatCannotReadSwitchesItselfOff) {
    Alone a;
    QLabel label(QStringLiteral("----"));
    int stops = 0;
    UptimeDisplay uptime(
        &label, a.session, a.frame, [] { return true; }, [&stops] { ++stops; });
    a.h.router().setSilent(true);
    const int beeps = UiSeam::beepCount();

    uptime.tick();

    EXPECT_EQ(stops, 1);
    EXPECT_EQ(a.frame.status, " Error: Check IP address and/or SNMP community name");
    EXPECT_EQ(UiSeam::beepCount(), beeps + 1);
    EXPECT_EQ(label.text(), "----");
}

TEST(PagesAlone, AMiscPageHandsItsJobButtonsToTheWindow) {
    Alone a;
    std::vector<QPushButton*> clicked;
    bool updateEnabled = true;
    MiscPage misc(&a.page, a.session, a.frame, miscCalls(clicked, updateEnabled));
    const MiscPageWidgets& m = misc.widgets();

    for (QPushButton* b : {m.Dir_SpdBut, m.TelnetEventLog_But, m.SetPwd_But})
        b->click();
    misc.enter();

    EXPECT_EQ(clicked, (std::vector<QPushButton*>{m.Dir_SpdBut, m.TelnetEventLog_But, m.SetPwd_But}));
    EXPECT_FALSE(updateEnabled);
    EXPECT_EQ(a.frame.helpKeyword(), "200.html");
    EXPECT_FALSE(a.frame.updateKeyword());
}

TEST(PagesAlone, AMiscPageSendsNoTextThatIsNoAddressAsTheRoutersNewAddress) {
    Alone a;
    std::vector<QPushButton*> clicked;
    bool updateEnabled = true;
    MiscPage misc(&a.page, a.session, a.frame, miscCalls(clicked, updateEnabled));
    QLineEdit* edit = misc.widgets().NewIP_edit;
    for (const QString typed : {"", "Set failed", "192.168.1", "192.168.1.300", "0.0.0.0", "192.168.1.1.5",
                                "192.168.-1.1", "192.168.1.1 "}) {
        a.h.router().clearRequestLog();
        const int beeps = UiSeam::beepCount();
        edit->setText(typed);

        misc.changeAddress();

        EXPECT_TRUE(a.h.router().requestLog().empty()) << typed.toStdString();
        EXPECT_EQ(a.frame.status, " Error: The new IP address is not an IPv4 address like 192.168.0.1");
        EXPECT_EQ(UiSeam::beepCount(), beeps + 1);
        EXPECT_EQ(edit->text(), typed);
        EXPECT_EQ(a.endpoint.address(), "127.0.0.1");
    }
}
