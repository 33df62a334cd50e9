// The router uptime in words and the short elapsed form.
#include "views/core/UptimeFormat.h"

#include <gtest/gtest.h>

using namespace uptimeformat;

TEST(UptimeFormat, LongFormSplitsTicksIntoDaysHoursMinutesSeconds) {
    EXPECT_EQ(longForm(26523456), "03 days 01 hours 40 mins 34 secs");
    EXPECT_EQ(longForm(0), "00 days 00 hours 00 mins 00 secs");
    EXPECT_EQ(longForm(8640000), "01 days 00 hours 00 mins 00 secs");
    EXPECT_EQ(longForm(8639999), "00 days 23 hours 59 mins 59 secs");
    EXPECT_EQ(longForm(4294967295LL), "497 days 02 hours 27 mins 52 secs");
    EXPECT_TRUE(longForm(123LL * 8640000 + 99).startsWith("123 days "));
    EXPECT_EQ(longFormText("26523456"), "03 days 01 hours 40 mins 34 secs");
    EXPECT_EQ(longFormText("4294967295"), "497 days 02 hours 27 mins 52 secs");
}

TEST(UptimeFormat, LongFormOfATextThatIsNoUptimeIsNothing) {
    for (const char* bad : {"", "abc", "12 ", " 12", "1.5", "-1", "99999999999999999999", "+"})
        EXPECT_FALSE(longFormText(bad)) << bad;
}

TEST(UptimeFormat, ParsesSignedSixtyFourBitDecimalTexts) {
    EXPECT_EQ(parseTicks("9223372036854775807"), 9223372036854775807LL);
    EXPECT_EQ(parseTicks("-9223372036854775808"), -9223372036854775807LL - 1);
    EXPECT_FALSE(parseTicks("9223372036854775808"));
    EXPECT_EQ(parseTicks("+5"), 5);
    EXPECT_FALSE(parseTicks("0x10"));
}

TEST(UptimeFormat, ElapsedTextIsTheShortFormOfTheDifference) {
    EXPECT_EQ(elapsedText("26523456", "26523456"), "00:00:00:00");
    EXPECT_EQ(elapsedText("1350700", "100000"), "00:03:28:27");
    EXPECT_EQ(elapsedText("1351700", "0"), "00:03:45:17");
    EXPECT_EQ(elapsedText("13500", "0"), "00:00:02:15");
    EXPECT_EQ(elapsedText("4294967295", "0"), "497:02:27:52"); // days may take three digits
    EXPECT_EQ(shortForm(8640000 + 360000 * 2 + 6000 * 15 + 700), "01:02:15:07");
}

TEST(UptimeFormat, ElapsedTextNamesARouterRestartAndAnUnknownValue) {
    // The reference is later than the router's uptime now: the router restarted in between.
    EXPECT_EQ(elapsedText("500", "26523456"), kRestartedText);
    EXPECT_EQ(elapsedText("0", "1"), kRestartedText);
    for (auto [now, ref] : {std::pair{"abc", "0"}, {"100", ""}, {"", ""}, {"1.5", "1"}, {"100", "up"}})
        EXPECT_EQ(elapsedText(now, ref), kUnknownElapsedText) << now << " / " << ref;
    EXPECT_EQ(elapsedText("9223372036854775807", "-9223372036854775808"), kUnknownElapsedText); // overflow
}
