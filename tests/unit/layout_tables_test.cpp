// Table dumps of the IP, TCP and UDP panes, checked against texts written out in full.
#include "views/core/TableLayouts.h"

#include <gtest/gtest.h>

using namespace tablelayout;

namespace {
QStringList q(std::initializer_list<const char*> values) {
    QStringList out;
    for (const char* v : values)
        out << QStringLiteral("\"%1\"").arg(QString::fromUtf8(v));
    return out;
}
// Pane lines of a dump: every CR LF inside an appended text starts a new line.
QStringList lines(const QStringList& appends) {
    QStringList out;
    for (const QString& a : appends)
        out << a.split(QStringLiteral("\r\n"));
    return out;
}
} // namespace

TEST(LayoutAddressTable, TwoAddressesGiveTwelveLines) {
    // Column by column: addresses, interfaces, masks, broadcasts, reassembly sizes.
    const QStringList walk =
        q({"192.168.0.1", "10.1.2.3", "1", "4", "255.255.255.0", "255.0.0.0", "1", "1", "65535", "1500"});
    const QStringList expected{
        "           IP: 192.168.0.1", "    Interface: 1",     "  Subnet mask: 255.255.255.0",
        "    Broadcast: 1",           " ReasmMaxSize: 65535", " ",
        "           IP: 10.1.2.3",    "    Interface: 4",     "  Subnet mask: 255.0.0.0",
        "    Broadcast: 1",           " ReasmMaxSize: 1500",  " "};
    EXPECT_EQ(addressTableDump(walk), expected);
    EXPECT_EQ(addressTableDump(walk).size(), 12);
}

TEST(LayoutAddressTable, EmptyWalkAndQuotesInsideValues) {
    EXPECT_TRUE(addressTableDump({}).isEmpty());
    EXPECT_TRUE(netToMediaTableDump({}).isEmpty());
    EXPECT_TRUE(routeTableDump({}).isEmpty());
    EXPECT_TRUE(tcpConnectionDump({}).isEmpty());
    // A value a"b comes from the walk as "a""b": every quote goes.
    const QStringList walk{"\"a\"\"b\"", "\"1\"", "\"m\"", "\"b\"", "\"r\""};
    EXPECT_EQ(addressTableDump(walk).first(), "           IP: ab");
}

TEST(LayoutRouteTable, BlockLayoutWithCrLfInsideAndWords) {
    // Two routes, 13 columns each, column by column.
    QStringList walk;
    walk << q({"0.0.0.0", "192.168.0.0"})      // dest
         << q({"4", "1"})                      // ifIndex
         << q({"1", "0"}) << q({"-1", "-1"})   // metric1, metric2
         << q({"-1", "-1"}) << q({"-1", "-1"}) // metric3, metric4
         << q({"10.0.0.138", "192.168.0.1"})   // next hop
         << q({"4", "3"})                      // type
         << q({"3", "2"})                      // proto
         << q({"120", "0"})                    // age
         << q({"0.0.0.0", "255.255.255.0"})    // mask
         << q({"-1", "-1"})                    // metric5
         << q({"0.0", "0.0"});                 // info
    const QStringList appends = routeTableDump(walk);
    ASSERT_EQ(appends.size(), 18);
    EXPECT_EQ(appends[3], "        Type: indirect\r\n       Proto: netmgmt\r\n         Age: 120");
    const QStringList expected{" Destination: 0.0.0.0",
                               "   Interface: 4",
                               "     NextHop: 10.0.0.138",
                               "        Type: indirect",
                               "       Proto: netmgmt",
                               "         Age: 120",
                               "        Mask: 0.0.0.0",
                               "     Metric1: 1      Metric2: -1",
                               "     Metric3: -1      Metric4: -1",
                               "     Metric5: -1         Info: 0.0",
                               " ",
                               " Destination: 192.168.0.0",
                               "   Interface: 1",
                               "     NextHop: 192.168.0.1",
                               "        Type: direct",
                               "       Proto: local",
                               "         Age: 0",
                               "        Mask: 255.255.255.0",
                               "     Metric1: 0      Metric2: -1",
                               "     Metric3: -1      Metric4: -1",
                               "     Metric5: -1         Info: 0.0",
                               " "};
    EXPECT_EQ(lines(appends), expected);
}

