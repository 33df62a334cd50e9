// The main window's frame, option menus, timers, page dispatch, pause and resume.
#include "support/MainFormHarness.h"

#include "ui/UiSeam.h"

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

QAction* item(MainFormHarness& h, const char* name) {
    auto* a = h.find<QAction>(name);
    EXPECT_NE(a, nullptr) << name;
    return a;
}
bool checked(MainFormHarness& h, const char* name) {
    return item(h, name)->isChecked();
}
QTimer* timer(MainFormHarness& h, const char* name) {
    return h.find<QTimer>(name);
}

void showPage(MainFormHarness& h, const char* name) {
    QTabWidget* tabs = h.form().pageControl();
    tabs->setCurrentWidget(h.find<QWidget>(name));
}

QStringList captions(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

bool requested(const std::vector<std::string>& log, const std::string& oid) {
    for (const auto& n : log)
        if (n == oid) return true;
    return false;
}

} // namespace

TEST(AppWindow, HasItsFixedFrameButtonsStatusLineAndElevenPages) {
    MainFormHarness h;
    TMainForm& f = h.form();
    f.show();
    EXPECT_EQ(f.windowTitle(), "Kestrune Utility");
    EXPECT_EQ(f.centralWidget()->size(), QSize(634, 528));
    EXPECT_EQ(f.minimumSize(), f.maximumSize()); // not resizable
    EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(f.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(f.font().pixelSize(), 13);
    EXPECT_EQ(f.property("helpKeyword").toString(), "kestrune.html");

    QTabWidget* tabs = f.pageControl();
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->geometry(), QRect(9, 7, 616, 512));
    const QStringList names{"GenSysInfo", "Quota_Tab", "ADSL", "Interfaces", "IP",   "ICMP",
                            "TCP",        "UDP",       "SNMP", "Misc",       "Debug"};
    const QStringList texts{"System", "Quota", "ADSL", "Interfaces", "IP",   "ICMP",
                            "TCP",    "UDP",   "SNMP", "Misc",       "Debug"};
    ASSERT_EQ(tabs->count(), 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), names[i]);
        EXPECT_EQ(tabs->tabText(i), texts[i]);
    }
    EXPECT_EQ(f.currentPageName(), "GenSysInfo");

    auto* help = h.find<QPushButton>("Help_But");
    auto* update = h.find<QPushButton>("GetValues_But");
    EXPECT_EQ(help->text(), "&Help");
    EXPECT_EQ(help->geometry(), QRect(448, 444, 72, 31));
    EXPECT_TRUE(help->isDefault());
    EXPECT_EQ(update->text(), "&Update");
    EXPECT_EQ(update->geometry(), QRect(533, 444, 72, 31));
    auto* bar = h.find<QStatusBar>("StatusBar");
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->geometry(), QRect(16, 486, 601, 27));
    EXPECT_EQ(h.find<QLabel>("StatusLine_Label")->text(), " Ready");
    // Buttons and status line lie over the page area, on top of it.
    QWidget* client = f.centralWidget();
    EXPECT_EQ(client->childAt(460, 450), help);
    EXPECT_EQ(client->childAt(540, 450), update);

    // The refresh at start-up named the System page's help.
    EXPECT_EQ(tabs->property("helpKeyword").toString(), "110.html");
    EXPECT_EQ(help->property("helpKeyword").toString(), "110.html");
}

