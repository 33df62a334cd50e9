// Locale-dependent texts of the settings file and the settings file's name.
#include "app/core/SettingsText.h"
#include "net/core/SnmpText.h"

#include <gtest/gtest.h>

using namespace settingstext;

TEST(SettingsText, FileNameIsTheExecutablesNameWithTheExtensionReplaced) {
    EXPECT_EQ(settingsFileName("/usr/local/bin/kestrune"), "kestrune.ini");
    EXPECT_EQ(settingsFileName("kestrune.exe"), "kestrune.ini");
    EXPECT_EQ(settingsFileName("/opt/my.dir/tool.v2.bin"), "tool.v2.ini");
    EXPECT_EQ(settingsFileName("/opt/my.dir/tool"), "tool.ini");
    EXPECT_EQ(settingsFileName("/home/u/.hidden"), ".hidden.ini");
}

TEST(SettingsText, GeneralNumbersUseTheLocalesSeparatorAndReadBackWithTheSameLocale) {
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(generalNumber(1073741824.0, en), "1073741824");
    EXPECT_EQ(generalNumber(1073741824.0, de), "1073741824"); // no digit grouping
    EXPECT_EQ(generalNumber(1048576.0, de), "1048576");
    EXPECT_EQ(generalNumber(1000000000.5, en), "1000000000.5");
    EXPECT_EQ(generalNumber(1000000000.5, de), "1000000000,5");
    EXPECT_EQ(generalNumber(-0.0, en), "0");
    for (double v : {1073741824.0, 1000000000.5, 0.125, 1e20, 123456789012345.0}) {
        EXPECT_EQ(parseNumber(generalNumber(v, de), de), v);
        EXPECT_EQ(parseNumber(generalNumber(v, en), en), v);
    }
    EXPECT_EQ(parseNumber(" 1048576 ", en), 1048576.0);
    EXPECT_EQ(parseNumber("1,5", de), 1.5);
    EXPECT_FALSE(parseNumber("1,5", en));           // a group separator is not accepted
    EXPECT_FALSE(parseNumber("1.073.741.824", de)); // nor digit grouping in a comma locale
    EXPECT_FALSE(parseNumber("", en));
    EXPECT_FALSE(parseNumber("abc", en));
    EXPECT_FALSE(parseNumber("12abc", en));
    EXPECT_FALSE(parseNumber("inf", en));
}

TEST(SettingsText, DateAndTimeFollowTheLocaleAndMidnightHasNoTime) {
    const QLocale en(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_FALSE(longTimeFormat(en).contains(QLatin1Char('t')));
    EXPECT_FALSE(longTimeFormat(de).contains(QLatin1Char('t')));
    const QDateTime when(QDate(2024, 3, 7), QTime(14, 5, 9));
    EXPECT_EQ(dateTimeText(when, de), shortDate(when.date(), de) + " 14:05:09");
    EXPECT_EQ(shortDate(when.date(), de), de.toString(when.date(), QLocale::ShortFormat));
    const QString enText = dateTimeText(when, en);
    EXPECT_TRUE(enText.startsWith(en.toString(when.date(), QLocale::ShortFormat) + " "))
        << enText.toStdString();
    EXPECT_TRUE(enText.contains("2:05:09")) << enText.toStdString();
    EXPECT_EQ(dateTimeText(QDateTime(QDate(2024, 3, 7), QTime(0, 0, 0)), de),
              shortDate(QDate(2024, 3, 7), de));
    EXPECT_NE(dateTimeText(QDateTime(QDate(2024, 3, 7), QTime(0, 0, 1)), de),
              shortDate(QDate(2024, 3, 7), de));
}

TEST(SnmpText, RouterBytesShowAsUtf8WhenValidElseEveryByteAsLatin1) {
    EXPECT_EQ(snmptext::fromRouter("plain"), "plain");
    EXPECT_EQ(snmptext::fromRouter("caf\xc3\xa9"), QString::fromUtf8("caf\xc3\xa9"));
    const std::string odd("a\xe9\xff\x00z", 5);
    const QString shown = snmptext::fromRouter(odd);
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[1].unicode(), 0xe9);
    EXPECT_EQ(shown[2].unicode(), 0xff);
    EXPECT_EQ(shown[3].unicode(), 0);
    EXPECT_EQ(snmptext::toRouter(QString::fromUtf8("R\xc3\xa4um 12")), "R\xc3\xa4um 12");
}