TEST(LayoutRouteTable, EveryCodeWordAndCodesOutsideTheLists) {
    const QStringList types{"other", "invalid", "direct", "indirect"};
    for (int i = 0; i < types.size(); ++i)
        EXPECT_EQ(routeTypeWord(QString::number(i + 1)), types[i]);
    const QStringList protos{"other", "local", "netmgmt", "icmp",      "egp",       "ggp",  "hello",
                             "rip",   "is-is", "es-is",   "ciscoIgrp", "bbnSpfIgp", "ospf", "bgp"};
    for (int i = 0; i < protos.size(); ++i)
        EXPECT_EQ(routeProtoWord(QString::number(i + 1)), protos[i]);
    // Only the exact digits match; anything else is shown as it came, so nothing is hidden.
    EXPECT_EQ(routeTypeWord("5"), "5");
    EXPECT_EQ(routeTypeWord("03"), "03");
    EXPECT_EQ(routeTypeWord(" 3"), " 3");
    EXPECT_EQ(routeTypeWord(""), "");
    EXPECT_EQ(routeProtoWord("15"), "15");
    EXPECT_EQ(routeProtoWord("0"), "0");
}

TEST(LayoutNetToMedia, BlockAndTypeLines) {
    const QStringList walk =
        q({"1", "1", "00802d4f1a2b", "0a0b0c0d0e0f", "192.168.0.2", "192.168.0.7", "3", "4"});
    const QStringList expected{"        Interface: 1",
                               " Physical address: 00802d4f1a2b",
                               "      Net address: 192.168.0.2",
                               "             Type: dynamic",
                               " ",
                               "        Interface: 1",
                               " Physical address: 0a0b0c0d0e0f",
                               "      Net address: 192.168.0.7",
                               "             Type: static",
                               " "};
    EXPECT_EQ(netToMediaTableDump(walk), expected);
    EXPECT_EQ(mediaTypeLine("1"), "             Type: other");
    EXPECT_EQ(mediaTypeLine("2"), "             Type: invalid");
    EXPECT_EQ(mediaTypeLine("9"), "             Type: 9");
}

TEST(LayoutTcp, EstablishedConnectionGivesFourLines) {
    const QStringList walk = q({"5", "192.168.0.1", "23", "192.168.0.2", "1025"});
    const QStringList expected{" State: established", " Local  IP: 192.168.0.1  Port: 23",
                               " Remote IP: 192.168.0.2  Port: 1025", " "};
    EXPECT_EQ(tcpConnectionDump(walk), expected);
}

TEST(LayoutTcp, StateLinesAndUnknownStates) {
    const QStringList states{"     State: closed",  "     State: listen",  " State: synSent",
                             " State: synReceived", " State: established", " State: finwait1",
                             " State: finwait2",    " State: closeWait",   " State: lastAck",
                             " State: closing",     " State: timeWait",    " State: deleteTCB"};
    for (int i = 0; i < states.size(); ++i)
        EXPECT_EQ(tcpStateLine(QString::number(i + 1)), states[i]);
    // A code outside 1 to 12 writes no state line; the address lines stay.
    const QStringList walk = q({"2", "13", "0.0.0.0", "0.0.0.0", "23", "80", "0.0.0.0", "0.0.0.0", "0", "0"});
    const QStringList expected{"     State: listen",
                               " Local  IP: 0.0.0.0  Port: 23",
                               " Remote IP: 0.0.0.0  Port: 0",
                               " ",
                               " Local  IP: 0.0.0.0  Port: 80",
                               " Remote IP: 0.0.0.0  Port: 0",
                               " "};
    EXPECT_EQ(tcpConnectionDump(walk), expected);
}

TEST(LayoutUdp, TwoListenersGiveFourLines) {
    const QStringList expected{" Address\tPort", " 0.0.0.0\t69", " 127.0.0.1\t161", " "};
    EXPECT_EQ(udpListenerDump(q({"0.0.0.0", "127.0.0.1"}), q({"69", "161"})), expected);
}

TEST(LayoutUdp, SharedPortPairOnOneLineAndEmptyTable) {
    // Both listeners come back on one line of each column walk.
    const QStringList addresses{"\"0.0.0.0\",\"10.0.0.0\""};
    const QStringList ports{"\"161\",\"161\""};
    const QStringList expected{" Address\tPort", " 0.0.0.0,10.0.0.0\t161,161", " "};
    EXPECT_EQ(udpListenerDump(addresses, ports), expected);
    EXPECT_EQ(udpListenerDump({}, {}), (QStringList{" Address\tPort", " "}));
}