TEST(AppWindow, MenusHoldEveryItemWithItsNameCaptionAndDesignerState) {
    MainFormHarness::Options o;
    o.settings = {{"Options", "Telnet on startup", "Enabled"}};
    MainFormHarness h(o);
    const QList<QAction*> top = h.form().menuBar()->actions();
    ASSERT_EQ(top.size(), 3);
    EXPECT_EQ(top[0]->text(), "File");
    EXPECT_EQ(top[1]->text(), "Options");
    EXPECT_EQ(top[2]->text(), "Help");
    EXPECT_EQ(captions(top[0]->menu()), (QStringList{"-", "&Exit"}));
    EXPECT_EQ(top[0]->menu()->property("helpContext").toInt(), 10);
    EXPECT_EQ(top[2]->menu()->property("helpContext").toInt(), 30);
    EXPECT_EQ(captions(top[2]->menu()),
              (QStringList{"&Contents", "&Search for Help On...", "&How to Use Help", "-",
                           "Check web for &update...", "-", "&About..."}));
    EXPECT_EQ(top[1]->menu()->property("helpContext").toInt(), 20);
    EXPECT_EQ(captions(top[1]->menu()),
              (QStringList{"Connection log", "Data quota", "Event log", "Interfaces", "Password visibility",
                           "Router uptime", "Telnet on startup", "Line history"}));

    const std::pair<const char*, QStringList> submenus[] = {
        {"Connectionlog1",
         {"Auto-reconnect", "Monitor connection", "-", "1 second check", "3 second check", "5 second check",
          "10 second check", "15 second check", "20 second check", "30 second check"}},
        {"Dataquota1",
         {"Display in real time", "-", "1 minute update", "5 minute update", "10 minute update",
          "15 minute update", "30 minute update", "60 minute update"}},
        {"Eventlog1",
         {"Auto-transfer", "-", "Every hour", "Every 3 hours", "Every 6 hours", "Every 12 hours",
          "Every 24 hours"}},
        {"Interfaces1",
         {"Display in real time", "-", "5 second update", "10 second update", "15 second update",
          "20 second update", "30 second update", "60 second update"}},
        {"Passwordvisibility1", {"Hide", "Show"}},
        {"Routeruptime1",
         {"Display in real time", "-", "1 second update", "10 second update", "30 second update",
          "60 second update"}},
        {"Telnetonstartup1", {"Enabled", "Disabled"}},
    };
    const int contexts[] = {21, 22, 23, 24, 26, 27, 29};
    EXPECT_EQ(captions(h.find<QMenu>("Linehistory1")),
              (QStringList{"Record line history", "-", "Every minute", "Every 5 minutes", "Every 15 minutes",
                           "-", "Line history..."}));
    int i = 0;
    for (const auto& [name, expected] : submenus) {
        auto* m = h.find<QMenu>(name);
        ASSERT_NE(m, nullptr) << name;
        EXPECT_EQ(captions(m), expected) << name;
        EXPECT_EQ(m->property("helpContext").toInt(), contexts[i++]) << name;
        for (QAction* a : m->actions()) {
            if (!a->isSeparator()) {
                EXPECT_TRUE(a->isCheckable()) << a->text().toStdString();
            }
        }
    }
    // Radio groups that show as such.
    for (const char* n : {"N1secondinterval1", "N60minuteupdate1", "Everyhour", "N5SecondUpdate", "HidePwd",
                          "N1secondupdate1", "TelnetEnabled"}) {
        ASSERT_NE(item(h, n)->actionGroup(), nullptr) << n;
        EXPECT_TRUE(item(h, n)->actionGroup()->isExclusive()) << n;
    }
    for (const char* n : {"Autoreconnect", "Recordlog", "MonitorQuota", "EventLogTransfer",
                          "DisplayInRealTime", "Realtimeupdating"})
        EXPECT_EQ(item(h, n)->actionGroup(), nullptr) << n;
    EXPECT_EQ(item(h, "N1secondinterval1")->actionGroup()->actions().size(), 7);

    // Designer states.
    EXPECT_FALSE(item(h, "Autoreconnect")->isEnabled());
    EXPECT_FALSE(checked(h, "Autoreconnect"));
    EXPECT_TRUE(checked(h, "N15secondinterval1"));
    EXPECT_TRUE(checked(h, "N15minuteupdate1"));
    EXPECT_TRUE(checked(h, "Every24hours"));
    EXPECT_TRUE(checked(h, "N15SecondUpdate"));
    EXPECT_TRUE(checked(h, "ShowPwd"));
    EXPECT_TRUE(checked(h, "N1secondupdate1"));
    EXPECT_TRUE(checked(h, "TelnetEnabled"));
}

TEST(AppWindow, SevenTimersWithTheirDesignedIntervalsAllStopped) {
    MainFormHarness h;
    const std::pair<const char*, int> timers[] = {
        {"Uptime_Timer", 1000}, {"Connect_Timer", 15000},     {"AutoReconnect_Timer", 30000},
        {"Quota_Timer", 60000}, {"EventLog_Timer", 86400000}, {"Interfaces_Timer", 5000},
        {"Telnet_Timer", 1000},
    };
    for (const auto& [name, ms] : timers) {
        QTimer* t = timer(h, name);
        ASSERT_NE(t, nullptr) << name;
        EXPECT_EQ(t->interval(), ms) << name;
        EXPECT_FALSE(t->isActive()) << name;
        EXPECT_FALSE(t->isSingleShot()) << name;
    }
}

