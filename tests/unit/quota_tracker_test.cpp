#include "monitor/core/CounterTracker.h"

#include <gtest/gtest.h>

using quota::CounterTracker;
using Event = CounterTracker::Event;

TEST(QuotaTracker, FirstReadAndAdvances) {
    CounterTracker t;
    EXPECT_FALSE(t.hasValue());
    EXPECT_EQ(t.feed(1000, 500u, 0), Event::First);
    EXPECT_EQ(t.total(), 1000.0); // the running count starts at the counter: formulas stay literal
    EXPECT_EQ(t.feed(5000, 600u, 1000), Event::Advance);
    EXPECT_EQ(t.total(), 5000.0);
    EXPECT_EQ(t.feed(5000, 700u, 2000), Event::Advance);
    EXPECT_EQ(t.total(), 5000.0);
}

TEST(QuotaTracker, WrapWhileTheRouterKeptRunning) {
    CounterTracker t;
    t.feed(4294967000u, 100000u, 0);
    EXPECT_EQ(t.feed(704u, 106000u, 60000), Event::Wrap);
    EXPECT_EQ(t.total(), 4294967000.0 + 296.0 + 704.0);
    // Two wraps in a row keep adding.
    EXPECT_EQ(t.feed(4294967295u, 112000u, 120000), Event::Advance);
    EXPECT_EQ(t.feed(0u, 118000u, 180000), Event::Wrap);
    EXPECT_EQ(t.total(), 2.0 * 4294967296.0);
    // Without a local clock the uptime alone decides.
    CounterTracker u;
    u.feed(4000000000u, 50u, std::nullopt);
    EXPECT_EQ(u.feed(10u, 60u, std::nullopt), Event::Wrap);
    EXPECT_EQ(u.total(), 4294967296.0 + 10.0);
}

TEST(QuotaTracker, RestartWhenTheUptimeWentBack) {
    CounterTracker t;
    t.feed(900000u, 200000u, 0);
    EXPECT_EQ(t.feed(300u, 150u, 10000), Event::Restart);
    EXPECT_EQ(t.total(), 900300.0); // counts from zero after the restart
    EXPECT_EQ(t.feed(1300u, 1150u, 20000), Event::Advance);
    EXPECT_EQ(t.total(), 901300.0);
    // A restart where the new counter is above the old one is still a restart, not an advance.
    CounterTracker u;
    u.feed(100u, 90000u, 0);
    EXPECT_EQ(u.feed(5000u, 1000u, 60000), Event::Restart);
    EXPECT_EQ(u.total(), 5100.0);
    // Went back by a few seconds only, with no local time passed: still a restart.
    CounterTracker v;
    v.feed(7000u, 500u, 0);
    EXPECT_EQ(v.feed(6000u, 100u, 0), Event::Restart);
    EXPECT_EQ(v.total(), 13000.0);
}

TEST(QuotaTracker, RestartLongerAgoThanTheOldUptime) {
    // Read at 10 minutes of router uptime, next read 15 minutes later at 12 minutes of uptime:
    // the router cannot have kept running.
    CounterTracker t;
    t.feed(5000000u, 60000u, 0);
    EXPECT_EQ(t.feed(2000u, 72000u, 900000), Event::Restart);
    EXPECT_EQ(t.total(), 5002000.0);
    // The same uptimes 2 minutes apart on the local clock are a wrap.
    CounterTracker u;
    u.feed(4294960000u, 60000u, 0);
    EXPECT_EQ(u.feed(2000u, 72000u, 120000), Event::Wrap);
}

TEST(QuotaTracker, UptimeWrapIsNotARestart) {
    CounterTracker t;
    t.feed(1000u, 4294965000u, 0);
    // 60 s (6000 ticks) later the 32-bit uptime has passed its end and reads 3704.
    EXPECT_EQ(t.feed(2000u, 3704u, 60000), Event::Advance);
    EXPECT_EQ(t.total(), 2000.0);
}

TEST(QuotaTracker, CounterFellWithUnknownUptimeCountsFromZero) {
    CounterTracker t;
    t.feed(5000u, std::nullopt, 0);
    EXPECT_EQ(t.feed(100u, 50u, 1000), Event::Restart);
    EXPECT_EQ(t.total(), 5100.0);
    EXPECT_EQ(t.feed(50u, std::nullopt, 2000), Event::Restart);
    EXPECT_EQ(t.total(), 5150.0);
}

TEST(QuotaTracker, TotalNeverFalls) {
    CounterTracker t;
    double last = -1;
    std::uint32_t uptime = 1000;
    std::int64_t ms = 0;
    const std::uint32_t reads[] = {10u, 4000000000u, 5u, 3000000000u, 2999999999u, 0u, 4294967295u, 7u};
    for (std::uint32_t c : reads) {
        uptime += 100;
        ms += 1000;
        t.feed(c, uptime, ms);
        EXPECT_GE(t.total(), last);
        last = t.total();
    }
    uptime = 10; // restart
    t.feed(1u, uptime, ms + 1000);
    EXPECT_GE(t.total(), last);
}

TEST(QuotaTracker, RestartWhileTheComputerSlept) {
    // Last read at 1 hour of router uptime; three days later (the computer slept) the router,
    // restarted in between, has been up two days, longer than before, and its counter is lower.
    // Only the time passed tells this from a wrap.
    CounterTracker t;
    t.feed(3000000000u, 360000u, 0);
    EXPECT_EQ(t.feed(1000u, 17280000u, 3LL * 86400000), Event::Restart);
    EXPECT_EQ(t.total(), 3000001000.0);
    // Had the router kept running those three days, the same fall would be a wrap.
    CounterTracker u;
    u.feed(3000000000u, 360000u, 0);
    EXPECT_EQ(u.feed(1000u, 360000u + 25920000u, 3LL * 86400000), Event::Wrap);
}
