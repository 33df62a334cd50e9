// Row building of table walks: row keys, hexadecimal form of control bytes, quoting, subtree and order tests.
#include "net/core/SnmpWalkRows.h"

#include <gtest/gtest.h>

using snmpwalk::WalkRows;

TEST(SnmpWalkRows, RowKeys) {
    // Table entry as base: the key is the instance.
    EXPECT_EQ(snmpwalk::RowKey("1.3.6.1.2.1.4.20.1", "1.3.6.1.2.1.4.20.1.1.10.0.0.1"), "10.0.0.1");
    // Table as base: column and instance.
    EXPECT_EQ(snmpwalk::RowKey("1.3.6.1.2.1.4.20", "1.3.6.1.2.1.4.20.1.3.10.0.0.1"), "3.10.0.0.1");
    // Group as base: scalars are keyed 0, table values by entry, column and instance.
    EXPECT_EQ(snmpwalk::RowKey("1.3.6.1.2.1.2", "1.3.6.1.2.1.2.1.0"), "0");
    EXPECT_EQ(snmpwalk::RowKey("1.3.6.1.2.1.2", "1.3.6.1.2.1.2.2.1.10.4"), "1.10.4");
    // No "." after the column: empty key.
    EXPECT_EQ(snmpwalk::RowKey("1.3.6.1.2.1.2", "1.3.6.1.2.1.2.1"), "");
    // The base is looked for anywhere in the name; when it is missing the whole name is used.
    EXPECT_EQ(snmpwalk::RowKey("2.1", "1.3.6.1.2.1.7.0"), "0");
    EXPECT_EQ(snmpwalk::RowKey("9.9", "1.3.6.1"), "3.6.1");
    EXPECT_EQ(snmpwalk::RowKey("1.3", "1.3"), "3");
    // Blanks and control characters are trimmed at both ends of the rest and of the key.
    EXPECT_EQ(snmpwalk::RowKey("1.3", "1.3. 5. 7 \r\n"), "7");
    EXPECT_EQ(snmpwalk::Trim(std::string_view("\0\t x y \x1f ", 8)), "x y");
    EXPECT_EQ(snmpwalk::Trim(" \t "), "");
}