TEST(AppOptions, ToggleItemsSwitchTheirTimersAndIntervalsNeverSwitchThem) {
    MainFormHarness h;
    const std::tuple<const char*, const char*, const char*, int> toggles[] = {
        {"Realtimeupdating", "Uptime_Timer", "N30secondupdate1", 30000},
        {"MonitorQuota", "Quota_Timer", "N5minuteupdate1", 300000},
        {"EventLogTransfer", "EventLog_Timer", "Every3hours", 10800000},
        {"DisplayInRealTime", "Interfaces_Timer", "N60SecondUpdate", 60000},
        {"Recordlog", "Connect_Timer", "N20secondinterval1", 20000},
    };
    for (const auto& [toggle, timerName, interval, ms] : toggles) {
        // An interval chosen while the monitor is off changes only the interval.
        item(h, interval)->trigger();
        EXPECT_EQ(timer(h, timerName)->interval(), ms) << interval;
        EXPECT_TRUE(checked(h, interval)) << interval;
        EXPECT_FALSE(timer(h, timerName)->isActive()) << timerName;
        // Clicking the checked interval item keeps it checked.
        item(h, interval)->trigger();
        EXPECT_TRUE(checked(h, interval)) << interval;

        item(h, toggle)->trigger();
        EXPECT_TRUE(checked(h, toggle)) << toggle;
        EXPECT_TRUE(timer(h, timerName)->isActive()) << timerName;
        EXPECT_EQ(timer(h, timerName)->interval(), ms) << timerName;
        item(h, toggle)->trigger();
        EXPECT_FALSE(checked(h, toggle)) << toggle;
        EXPECT_FALSE(timer(h, timerName)->isActive()) << timerName;
    }
    // Exactly one item per radio group.
    for (const char* n :
         {"N30secondupdate1", "N5minuteupdate1", "Every3hours", "N60SecondUpdate", "N20secondinterval1"}) {
        int on = 0;
        for (QAction* a : item(h, n)->actionGroup()->actions())
            on += a->isChecked();
        EXPECT_EQ(on, 1) << n;
    }
    // The handlers called directly behave as the clicks do.
    h.form().MonitorQuotaClick(item(h, "MonitorQuota"));
    EXPECT_TRUE(timer(h, "Quota_Timer")->isActive());
    h.form().QuotaUpdateIntervalClick(item(h, "N60minuteupdate1"));
    EXPECT_EQ(timer(h, "Quota_Timer")->interval(), 3600000);
    EXPECT_TRUE(checked(h, "N60minuteupdate1"));
    EXPECT_FALSE(checked(h, "N5minuteupdate1"));
    // A sender that is none of the submenu's items changes nothing...
    h.form().QuotaUpdateIntervalClick(item(h, "Everyhour"));
    EXPECT_EQ(timer(h, "Quota_Timer")->interval(), 3600000);
    EXPECT_TRUE(checked(h, "N60minuteupdate1"));
    h.form().N5SecondUpdateClick(nullptr);
    EXPECT_TRUE(checked(h, "N60SecondUpdate"));
    // ...except for the uptime items, where it counts as the 60 second item.
    h.form().SecondupdateClick(item(h, "N1secondupdate1"));
    EXPECT_EQ(timer(h, "Uptime_Timer")->interval(), 1000);
    h.form().SecondupdateClick(item(h, "Everyhour"));
    EXPECT_EQ(timer(h, "Uptime_Timer")->interval(), 60000);
    EXPECT_TRUE(checked(h, "N60secondupdate1"));
    EXPECT_FALSE(checked(h, "N1secondupdate1"));
}

