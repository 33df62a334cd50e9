// The router uptime: the real-time display on the System page and the elapsed-time text.
#include "support/MainFormHarness.h"

#include "ui/UiSeam.h"
#include "net/core/SnmpBer.h"
#include "views/core/UptimeFormat.h"

#include <QAction>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;

namespace {

void fixedUptime(sim::Router& r, const std::string& ticks, int tag = ber::TimeTicks) {
    r.erase(mib::sysUpTime);
    r.set(mib::sysUpTime, tag, ticks);
}

int uptimeReads(const std::vector<std::string>& log) {
    int n = 0;
    for (const auto& name : log)
        n += name == mib::sysUpTime;
    return n;
}

QString uptimeLabel(MainFormHarness& h) {
    return h.find<QLabel>("uptime_label")->text();
}

} // namespace

TEST(SystemUptime, TicksShowTheLongFormOfTheExamples) {
    MainFormHarness h;
    TMainForm& f = h.form();
    QTimer* t = h.find<QTimer>("Uptime_Timer");
    const std::pair<const char*, const char*> examples[] = {
        {"26523456", "03 days 01 hours 40 mins 34 secs"},    {"0", "00 days 00 hours 00 mins 00 secs"},
        {"8640000", "01 days 00 hours 00 mins 00 secs"},     {"8639999", "00 days 23 hours 59 mins 59 secs"},
        {"4294967295", "497 days 02 hours 27 mins 52 secs"},
    };
    h.find<QAction>("Realtimeupdating")->trigger();
    for (const auto& [ticks, text] : examples) {
        fixedUptime(h.router(), ticks);
        f.Uptime_TimerTimer(t);
        EXPECT_EQ(uptimeLabel(h), text) << ticks;
    }
    fixedUptime(h.router(), std::to_string(123LL * 8640000));
    f.Uptime_TimerTimer(t);
    EXPECT_TRUE(uptimeLabel(h).startsWith("123 days ")) << uptimeLabel(h).toStdString();
    // A tick touches neither the status line nor the cursor.
    f.setStatus(" left alone");
    f.Uptime_TimerTimer(t);
    EXPECT_EQ(f.statusText(), " left alone");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_TRUE(t->isActive());
}

TEST(SystemUptime, TheTimerPollsOnlyWhileTheSystemTabIsShown) {
    MainFormHarness h;
    TMainForm& f = h.form();
    QTimer* t = h.find<QTimer>("Uptime_Timer");
    h.find<QAction>("Realtimeupdating")->trigger();
    t->setInterval(20); // fast ticks for the test; the handler is the one the menu switched on
    fixedUptime(h.router(), "100");
    h.router().clearRequestLog();
    EXPECT_TRUE(QTest::qWaitFor([&] { return uptimeReads(h.router().requestLog()) >= 2; }, 5000));
    EXPECT_EQ(uptimeLabel(h), "00 days 00 hours 00 mins 01 secs");

    f.pageControl()->setCurrentWidget(h.find<QWidget>("Interfaces"));
    h.router().clearRequestLog();
    f.Uptime_TimerTimer(t);
    QTest::qWait(100); // several ticks while the Interfaces tab is shown
    EXPECT_EQ(uptimeReads(h.router().requestLog()), 0);
    EXPECT_TRUE(t->isActive()); // it keeps running, its ticks do nothing
}

TEST(SystemUptime, AFailedReadStopsTheDisplayUntilTheUserSwitchesItOnAgain) {
    MainFormHarness h;
    TMainForm& f = h.form();
    QTimer* t = h.find<QTimer>("Uptime_Timer");
    QAction* item = h.find<QAction>("Realtimeupdating");
    item->trigger();
    ASSERT_TRUE(t->isActive());
    const QString shown = uptimeLabel(h);
    h.router().setSilent(true);
    f.Uptime_TimerTimer(t);
    EXPECT_EQ(f.statusText(), " Error: Check IP address and/or SNMP community name");
    EXPECT_FALSE(t->isActive());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(uptimeLabel(h), shown);

    h.router().setSilent(false);
    item->trigger();
    EXPECT_TRUE(t->isActive());
    EXPECT_TRUE(item->isChecked());

    // An answer that is not an uptime stops it the same way, with its own text.
    fixedUptime(h.router(), "", ber::OctetString);
    f.Uptime_TimerTimer(t);
    EXPECT_EQ(f.statusText(), " Error: The router's uptime (sysUpTime) is not a number");
    EXPECT_FALSE(t->isActive());
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(UiSeam::beepCount(), 2);
}

TEST(SystemUptime, MenuItemsSetTheIntervalAndTheSwitchSeparately) {
    MainFormHarness h;
    QTimer* t = h.find<QTimer>("Uptime_Timer");
    h.find<QAction>("N10secondupdate1")->trigger();
    EXPECT_EQ(t->interval(), 10000);
    EXPECT_FALSE(t->isActive());
    h.form().RealtimeupdatingClick(nullptr);
    EXPECT_TRUE(t->isActive());
    EXPECT_EQ(t->interval(), 10000);
    h.find<QAction>("N60secondupdate1")->trigger();
    EXPECT_EQ(t->interval(), 60000);
    EXPECT_TRUE(t->isActive());
    h.form().RealtimeupdatingClick(nullptr);
    EXPECT_FALSE(t->isActive());
    EXPECT_FALSE(h.find<QAction>("Realtimeupdating")->isChecked());
}

TEST(SystemUptime, ElapsedSinceTextReadsTheRoutersUptimeNow) {
    MainFormHarness h;
    TMainForm& f = h.form();
    fixedUptime(h.router(), "26523456");
    EXPECT_EQ(f.ElapsedSinceText("26523456"), "00:00:00:00");
    EXPECT_EQ(f.ElapsedSinceText("26523456"), "00:00:00:00");
    EXPECT_EQ(f.ElapsedSinceText("25172756"), "00:03:45:07");
    EXPECT_EQ(f.ElapsedSinceText("1"), "03:01:40:34"); // a status value as the reference: the uptime
    EXPECT_EQ(f.ElapsedSinceText("30000000"), uptimeformat::kRestartedText);
    EXPECT_EQ(f.ElapsedSinceText("up"), uptimeformat::kUnknownElapsedText);
    fixedUptime(h.router(), "", ber::OctetString);
    EXPECT_EQ(f.ElapsedSinceText("0"), uptimeformat::kUnknownElapsedText);
    h.router().setSilent(true);
    EXPECT_EQ(f.ElapsedSinceText("0"), "");
    EXPECT_EQ(UiSeam::beepCount(), 0);
}
