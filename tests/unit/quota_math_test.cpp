#include "monitor/core/QuotaMath.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace quota;

namespace {
const QChar kPoint = QLatin1Char('.');
const QChar kComma = QLatin1Char(',');
constexpr double GiB = 1073741824.0;
constexpr double MiB = 1048576.0;
} // namespace

TEST(QuotaFixed4, IntegerDigitsOnlyWhenNotZeroAndFourDecimals) {
    EXPECT_EQ(formatFixed4(0.5, kPoint), ".5000");
    EXPECT_EQ(formatFixed4(0.0, kPoint), ".0000");
    EXPECT_EQ(formatFixed4(-0.0, kPoint), ".0000");
    EXPECT_EQ(formatFixed4(2.0, kPoint), "2.0000");
    EXPECT_EQ(formatFixed4(1024.0, kComma), "1024,0000");
    EXPECT_EQ(formatFixed4(-3072.0, kComma), "-3072,0000");
    EXPECT_EQ(formatFixed4(-0.25, kPoint), "-.2500");
    EXPECT_EQ(formatFixed4(123456789012.0, kPoint), "123456789012.0000");
}

TEST(QuotaFixed4, RoundsHalfAwayFromZeroOnTheDecimalDigits) {
    EXPECT_EQ(formatFixed4(0.00005, kPoint), ".0001");
    EXPECT_EQ(formatFixed4(-0.00005, kPoint), "-.0001");
    EXPECT_EQ(formatFixed4(0.00004999, kPoint), ".0000");
    EXPECT_EQ(formatFixed4(1.00005, kPoint), "1.0001"); // the double lies just below, the digits do not
    EXPECT_EQ(formatFixed4(2.12345, kPoint), "2.1235");
    EXPECT_EQ(formatFixed4(9.99995, kPoint), "10.0000");
    EXPECT_EQ(formatFixed4(0.99995, kComma), "1,0000");
    EXPECT_EQ(formatFixed4(-0.00001, kPoint), ".0000"); // rounds to zero: no minus
    EXPECT_EQ(formatFixed4(1e-300, kPoint), ".0000");
}

TEST(QuotaFormatGbMb, ThresholdAndUnits) {
    EXPECT_EQ(formatGbMb(2147483648.0, GiB, MiB, kPoint).text, "2.0000 Gb");
    EXPECT_EQ(formatGbMb(1073741824.0, GiB, MiB, kPoint).text, "1024.0000 Mb"); // exactly 1 is not above 1.0
    EXPECT_EQ(formatGbMb(524288.0, GiB, MiB, kPoint).text, ".5000 Mb");
    EXPECT_EQ(formatGbMb(4294967295.0, GiB, MiB, kPoint).text, "4.0000 Gb");
    EXPECT_EQ(formatGbMb(1048576.0, GiB, MiB, kComma).text, "1,0000 Mb");
    EXPECT_EQ(formatGbMb(-3221225472.0, GiB, MiB, kComma).text, "-3072,0000 Mb"); // negative: never Gb
    // A redefined gigabyte moves the threshold.
    EXPECT_EQ(formatGbMb(1500000000.0, 1e9, 1e6, kPoint).text, "1.5000 Gb");
    EXPECT_EQ(formatGbMb(1500000000.0, 2e9, 1e6, kPoint).text, "1500.0000 Mb");
}

TEST(QuotaFormatGbMb, ZeroSizesAreAFloatFault) {
    EXPECT_EQ(formatGbMb(5.0, 0.0, MiB, kPoint).fault, Fault::Float);
    EXPECT_EQ(formatGbMb(0.0, 0.0, MiB, kPoint).fault, Fault::Float);
    EXPECT_EQ(formatGbMb(5.0, GiB, 0.0, kPoint).fault, Fault::Float);
    EXPECT_EQ(formatMbNumber(5.0, 0.0, kPoint).fault, Fault::Float);
    EXPECT_EQ(formatGbMb(5.0, GiB, MiB, kPoint).fault, Fault::None);
}