TEST(AppOptions, UncheckingMonitorConnectionStopsTheCheckAndThePendingReconnect) {
    MainFormHarness h;
    EXPECT_FALSE(item(h, "Autoreconnect")->isEnabled());
    item(h, "Autoreconnect")->trigger(); // disabled: nothing happens
    EXPECT_FALSE(checked(h, "Autoreconnect"));

    item(h, "Recordlog")->trigger();
    EXPECT_TRUE(timer(h, "Connect_Timer")->isActive());
    EXPECT_TRUE(item(h, "Autoreconnect")->isEnabled());
    EXPECT_FALSE(checked(h, "Autoreconnect"));
    item(h, "Autoreconnect")->trigger();
    EXPECT_TRUE(checked(h, "Autoreconnect"));
    EXPECT_FALSE(timer(h, "AutoReconnect_Timer")->isActive()); // the item alone starts nothing
    timer(h, "AutoReconnect_Timer")->start();                  // a reconnect pending

    item(h, "Recordlog")->trigger();
    EXPECT_FALSE(timer(h, "Connect_Timer")->isActive());
    EXPECT_FALSE(timer(h, "AutoReconnect_Timer")->isActive());
    EXPECT_FALSE(checked(h, "Autoreconnect"));
    EXPECT_FALSE(item(h, "Autoreconnect")->isEnabled());

    item(h, "Recordlog")->trigger();
    EXPECT_TRUE(item(h, "Autoreconnect")->isEnabled());
    EXPECT_FALSE(checked(h, "Autoreconnect"));

    // Called directly, the handler inverts even a disabled item.
    h.form().RecordlogClick(item(h, "Recordlog"));
    h.form().AutoreconnectClick(item(h, "Autoreconnect"));
    EXPECT_TRUE(checked(h, "Autoreconnect"));
}

TEST(AppOptions, ClickingTheCheckedTelnetItemLeavesNeitherCheckedAndCloseWritesDisabled) {
    MainFormHarness::Options o;
    o.settings = {{"Options", "Telnet on startup", "Enabled"}};
    MainFormHarness h(o);
    ASSERT_TRUE(checked(h, "TelnetEnabled"));
    item(h, "TelnetEnabled")->trigger();
    EXPECT_FALSE(checked(h, "TelnetEnabled"));
    EXPECT_FALSE(checked(h, "TelnetDisabled"));
    UiSeam::setNextAnswer(QMessageBox::No);
    h.closeForm();
    EXPECT_EQ(h.settings().readString("Options", "Telnet on startup", ""), "Disabled");

    item(h, "TelnetEnabled")->trigger();
    EXPECT_TRUE(checked(h, "TelnetEnabled"));
    item(h, "TelnetDisabled")->trigger();
    EXPECT_TRUE(checked(h, "TelnetDisabled"));
    EXPECT_FALSE(checked(h, "TelnetEnabled"));
    h.form().TelnetEnabledClick(item(h, "TelnetEnabled"));
    EXPECT_TRUE(checked(h, "TelnetEnabled"));
    EXPECT_FALSE(checked(h, "TelnetDisabled"));
    h.form().TelnetEnabledClick(item(h, "TelnetEnabled"));
    EXPECT_FALSE(checked(h, "TelnetEnabled"));
    UiSeam::setNextAnswer(QMessageBox::No);
    h.closeForm();
    EXPECT_EQ(h.settings().readString("Options", "Telnet on startup", ""), "Disabled");
}

TEST(AppOptions, EitherPasswordItemFlipsTheChoiceAndThePasswordsVisibility) {
    MainFormHarness h;
    auto* pwd = h.find<QLabel>("Pwd_Label");
    ASSERT_NE(pwd, nullptr);
    TMainForm& f = h.form();
    ASSERT_TRUE(checked(h, "ShowPwd"));
    item(h, "ShowPwd")->trigger(); // the checked one
    EXPECT_TRUE(checked(h, "HidePwd"));
    EXPECT_FALSE(checked(h, "ShowPwd"));
    EXPECT_TRUE(pwd->isHidden());
    item(h, "ShowPwd")->trigger(); // the unchecked one
    EXPECT_TRUE(checked(h, "ShowPwd"));
    EXPECT_FALSE(checked(h, "HidePwd"));
    EXPECT_FALSE(pwd->isHidden());
    item(h, "ShowPwd")->trigger();
    item(h, "HidePwd")->trigger(); // the checked one again
    EXPECT_TRUE(checked(h, "ShowPwd"));
    f.ShowPwdClick(item(h, "HidePwd"));
    EXPECT_TRUE(checked(h, "HidePwd"));
    EXPECT_TRUE(pwd->isHidden());
    UiSeam::setNextAnswer(QMessageBox::No);
    h.closeForm();
    EXPECT_EQ(h.settings().readString("Options", "Password", ""), "0");
}

