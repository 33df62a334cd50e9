// The settings file's INI text: reading, writing, and keeping whatever the program does not use.
#include "app/core/IniFile.h"

#include <gtest/gtest.h>

namespace {

QByteArray roundTrip(const QByteArray& bytes) {
    return IniFile(bytes).serialize();
}

} // namespace

TEST(IniFile, UntouchedContentIsWrittenBackByteForByte) {
    const QByteArray samples[] = {
        "",
        "[Program]\nName=x\n",
        "; comment before any section\n\n[A]\nk=v\n\n; trailing comment\n[B]\n  spaced key  =  spaced value  "
        "\n",
        "[A]\r\nk=v\r\nno equals sign\r\n[B]\r\nx=1",
        "[A]\nk=v", // no final line break
        "garbage\n[[odd]]\n=value without key\n[A\nk=v=w\n",
        QByteArray("[A]\nk=\xff\xfe\x00 bytes\n", 17),
    };
    for (const QByteArray& s : samples)
        EXPECT_EQ(roundTrip(s), s) << s.toStdString();
}

TEST(IniFile, ReadsValuesAfterTheFirstEqualsSignWithNamesMatchedIgnoringCase) {
    IniFile ini(
        "pre=ignored\n[System Info Settings]\n IP = 10.0.0.1 \nCommunity=a=b\n[options]\nLink logging=1\n"
        "Link logging=0\n;Commented=1\n");
    EXPECT_EQ(ini.readString("System Info Settings", "IP", "def"), " 10.0.0.1 "); // the value as it is
    EXPECT_EQ(ini.readString("System Info Settings", "Community", "def"), "a=b");
    EXPECT_EQ(ini.readString("SYSTEM INFO SETTINGS", "ip", "def"), " 10.0.0.1 ");
    EXPECT_TRUE(ini.readBool("Options", "Link logging", false)); // the first of two counts
    EXPECT_FALSE(ini.valueExists("Options", ";Commented"));
    EXPECT_FALSE(ini.valueExists("Options", "Commented"));
    EXPECT_EQ(ini.readString("", "pre", "def"), "def"); // lines before the first section hold no keys
    EXPECT_EQ(ini.readString("Missing", "IP", "def"), "def");
    EXPECT_TRUE(ini.sectionExists("options"));
    EXPECT_EQ(ini.sections(), (std::vector<QString>{"System Info Settings", "options"}));
    EXPECT_EQ(ini.keys("Options"), (std::vector<QString>{"Link logging"}));
}

TEST(IniFile, BooleansAndIntegersTakeDecimalOrHexAndFallBackToTheDefault) {
    IniFile ini(
        "[O]\none=1\nzero=0\nhex=0x10\nhexupper=0XfF\nneg=-3\nblank=\nword=yes\nspaced= 2 \nbig=4294967296\n"
        "halfhex=0x\nplus=+7\n");
    EXPECT_TRUE(ini.readBool("O", "one", false));
    EXPECT_FALSE(ini.readBool("O", "zero", true));
    EXPECT_TRUE(ini.readBool("O", "hex", false));
    EXPECT_TRUE(ini.readBool("O", "neg", false));
    EXPECT_TRUE(ini.readBool("O", "blank", true));
    EXPECT_FALSE(ini.readBool("O", "blank", false));
    EXPECT_TRUE(ini.readBool("O", "word", true));
    EXPECT_FALSE(ini.readBool("O", "word", false));
    EXPECT_TRUE(ini.readBool("O", "missing", true));
    EXPECT_EQ(ini.readInteger("O", "hex", 0), 16);
    EXPECT_EQ(ini.readInteger("O", "hexupper", 0), 255);
    EXPECT_EQ(ini.readInteger("O", "spaced", 0), 2);
    EXPECT_EQ(ini.readInteger("O", "big", -1), -1);
    EXPECT_EQ(ini.readInteger("O", "halfhex", -1), -1);
    EXPECT_EQ(ini.readInteger("O", "plus", 0), 7);
}

