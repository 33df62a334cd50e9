// The line history's pure rules: events between samples, thinning for the chart, bytes per day
// and the CSV text.
#include "history/core/LineSample.h"

#include <QDateTime>

#include <gtest/gtest.h>

using namespace history;

namespace {

LineSample sample(std::int64_t t, double downSnr, bool ppp = true, double downRate = 8000) {
    LineSample s;
    s.timeMs = t;
    s.ok = true;
    s.downSnr = downSnr;
    s.downRate = downRate;
    s.upRate = 800;
    s.pppUp = ppp;
    return s;
}

std::vector<EventKind> kinds(const std::vector<LineEvent>& events) {
    std::vector<EventKind> out;
    for (const auto& e : events)
        out.push_back(e.kind);
    return out;
}

} // namespace

TEST(LineHistoryCore, EventsBetweenSamples) {
    const LineSample up = sample(0, 12), down = sample(1000, 12, false),
                     slower = sample(2000, 12, true, 6000);
    EXPECT_TRUE(eventsBetween(std::nullopt, up, false).empty());
    EXPECT_EQ(kinds(eventsBetween(up, down, false)), std::vector{EventKind::Disconnection});
    EXPECT_EQ(kinds(eventsBetween(down, slower, true)),
              (std::vector{EventKind::RouterRestart, EventKind::Reconnection, EventKind::SyncRateChange}));
    EXPECT_TRUE(eventsBetween(up, LineSample{5000}, true).empty()); // a gap tells nothing
}

TEST(LineHistoryCore, ThinningKeepsADipAndBreaksAtGaps) {
    std::vector<LineSample> s;
    for (int i = 0; i < 10000; ++i)
        s.push_back(sample(i * 1000, i == 4321 ? 3.0 : 12.0));
    s[7000].ok = false;
    const Curve c = thinnedCurve(s, Figure::DownSnr, 0, 10000 * 1000, 100);
    ASSERT_EQ(c.size(), 2u);
    std::size_t points = 0;
    double lowest = 99;
    for (const auto& run : c)
        for (const Point& p : run) {
            ++points;
            lowest = std::min(lowest, p.value);
        }
    EXPECT_LE(points, 200u);
    EXPECT_EQ(lowest, 3.0);
    EXPECT_LT(c[0].back().timeMs, 7000 * 1000);
    EXPECT_GT(c[1].front().timeMs, 7000 * 1000);
}

TEST(LineHistoryCore, BytesPerLocalDayAndCsv) {
    const QDateTime noon(QDate(2026, 3, 1), QTime(12, 0));
    LineSample a = sample(noon.toMSecsSinceEpoch(), 11.5),
               b = sample(noon.addDays(1).toMSecsSinceEpoch(), 10);
    a.inBytes = 100;
    b.inBytes = 50;
    b.outBytes = 7;
    LineSample c = b;
    c.timeMs += 60000;
    const LineSample gap{c.timeMs + 60000};
    const auto days = bytesPerDay({a, b, c, gap});
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[1].day, QDate(2026, 3, 2));
    EXPECT_EQ(days[1].inBytes, 100);
    EXPECT_EQ(days[1].outBytes, 14);

    LineSample known{Q_INT64_C(1772366400000)}; // 2026-03-01T12:00:00Z
    known.ok = true;
    known.downRate = 8000;
    known.downSnr = 11.5;
    known.lineStatus = 2;
    known.pppUp = true;
    known.inBytes = 1234;
    const QStringList lines =
        csvText({known, LineSample{known.timeMs + 300000}}).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("time,down_rate_kbps,")));
    EXPECT_EQ(lines[1], QStringLiteral("2026-03-01T12:00:00Z,8000,0,0,0,0,0,11.5,0,2,1,1234,0"));
    EXPECT_EQ(lines[2], QStringLiteral("2026-03-01T12:05:00Z,,,,,,,,,,,,"));
    EXPECT_EQ(lines[3], QString());
}
