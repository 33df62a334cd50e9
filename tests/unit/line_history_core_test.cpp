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

TEST(LineHistoryCore, CurveKeepsEachColumnsExtremesAndBreaksAtEmptyColumns) {
    auto column = [](std::int64_t t, int answered, double low, double high) {
        Column c{t, t + 100, answered, answered ? 0 : 3};
        c.low[int(Figure::DownSnr)] = low;
        c.high[int(Figure::DownSnr)] = high;
        return c;
    };
    const Curve c = curveOf(
        {column(0, 5, 12, 12), column(1000, 5, 3, 12.5), column(2000, 0, 0, 0), column(3000, 1, 11, 11)},
        Figure::DownSnr);
    ASSERT_EQ(c.size(), 2u);
    ASSERT_EQ(c[0].size(), 3u);
    EXPECT_EQ(c[0][1].value, 3); // the dip survives the thinning
    EXPECT_EQ(c[0][1].timeMs, 1050);
    EXPECT_EQ(c[0][2].value, 12.5);
    EXPECT_EQ(c[1][0].timeMs, 3050);
    EXPECT_EQ(columnWidthMs(0, 1000, 3), 334);
}

TEST(LineHistoryCore, Csv) {
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