TEST(IniFile, ParsesIntegerTextsWithinThirtyTwoBits) {
    EXPECT_EQ(parseIniInteger("2147483647"), 2147483647);
    EXPECT_EQ(parseIniInteger("-2147483648"), -2147483647 - 1);
    EXPECT_FALSE(parseIniInteger("2147483648"));
    EXPECT_FALSE(parseIniInteger("-2147483649"));
    EXPECT_EQ(parseIniInteger("0xFFFFFFFF"), -1);
    EXPECT_FALSE(parseIniInteger("0x100000000"));
    EXPECT_FALSE(parseIniInteger("12a"));
    EXPECT_FALSE(parseIniInteger("1 2"));
    EXPECT_FALSE(parseIniInteger("-"));
    EXPECT_FALSE(parseIniInteger(""));
    EXPECT_FALSE(parseIniInteger(QString::fromUtf8("\xd9\xa3"))); // an Arabic-Indic digit is not a digit here
    EXPECT_EQ(parseIniInteger("007"), 7);
}

TEST(IniFile, AFreshFileIsWrittenInOrderWithABlankLineBetweenSections) {
    IniFile ini;
    ini.writeString("Program", "Name", "Varo's D-Link Kestrune Utility");
    ini.writeString("Program", "Version", "1.2.0.1");
    ini.writeString("System Info Settings", "IP", "192.168.0.1");
    ini.writeBool("Options", "Link logging", true);
    ini.writeBool("Options", "Password", false);
    ini.writeInteger("Quota", "Reset day", 12);
    EXPECT_EQ(ini.serialize(),
              QByteArray("[Program]\nName=Varo's D-Link Kestrune Utility\nVersion=1.2.0.1\n\n"
                         "[System Info Settings]\nIP=192.168.0.1\n\n"
                         "[Options]\nLink logging=1\nPassword=0\n\n"
                         "[Quota]\nReset day=12\n"));
}

TEST(IniFile, ChangesOnlyTheLinesOfChangedKeysAndAddsNewKeysAfterTheSectionsLastKey) {
    IniFile ini("; mine\r\n[A]\r\nKey = old\r\nother=1\r\n\r\n; about B\r\n[B]\r\nx=1");
    ini.writeString("a", "key", "new"); // the file's spelling of names stays
    ini.writeString("A", "added", "2"); // after "other", before the blank line
    ini.writeString("B", "y", "3");     // the last line gets its line break first
    ini.writeString("C", "z", "4");     // a new section at the end
    EXPECT_EQ(ini.serialize(),
              QByteArray("; mine\r\n[A]\r\nKey =new\r\nother=1\r\nadded=2\r\n\r\n; about B\r\n"
                         "[B]\r\nx=1\r\ny=3\r\n\r\n[C]\r\nz=4\r\n"));
    EXPECT_EQ(ini.readString("A", "Key", ""), "new");
}

TEST(IniFile, ALastLineEndedByACarriageReturnAloneKeepsItsMeaningWhenLinesFollow) {
    // "[B=]" closed by a lone CR is a section header, as it is with CR LF; and a key written after
    // it must not turn a key line before it into something else.
    IniFile header(QByteArray("[A]\nk=1\n[B=]\r"));
    EXPECT_TRUE(header.sectionExists("B="));
    IniFile key(QByteArray("[A]\nk=v\r"));
    EXPECT_EQ(key.serialize(), QByteArray("[A]\nk=v\r"));
    EXPECT_EQ(key.readString("A", "k", ""), "v");
    key.writeString("A", "n", "2");
    key.writeString("Z", "z", "3");
    const IniFile back(key.serialize());
    EXPECT_EQ(back.readString("A", "k", ""), "v");
    EXPECT_EQ(back.readString("A", "n", ""), "2");
    EXPECT_EQ(back.readString("Z", "z", ""), "3");
    EXPECT_EQ(key.serialize(), QByteArray("[A]\nk=v\r\nn=2\n\n[Z]\nz=3\n"));
}

TEST(IniFile, AValueCannotBreakTheFileApart) {
    IniFile ini;
    ini.writeString("S", "k", "line1\r\nline2\n[Evil]\nx=1");
    const IniFile back(ini.serialize());
    EXPECT_FALSE(back.sectionExists("Evil"));
    EXPECT_EQ(back.readString("S", "k", ""), "line1  line2 [Evil] x=1");
}