TEST(SnmpWalkRows, HexRuleAndQuoting) {
    EXPECT_EQ(snmpwalk::HexIfControl(std::string("\x00\x80\x2D\x4F\x1A\x2B", 6)), "00802d4f1a2b");
    EXPECT_EQ(snmpwalk::HexIfControl("a\tb"), "a\tb") << "a tab stays text";
    EXPECT_EQ(snmpwalk::HexIfControl("a\rb"), "610d62");
    EXPECT_EQ(snmpwalk::HexIfControl("\x08"), "08");
    EXPECT_EQ(snmpwalk::HexIfControl("\x0a"), "0a");
    EXPECT_EQ(snmpwalk::HexIfControl("\x1f"), "1f");
    EXPECT_EQ(snmpwalk::HexIfControl(" ~\x7f\xff"), " ~\x7f\xff") << "only 0x00-0x08 and 0x0A-0x1F count";
    EXPECT_EQ(snmpwalk::HexIfControl(""), "");

    EXPECT_EQ(snmpwalk::Quote("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(snmpwalk::Quote(""), "\"\"");
    EXPECT_EQ(snmpwalk::Quote("\"\""), "\"\"\"\"\"\"");
    EXPECT_EQ(snmpwalk::Quote("x,y"), "\"x,y\"");
}

TEST(SnmpWalkRows, SubtreeAndGetNextOrder) {
    EXPECT_TRUE(snmpwalk::InSubtree("1.3.6.1.2.1.2", "1.3.6.1.2.1.2.2.1.1.1"));
    EXPECT_TRUE(snmpwalk::InSubtree("1.3.6.1.2.1.2", "1.3.6.1.2.1.2"));
    EXPECT_FALSE(snmpwalk::InSubtree("1.3.6.1.2.1.2", "1.3.6.1.2.1.25.1.1.0"));
    EXPECT_FALSE(snmpwalk::InSubtree("1.3.6.1.2.1.2", "1.3.6.1.2.1.3.1.1.1"));
    EXPECT_FALSE(snmpwalk::InSubtree("1.3.6.1.2.1.2", "1.3.6.1.2.1"));
    EXPECT_FALSE(snmpwalk::InSubtree("1.3.6.1.2.1.2", ""));
    EXPECT_TRUE(snmpwalk::InSubtree("", "1.3.6.1.2.1.2"));

    EXPECT_LT(snmpwalk::CompareOids("1.3.6.1.2.1.2", "1.3.6.1.2.1.2.1.0"), 0);
    EXPECT_LT(snmpwalk::CompareOids("1.3.6.1.2.1.2.2.1.9.5", "1.3.6.1.2.1.2.2.1.10.1"), 0)
        << "numeric, not text";
    EXPECT_GT(snmpwalk::CompareOids("1.3.6.1.2.1.3", "1.3.6.1.2.1.2.2.1.22.5"), 0);
    EXPECT_EQ(snmpwalk::CompareOids("1.3.6.1", "1.3.6.1"), 0);
    EXPECT_GT(snmpwalk::CompareOids("1.3.6.1", "1.3.6"), 0);
    EXPECT_LT(snmpwalk::CompareOids("", "0"), 0);
    EXPECT_EQ(snmpwalk::CompareOids("", ""), 0);
    EXPECT_LT(snmpwalk::CompareOids("1.3.4294967295", "1.3.99999999999999999999999"), 0);
}

TEST(SnmpWalkRows, LinesOfEntryTableAndGroupWalks) {
    // Entry as base: one line per table row, values in column order.
    WalkRows entry("1.3.6.1.2.1.4.20.1");
    for (const char* ip : {"10.0.0.1", "192.168.0.1"})
        entry.Add(std::string("1.3.6.1.2.1.4.20.1.1.") + ip, ip);
    for (const char* ip : {"10.0.0.1", "192.168.0.1"})
        entry.Add(std::string("1.3.6.1.2.1.4.20.1.2.") + ip, ip[0] == '1' && ip[1] == '0' ? "2" : "1");
    EXPECT_EQ(entry.Lines(), (std::vector<std::string>{"\"10.0.0.1\",\"2\"", "\"192.168.0.1\",\"1\""}));

    // Table as base: every value on its own line, in walk order.
    WalkRows table("1.3.6.1.2.1.4.20");
    table.Add("1.3.6.1.2.1.4.20.1.1.10.0.0.1", "10.0.0.1");
    table.Add("1.3.6.1.2.1.4.20.1.1.192.168.0.1", "192.168.0.1");
    table.Add("1.3.6.1.2.1.4.20.1.2.10.0.0.1", "2");
    EXPECT_EQ(table.Lines(), (std::vector<std::string>{"\"10.0.0.1\"", "\"192.168.0.1\"", "\"2\""}));

    // Group as base: the scalars share one line; table values each get their own.
    WalkRows group("1.3.6.1.2.1.4");
    group.Add("1.3.6.1.2.1.4.1.0", "2");
    group.Add("1.3.6.1.2.1.4.2.0", "64");
    group.Add("1.3.6.1.2.1.4.3.0", "12345");
    group.Add("1.3.6.1.2.1.4.20.1.1.10.0.0.1", "10.0.0.1");
    group.Add("1.3.6.1.2.1.4.23.0", "0");
    EXPECT_EQ(group.Lines(), (std::vector<std::string>{"\"2\",\"64\",\"12345\",\"0\"", "\"10.0.0.1\""}));

    // The UDP listener column: instances that differ only in their first arc after the base share a line.
    WalkRows udp("1.3.6.1.2.1.7.5.1.1");
    udp.Add("1.3.6.1.2.1.7.5.1.1.0.0.0.0.161", "0.0.0.0");
    udp.Add("1.3.6.1.2.1.7.5.1.1.0.0.0.0.69", "0.0.0.0");
    udp.Add("1.3.6.1.2.1.7.5.1.1.10.0.0.0.161", "10.0.0.0");
    EXPECT_EQ(udp.Lines(), (std::vector<std::string>{"\"0.0.0.0\",\"10.0.0.0\"", "\"0.0.0.0\""}));

    // Values: control bytes in hex, quotes doubled, tabs kept.
    WalkRows values("1.3.6.1.2.1.2.2.1");
    values.Add("1.3.6.1.2.1.2.2.1.6.1", std::string("\x00\x80\x2D\x4F\x1A\x2B", 6));
    values.Add("1.3.6.1.2.1.2.2.1.2.2", "a\"b");
    values.Add("1.3.6.1.2.1.2.2.1.2.3", "x\ty");
    values.Add("1.3.6.1.2.1.2.2.1.2.3", "l\r");
    values.Add("1.3.6.1.2.1.2.2.1.2.4", "");
    EXPECT_EQ(values.Lines(),
              (std::vector<std::string>{"\"00802d4f1a2b\"", "\"a\"\"b\"", "\"x\ty\",\"6c0d\"", "\"\""}));
    EXPECT_EQ(values.TakeLines().size(), 4u);
}

TEST(SnmpWalkRows, ManyRowsKeepTheirOrderAndCollectTheirColumns) {
    // Far more keys than the first key table holds, each seen once per column.
    WalkRows entry("1.3.6.1.2.1.4.21.1");
    std::vector<std::string> expected;
    for (int column = 1; column <= 3; ++column) {
        for (int instance = 0; instance < 1000; ++instance) {
            const std::string key = "10." + std::to_string(instance * 7919 % 1000) + ".0.1";
            entry.Add("1.3.6.1.2.1.4.21.1." + std::to_string(column) + "." + key, std::to_string(column));
            if (column == 1)
                expected.push_back("\"1\"");
            else
                expected[static_cast<std::size_t>(instance)] += ",\"" + std::to_string(column) + "\"";
        }
    }
    EXPECT_EQ(entry.Lines(), expected);
}