TEST(AppOptions, PauseStopsOnlyCheckedMonitorsAndResumeRestartsEveryCheckedOne) {
    MainFormHarness h;
    TMainForm& f = h.form();
    item(h, "Recordlog")->trigger();
    timer(h, "Telnet_Timer")->start();
    timer(h, "AutoReconnect_Timer")->start();
    // An unchecked monitor's timer running anyway is not touched.
    timer(h, "Quota_Timer")->start();

    f.Community_editEnter(&f);
    EXPECT_FALSE(timer(h, "Connect_Timer")->isActive());
    EXPECT_TRUE(timer(h, "Quota_Timer")->isActive());
    EXPECT_TRUE(timer(h, "Telnet_Timer")->isActive());
    EXPECT_TRUE(timer(h, "AutoReconnect_Timer")->isActive());
    timer(h, "Quota_Timer")->stop();

    item(h, "Realtimeupdating")->trigger(); // switched on between pause and resume
    QThread::msleep(300);                   // no tick can run: the 1 s interval is under way
    f.Community_editExit(&f);
    EXPECT_TRUE(timer(h, "Connect_Timer")->isActive());
    EXPECT_TRUE(timer(h, "Uptime_Timer")->isActive());
    // Already running: it goes on with its interval under way, not started afresh.
    ASSERT_EQ(timer(h, "Uptime_Timer")->interval(), 1000);
    EXPECT_LE(timer(h, "Uptime_Timer")->remainingTime(), 900);
    EXPECT_FALSE(timer(h, "Quota_Timer")->isActive());
    EXPECT_FALSE(timer(h, "EventLog_Timer")->isActive());
    EXPECT_FALSE(timer(h, "Interfaces_Timer")->isActive());
}

TEST(AppDispatch, DebugAndMiscDisableUpdateAndLeavingThemEnablesItAndRefreshesTheNewPage) {
    MainFormHarness h;
    auto* update = h.find<QPushButton>("GetValues_But");
    showPage(h, "Debug");
    EXPECT_FALSE(update->isEnabled());
    EXPECT_EQ(h.form().pageControl()->property("helpKeyword").toString(), "210.html");

    h.router().clearRequestLog();
    h.form().setStatus(" something else");
    showPage(h, "GenSysInfo");
    EXPECT_TRUE(update->isEnabled());
    EXPECT_TRUE(requested(h.router().requestLog(), "1.3.6.1.2.1.2.1.0"));
    EXPECT_TRUE(requested(h.router().requestLog(), "1.3.6.1.2.1.1.6.0"));
    EXPECT_EQ(h.form().statusText(), " Ready");

    showPage(h, "Misc");
    EXPECT_FALSE(update->isEnabled());
    EXPECT_EQ(h.find<QPushButton>("Help_But")->property("helpKeyword").toString(), "200.html");
    showPage(h, "Quota_Tab");
    EXPECT_TRUE(update->isEnabled());

    // "&Update" refreshes the current page.
    showPage(h, "GenSysInfo");
    h.router().clearRequestLog();
    update->click();
    EXPECT_TRUE(requested(h.router().requestLog(), "1.3.6.1.2.1.1.1.0"));
    EXPECT_TRUE(UiSeam::messages().empty());
}

TEST(AppDispatch, TheInterfacesTickPollsOnlyWhileItsPageIsShownAndItsTimerRuns) {
    MainFormHarness h;
    TMainForm& f = h.form();
    QTimer* t = timer(h, "Interfaces_Timer");
    h.router().clearRequestLog();
    f.Interfaces_TimerTimer(t); // timer off, other page
    EXPECT_TRUE(h.router().requestLog().empty());
    showPage(h, "Interfaces");
    h.router().clearRequestLog();
    f.Interfaces_TimerTimer(t); // page shown, timer off
    EXPECT_TRUE(h.router().requestLog().empty());
    item(h, "DisplayInRealTime")->trigger();
    f.Interfaces_TimerTimer(t);
    EXPECT_FALSE(h.router().requestLog().empty());
    showPage(h, "GenSysInfo");
    h.router().clearRequestLog();
    f.Interfaces_TimerTimer(t); // timer on, other page
    EXPECT_TRUE(h.router().requestLog().empty());
}