TEST(QuotaFormatMbNumber, PositiveInMegabytesElseZero) {
    EXPECT_EQ(formatMbNumber(1048576.0 * 1500.5, MiB, kPoint).text, "1500.5000");
    EXPECT_EQ(formatMbNumber(1048576.0 * 1500.5, MiB, kComma).text, "1500,5000");
    EXPECT_EQ(formatMbNumber(524288.0, MiB, kPoint).text, ".5000");
    EXPECT_EQ(formatMbNumber(0.0, MiB, kPoint).text, "0");
    EXPECT_EQ(formatMbNumber(-10.0, MiB, kPoint).text, "0");
}

TEST(QuotaParse, NumbersFollowTheGivenDecimalSeparator) {
    EXPECT_EQ(parseNumber(u"10", kPoint), 10.0);
    EXPECT_EQ(parseNumber(u" 2.5 ", kPoint), 2.5);
    EXPECT_EQ(parseNumber(u"2,5", kComma), 2.5);
    EXPECT_EQ(parseNumber(u"-1,25", kComma), -1.25);
    EXPECT_EQ(parseNumber(u"+7", kPoint), 7.0);
    EXPECT_EQ(parseNumber(u"1e3", kPoint), 1000.0);
    EXPECT_EQ(parseNumber(u"1073741824", kComma), 1073741824.0);
    EXPECT_EQ(parseNumber(u".5", kPoint), 0.5);
    EXPECT_FALSE(parseNumber(u"2,5", kPoint)); // a group separator is not a decimal point
    EXPECT_FALSE(parseNumber(u"1.073.741.824", kComma));
    EXPECT_FALSE(parseNumber(u"", kPoint));
    EXPECT_FALSE(parseNumber(u"abc", kPoint));
    EXPECT_FALSE(parseNumber(u"12abc", kPoint));
    EXPECT_FALSE(parseNumber(u"inf", kPoint));
    EXPECT_FALSE(parseNumber(u"nan", kPoint));
    EXPECT_FALSE(parseNumber(u"1e999", kPoint));
    EXPECT_FALSE(parseNumber(u"1e", kPoint));
    EXPECT_FALSE(parseNumber(u"-", kPoint));
}

