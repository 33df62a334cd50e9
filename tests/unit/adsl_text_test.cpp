// ADSL and Interfaces page value texts.
#include "net/core/SnmpText.h"
#include "views/core/AdslText.h"
#include "views/core/InterfacesText.h"

#include <gtest/gtest.h>

TEST(AdslText, ModeAndStatusMappings) {
    EXPECT_EQ(adsl::modeText("0"), "Link down");
    EXPECT_EQ(adsl::modeText("1"), "ANSI");
    EXPECT_EQ(adsl::modeText("2"), "G.LITE");
    EXPECT_EQ(adsl::modeText("3"), "G.DMT");
    EXPECT_EQ(adsl::modeText("4"), "? [ 4 ]");
    EXPECT_EQ(adsl::modeText(""), "? [  ]");
    EXPECT_EQ(adsl::modeText("01"), "? [ 01 ]");
    EXPECT_EQ(adsl::statusText("0"), "Idle");
    EXPECT_EQ(adsl::statusText("1"), "Initialising");
    EXPECT_EQ(adsl::statusText("2"), "Showtime");
    EXPECT_EQ(adsl::statusText("3"), "? [ 3 ]");
}

TEST(AdslText, QuotesAndPacketCounts) {
    EXPECT_EQ(snmptext::withoutQuotes("\"8000\""), "8000");
    EXPECT_EQ(snmptext::withoutQuotes("a\"b\"\"c"), "abc");
    QString t = "unchanged";
    EXPECT_TRUE(adsl::packetCountText("12345678901", t));
    EXPECT_EQ(t, "12345678901");
    EXPECT_TRUE(adsl::packetCountText("007", t));
    EXPECT_EQ(t, "7");
    t = "unchanged";
    EXPECT_FALSE(adsl::packetCountText("", t));
    EXPECT_FALSE(adsl::packetCountText("12x", t));
    EXPECT_EQ(t, "unchanged");
}

TEST(AdslInterfacesText, StatusOidsAndOctets) {
    EXPECT_EQ(snmptext::ifColumnOid(8, "3"), "1.3.6.1.2.1.2.2.1.8.3");
    ASSERT_TRUE(ifview::operStatusLook("1"));
    EXPECT_EQ(ifview::operStatusLook("1")->text, "UP");
    EXPECT_EQ(ifview::operStatusLook("1")->rgb, 0x008000u);
    EXPECT_EQ(ifview::operStatusLook("2")->text, "DOWN");
    EXPECT_EQ(ifview::operStatusLook("2")->rgb, 0xFF0000u);
    EXPECT_EQ(ifview::operStatusLook("3")->text, "TESTING");
    EXPECT_EQ(ifview::operStatusLook("3")->rgb, 0xFFFF00u);
    EXPECT_FALSE(ifview::operStatusLook("5"));
    EXPECT_FALSE(ifview::operStatusLook(""));
    EXPECT_EQ(ifview::octetsText("4294967295"), QString("4294967295"));
    EXPECT_FALSE(ifview::octetsText(""));
}