TEST(LayoutUdp, OneLinePerAddressWhenTheListsDiffer) {
    // The port walk stopped early: the address is shown with an empty port.
    EXPECT_EQ(udpListenerDump(q({"0.0.0.0", "10.0.0.1"}), q({"69"})),
              (QStringList{" Address\tPort", " 0.0.0.0\t69", " 10.0.0.1\t", " "}));
    // The address walk stopped early: the lines follow the address list, extra ports are not shown.
    EXPECT_EQ(udpListenerDump(q({"0.0.0.0"}), q({"69", "161"})),
              (QStringList{" Address\tPort", " 0.0.0.0\t69", " "}));
    EXPECT_EQ(udpListenerDump({}, q({"69"})), (QStringList{" Address\tPort", " "}));
}

TEST(LayoutTcp, RtoAlgorithmWords) {
    EXPECT_EQ(rtoAlgorithmWord("1"), "other");
    EXPECT_EQ(rtoAlgorithmWord("2"), "constant");
    EXPECT_EQ(rtoAlgorithmWord("3"), "rsre");
    EXPECT_EQ(rtoAlgorithmWord("4"), "vanj");
    for (const char* other : {"0", "5", "04", " 4", "", "vanj"})
        EXPECT_TRUE(rtoAlgorithmWord(other).isEmpty()) << other;
}

TEST(LayoutBlocks, LabelsAreRightAlignedOnTheirColons) {
    // Every labelled line of a block puts its first colon in the same column: the label width
    // minus the ": " that follows the label.
    auto colons = [](const QStringList& block) {
        QList<qsizetype> at;
        for (const QString& line : block)
            if (line != " ") at << line.indexOf(QLatin1Char(':'));
        return at;
    };
    const QStringList address = addressTableDump(q({"a", "b", "c", "d", "e"}));
    EXPECT_EQ(colons(address), QList<qsizetype>(5, 13));
    QStringList route;
    for (const QString& text :
         routeTableDump(q({"a", "b", "c", "d", "e", "f", "g", "1", "1", "h", "i", "j", "k"})))
        route << text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(colons(route), QList<qsizetype>(10, 12));
    const QStringList media = netToMediaTableDump(q({"a", "b", "c", "3"}));
    EXPECT_EQ(colons(media), QList<qsizetype>(4, 17));
    // The second label of the metric lines: 6 (or 9 before Info) spaces after the first value.
    EXPECT_TRUE(route[7].endsWith("c      Metric2: d"));
    EXPECT_TRUE(route[8].endsWith("e      Metric4: f"));
    EXPECT_TRUE(route[9].endsWith("j         Info: k"));
}

TEST(LayoutWalkTable, IncompleteWalkShowsEveryValueOnceAndSaysSo) {
    // 7 values for 5 columns: two rows, three cells missing at the end.
    const QStringList walk = q({"a", "b", "c", "d", "e", "f", "g"});
    const WalkTable t(walk, 5);
    EXPECT_FALSE(t.complete());
    EXPECT_EQ(t.rows(), 2);
    QStringList seen;
    for (int r = 0; r < t.rows(); ++r)
        for (int j = 0; j < 5; ++j)
            if (!t.cell(r, j).isEmpty()) seen << t.cell(r, j);
    seen.sort();
    EXPECT_EQ(seen, (QStringList{"a", "b", "c", "d", "e", "f", "g"}));
    EXPECT_EQ(t.cell(0, 0), "a");
    EXPECT_EQ(t.cell(1, 0), "b");
    EXPECT_EQ(t.cell(1, 3), "");
    EXPECT_EQ(t.cell(5, 0), "");

    const QStringList dump = addressTableDump(walk);
    ASSERT_EQ(dump.size(), 13);
    EXPECT_EQ(dump[0], incompleteNote(7, 5));
    EXPECT_TRUE(dump[0].startsWith(" Incomplete table: 7 values for 5 columns"));
    EXPECT_EQ(dump[1], "           IP: a");
    EXPECT_EQ(dump[12], " ");

    // A single value of a connection table still appears.
    const QStringList tcp = tcpConnectionDump(q({"5"}));
    EXPECT_EQ(tcp, (QStringList{incompleteNote(1, 5), " State: established",
                                " Local  IP:   Port: ", " Remote IP:   Port: ", " "}));
}

TEST(LayoutRawDump, HeadingAndSeparator) {
    const QStringList walk{"\"1\",\"64\",\"100\"", "\"192.168.0.1\""};
    EXPECT_EQ(rawIpGroupDump(walk, false),
              (QStringList{"Dump of raw IP address table", " ", "\"1\",\"64\",\"100\"", "\"192.168.0.1\""}));
    EXPECT_EQ(rawIpGroupDump(walk, true).first(), " ");
    EXPECT_EQ(rawIpGroupDump(walk, true).size(), 5);
}