TEST(QuotaParse, CountersKeepTheLow32Bits) {
    EXPECT_EQ(parseCounter(u"4294967295"), 4294967295u);
    EXPECT_EQ(parseCounter(u"4294967296"), 0u);
    EXPECT_EQ(parseCounter(u"4294967301"), 5u);
    EXPECT_EQ(parseCounter(u"0"), 0u);
    EXPECT_EQ(parseCounter(u"-1"), 4294967295u);
    EXPECT_FALSE(parseCounter(u""));
    EXPECT_FALSE(parseCounter(u"12.5"));
    EXPECT_FALSE(parseCounter(u"0x10"));
    EXPECT_FALSE(parseCounter(u"99999999999999999999")); // beyond 64 bits
    EXPECT_EQ(parseInt64(u" 123 "), 123);
    EXPECT_EQ(parseInt64(u"-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
}

TEST(QuotaGeneral, GeneralNotationWithTheSeparator) {
    EXPECT_EQ(formatGeneral(1073741824.0, kPoint), "1073741824");
    EXPECT_EQ(formatGeneral(1500.25, kComma), "1500,25");
    EXPECT_EQ(formatGeneral(-3.5, kPoint), "-3.5");
}

TEST(QuotaUsed, DownloadOnlyAndDownloadUpload) {
    Counters c;
    c.inOctets = 5000;
    c.outOctets = 700;
    c.baseInOctets = 1000;
    c.baseOutOctets = 200;
    c.usedOffsetBytes = 50;
    EXPECT_EQ(usedBytes(c, false), 4050.0);
    EXPECT_EQ(usedBytes(c, true), 4550.0);
}

TEST(QuotaView, PercentagesColoursAndRemainingTexts) {
    ViewInput in;
    in.quotaBytes = 10 * GiB;
    in.mayMoveBack = false;

    in.used = 2.5 * GiB; // 25 %
    auto r = refreshView(in);
    EXPECT_EQ(r.fault, Fault::None);
    EXPECT_TRUE(r.barMoved);
    EXPECT_EQ(r.barPosition, 25);
    EXPECT_EQ(r.percentText, "25%");
    EXPECT_EQ(r.remainingText, "7.5000 Gb (75%)");
    EXPECT_EQ(r.colour, kGreen);

    in.decimalPoint = kComma;
    EXPECT_EQ(refreshView(in).remainingText, "7,5000 Gb (75%)");

    in.used = 7 * GiB;
    r = refreshView(in);
    EXPECT_EQ(r.barPosition, 70);
    EXPECT_EQ(r.colour, kYellow);
    in.used = 6.49 * GiB;
    EXPECT_EQ(refreshView(in).colour, kGreen); // 64 %
    in.used = 6.5 * GiB;
    EXPECT_EQ(refreshView(in).colour, kYellow); // 65 %
    in.used = 8.5 * GiB;
    EXPECT_EQ(refreshView(in).colour, kRed);
    in.used = 8.49 * GiB;
    EXPECT_EQ(refreshView(in).colour, kYellow); // 84 %
    in.used = 10 * GiB;
    r = refreshView(in);
    EXPECT_EQ(r.barPosition, 100);
    EXPECT_EQ(r.colour, kRed);
    EXPECT_EQ(r.remainingText, ",0000 Mb (0%)");

    in.used = 13 * GiB; // 130 %: bar and label at 100, remaining negative in megabytes
    r = refreshView(in);
    EXPECT_EQ(r.barPosition, 100);
    EXPECT_EQ(r.percentText, "100%");
    EXPECT_EQ(r.remainingText, "-3072,0000 Mb (0%)");
    EXPECT_EQ(r.colour, kRed);

    in.downloadAndUpload = true;
    EXPECT_EQ(refreshView(in).remainingText, "-3072,0000 Mb");
}

TEST(QuotaView, TicksOnlyMoveForwardTheButtonMayMoveBack) {
    ViewInput in;
    in.quotaBytes = 100.0;
    in.barPosition = 60;
    in.used = 40.0;
    auto r = refreshView(in);
    EXPECT_FALSE(r.barMoved);
    EXPECT_EQ(r.barPosition, 60);
    EXPECT_EQ(r.remainingText, ".0001 Mb (40%)"); // remaining by the bar's position
    EXPECT_EQ(r.colour, kGreen);

    in.used = 60.9; // truncated to 60: not greater
    EXPECT_FALSE(refreshView(in).barMoved);

    in.mayMoveBack = true;
    in.used = 40.0;
    r = refreshView(in);
    EXPECT_TRUE(r.barMoved);
    EXPECT_EQ(r.barPosition, 40);

    in.used = -50.0; // a negative used figure pins the bar at 0
    r = refreshView(in);
    EXPECT_EQ(r.barPosition, 0);
    EXPECT_EQ(r.percentText, "0%");
}

TEST(QuotaView, FloatFaults) {
    ViewInput in;
    in.quotaBytes = 100.0;
    in.used = std::nan("");
    EXPECT_EQ(refreshView(in).fault, Fault::Float);
    in.used = 10.0;
    in.bytesPerGigabyte = 0.0;
    auto r = refreshView(in);
    EXPECT_EQ(r.fault, Fault::Float);
    EXPECT_TRUE(r.barMoved); // the bar step comes before the remaining text
    EXPECT_EQ(r.barPosition, 10);
    in.quotaBytes = 1e-320;
    in.used = 1e300;
    in.bytesPerGigabyte = GiB;
    EXPECT_EQ(refreshView(in).fault, Fault::Float);
}