TEST(IniFile, TextsAreUtf8AndOtherBytesStayVisibleAsLatin1) {
    IniFile ini;
    ini.writeString("S", "k", QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac"));
    EXPECT_TRUE(ini.serialize().contains("caf\xc3\xa9 \xe2\x82\xac"));
    EXPECT_EQ(IniFile(ini.serialize()).readString("S", "k", ""),
              QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac"));
    IniFile latin("[S]\nk=caf\xe9\n");
    EXPECT_EQ(latin.readString("S", "k", ""), QString::fromLatin1("caf\xe9"));
    // Written back unchanged (a directory path may hold any bytes), the line keeps its bytes.
    latin.writeString("S", "k", latin.readString("S", "k", ""));
    EXPECT_EQ(latin.serialize(), QByteArray("[S]\nk=caf\xe9\n"));
}

TEST(IniFile, ParsingAgainReplacesTheWholeContent) {
    IniFile ini("[A]\nk=1\n");
    ini.parse("[B]\nj=2\n");
    EXPECT_FALSE(ini.sectionExists("A"));
    EXPECT_EQ(ini.readInteger("B", "j", 0), 2);
}

TEST(IniFile, EveryNameListedCanBeLookedUpAgain) {
    // Names that are not UTF-8, hold a carriage return or an "=" (in a section) come back as listed.
    IniFile ini(QByteArray("[caf\xe9]\nk\xe9y\r=1\n[a=b]\nx=2\n"));
    for (const QString& s : ini.sections()) {
        EXPECT_TRUE(ini.sectionExists(s)) << s.toStdString();
        for (const QString& k : ini.keys(s))
            EXPECT_TRUE(ini.valueExists(s, k)) << k.toStdString();
    }
    EXPECT_EQ(ini.readInteger(QString::fromLatin1("caf\xe9"), QString::fromLatin1("k\xe9y\r"), 0), 1);
    EXPECT_EQ(ini.readInteger("a=b", "x", 0), 2);
    // A key that would not read back as a key is not written.
    const QByteArray before = ini.serialize();
    ini.writeString("a=b", ";comment", "1");
    ini.writeString("a=b", "[header]", "1");
    ini.writeString("a=b", " = ", "1");
    EXPECT_EQ(ini.serialize(), before);
    ini.writeString("a=b", "k=ey\n", "3");
    EXPECT_EQ(ini.readString("a=b", "k=ey\n", ""), "3");
    EXPECT_TRUE(ini.serialize().endsWith("x=2\nk ey=3\n"));
}

TEST(IniFile, AByteOrderMarkIsReadPastAndWrittenBackWhereItWas) {
    const QByteArray bom("\xEF\xBB\xBF");
    const QByteArray file = bom + "[System Info Settings]\r\nIP=10.1.2.3\r\n";
    IniFile ini(file);
    EXPECT_EQ(ini.readString("System Info Settings", "IP", "def"), "10.1.2.3");
    EXPECT_EQ(ini.serialize(), file);
    ini.writeString("System Info Settings", "IP", "10.9.9.9");
    ini.writeString("System Info Settings", "Community", "x");
    EXPECT_EQ(ini.serialize(), bom + "[System Info Settings]\r\nIP=10.9.9.9\r\nCommunity=x\r\n");
}

TEST(IniFile, AByteOrderMarkInsideTheFileIsAnOrdinaryCharacterOfANameOrValue) {
    IniFile ini(QByteArray("[S]\n\xEF\xBB\xBF=v\nk=\xEF\xBB\xBFw\n"));
    const std::vector<QString> keys = ini.keys("S");
    ASSERT_EQ(keys.size(), 2);
    EXPECT_EQ(keys[0], QString(QChar(0xFEFF)));
    EXPECT_TRUE(ini.valueExists("S", keys[0]));
    EXPECT_EQ(ini.readString("S", "k", {}), QString(QChar(0xFEFF)) + "w");
}
