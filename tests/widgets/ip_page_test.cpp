// The IP page against the router stand-in: statistics, the three table dumps, sub-pages and help
// keywords, the failure rules, and the Debug page's raw dump of the ip group.
#include "ui/UiSeam.h"
#include "net/SnmpClient.h"
#include "support/DroppingAgent.h"
#include "support/MainFormHarness.h"
#include "support/PageTestHelpers.h"

#include <QGridLayout>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTabWidget>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;
using namespace pagetest;

namespace {

const char* const kErr = " Error: Check IP address and/or SNMP community name";

QTabWidget* subPages(TMainForm& f) {
    return f.w<QTabWidget>("IP_PageControl", page(f, "IP"));
}

// Every value label of the Statistics sub-page with its OID.
const std::pair<const char*, const char*> kStats[] = {
    {"DefaultTTL_Label", "1.3.6.1.2.1.4.2.0"},       {"InReceives_Label", "1.3.6.1.2.1.4.3.0"},
    {"InHdrErrors_Label", "1.3.6.1.2.1.4.4.0"},      {"InAddrErrors_Label", "1.3.6.1.2.1.4.5.0"},
    {"ForwDatagrams_Label", "1.3.6.1.2.1.4.6.0"},    {"InUnknownProtos_Label", "1.3.6.1.2.1.4.7.0"},
    {"InDiscards_Label", "1.3.6.1.2.1.4.8.0"},       {"InDelivers_Label", "1.3.6.1.2.1.4.9.0"},
    {"OutRequests_Label", "1.3.6.1.2.1.4.10.0"},     {"OutDiscards_Label", "1.3.6.1.2.1.4.11.0"},
    {"OutNoRoutes_Label", "1.3.6.1.2.1.4.12.0"},     {"ReasmTimeout_Label", "1.3.6.1.2.1.4.13.0"},
    {"ReasmReqds_Label", "1.3.6.1.2.1.4.14.0"},      {"ReasmOKs_Label", "1.3.6.1.2.1.4.15.0"},
    {"ReasmFails_Label", "1.3.6.1.2.1.4.16.0"},      {"FragOKs_Label", "1.3.6.1.2.1.4.17.0"},
    {"FragFails_Label", "1.3.6.1.2.1.4.18.0"},       {"FragCreates_Label", "1.3.6.1.2.1.4.19.0"},
    {"RoutingDiscards_Label", "1.3.6.1.2.1.4.23.0"},
};

// Fills every label and pane with a marker so that "left unchanged" can be seen.
void markAll(TMainForm& f) {
    label(f, "IP", "Forwarding_Label")->setText("mark");
    for (const auto& [name, oid] : kStats)
        label(f, "IP", name)->setText("mark");
    for (const char* p : {"AddrTable_Memo", "RouteTable_Memo", "MediaTable_Memo"})
        f.w<QPlainTextEdit>(p)->setPlainText("old text");
}

} // namespace

TEST(IpPage, WidgetsStartWithTheirCaptionsAndDashes) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.setSilent(true); };
    MainFormHarness h(o);
    TMainForm& f = h.form();
    QTabWidget* tabs = subPages(f);
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 4);
    const char* names[] = {"StatisticsTab", "AddressTab", "RouteTab", "NetToMediaTab"};
    const char* captions[] = {" Statistics ", " Address table ", " Route table ", " Net to Media table "};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(tabs->widget(i)->objectName(), names[i]);
        EXPECT_EQ(tabs->tabText(i), captions[i]);
    }
    EXPECT_EQ(text(f, "IP", "Forwarding_Label"), "----");
    EXPECT_EQ(label(f, "IP", "ForwardingL_Label")->text(), "Forwarding:");
    EXPECT_TRUE(label(f, "IP", "ForwardingL_Label")->alignment() & Qt::AlignRight);
    EXPECT_TRUE(label(f, "IP", "Forwarding_Label")->font().bold());
    EXPECT_EQ(label(f, "IP", "RoutingDiscardsL_Label")->text(), "RoutingDiscards:");
    for (const auto& [name, oid] : kStats)
        EXPECT_EQ(text(f, "IP", name), "----") << name;
    // Two columns of ten in the order of the reads: Forwarding to OutRequests, OutDiscards to
    // RoutingDiscards; each name label just left of its value label.
    auto* grid = qobject_cast<QGridLayout*>(tabs->widget(0)->layout());
    ASSERT_NE(grid, nullptr);
    std::vector<const char*> order{"Forwarding_Label"};
    for (const auto& [name, oid] : kStats)
        order.push_back(name);
    for (std::size_t i = 0; i < order.size(); ++i) {
        QString nameLabel = QString::fromLatin1(order[i]);
        nameLabel.insert(nameLabel.lastIndexOf("_Label"), 'L');
        int row, col, nrow, ncol, rs, cs;
        grid->getItemPosition(grid->indexOf(label(f, "IP", order[i])), &row, &col, &rs, &cs);
        grid->getItemPosition(grid->indexOf(label(f, "IP", nameLabel.toLatin1().constData())), &nrow, &ncol,
                              &rs, &cs);
        EXPECT_EQ(row, static_cast<int>(i % 10)) << order[i];
        EXPECT_EQ(col, i < 10 ? 1 : 3) << order[i];
        EXPECT_EQ(nrow, row) << order[i];
        EXPECT_EQ(ncol + 1, col) << order[i];
    }
    for (const char* p : {"AddrTable_Memo", "RouteTable_Memo", "MediaTable_Memo"}) {
        auto* pane = f.w<QPlainTextEdit>(p);
        ASSERT_NE(pane, nullptr);
        EXPECT_TRUE(pane->isReadOnly());
        EXPECT_EQ(pane->font().pixelSize(), 13);
    }
}

TEST(IpPage, RefreshShowsStatisticsAndTheThreeTables) {
    MainFormHarness h;
    TMainForm& f = h.form();
    h.router().clearRequestLog();
    showPage(f, "IP");
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(subPages(f)->currentIndex(), 0);

    // The reads in order: ipForwarding, the other nineteen gets, then the three table walks.
    std::vector<std::string> gets, walkTables;
    for (const sim::Router::Request& r : h.router().requests()) {
        ASSERT_FALSE(r.names.empty());
        if (r.pduType == ber::GetRequest) {
            EXPECT_TRUE(walkTables.empty()) << "get after a walk: " << r.names.front();
            gets.push_back(r.names.front());
        } else if (r.pduType == ber::GetNextRequest) {
            const std::string table = r.names.front().substr(0, std::string("1.3.6.1.2.1.4.2x").size());
            if (walkTables.empty() || walkTables.back() != table) walkTables.push_back(table);
        }
    }
    std::vector<std::string> expectedGets{"1.3.6.1.2.1.4.1.0"};
    for (const auto& [name, oid] : kStats)
        expectedGets.emplace_back(oid);
    EXPECT_EQ(gets, expectedGets);
    EXPECT_EQ(walkTables,
              (std::vector<std::string>{"1.3.6.1.2.1.4.20", "1.3.6.1.2.1.4.21", "1.3.6.1.2.1.4.22"}));
    EXPECT_EQ(helpKeyword(f, "PageControl"), "150.html");
    EXPECT_EQ(helpKeyword(f, "GetValues_But"), "150.html");
    EXPECT_EQ(helpKeyword(f, "Help_But"), "150.html");

    EXPECT_EQ(text(f, "IP", "Forwarding_Label"), "Yes");
    EXPECT_EQ(text(f, "IP", "DefaultTTL_Label"), "64");
    EXPECT_EQ(text(f, "IP", "ReasmTimeout_Label"), "60");
    EXPECT_EQ(text(f, "IP", "FragCreates_Label"), "6");
    // Counters that move: the page value lies between the router's value before and after... the
    // stand-in's ip counters follow its traffic, so compare with the value read just now as a floor.
    const quint64 shown = text(f, "IP", "InReceives_Label").toULongLong();
    EXPECT_GT(shown, 0u);
    EXPECT_LE(shown, routerValue(h.router(), "1.3.6.1.2.1.4.3.0").toULongLong());

    EXPECT_EQ(lines(f, "AddrTable_Memo"),
              (QStringList{"           IP: 192.168.0.1", "    Interface: 1", "  Subnet mask: 255.255.255.0",
                           "    Broadcast: 1", " ReasmMaxSize: 65535", " ", "           IP: 203.0.113.57",
                           "    Interface: 4", "  Subnet mask: 255.255.255.255", "    Broadcast: 1",
                           " ReasmMaxSize: 65535", " "}));

    const QStringList routes = lines(f, "RouteTable_Memo");
    ASSERT_EQ(routes.size(), 5 * 11);
    EXPECT_EQ(routes.mid(0, 5),
              (QStringList{" Destination: 0.0.0.0", "   Interface: 4", "     NextHop: 203.0.113.1",
                           "        Type: indirect", "       Proto: netmgmt"}));
    EXPECT_EQ(routes[6], "        Mask: 0.0.0.0");
    EXPECT_TRUE(routes[5].startsWith("         Age: "));
    EXPECT_TRUE(routes[7].startsWith("     Metric1: 1      Metric2: "));
    EXPECT_TRUE(routes[9].startsWith("     Metric5: "));
    EXPECT_TRUE(routes[9].contains("         Info: "));
    EXPECT_EQ(routes[10], " ");
    EXPECT_EQ(routes[11], " Destination: 127.0.0.0");
    EXPECT_EQ(routes[14], "        Type: direct");
    EXPECT_EQ(routes[15], "       Proto: local");

    const QStringList media = lines(f, "MediaTable_Memo");
    ASSERT_EQ(media.size(), 15);
    // Walk order is by address (20 before 100); hardware addresses hold control bytes, so the walk
    // gives them in hexadecimal.
    EXPECT_EQ(media.mid(0, 5),
              (QStringList{"        Interface: 1", " Physical address: 0050ba071f40",
                           "      Net address: 192.168.0.20", "             Type: static", " "}));
    EXPECT_EQ(media[6], " Physical address: 000c6e120a0d");
    EXPECT_EQ(media[13], "             Type: dynamic");
    EXPECT_EQ(media[14], " ");
}

TEST(IpPage, UpdateKeepsTheSubPageAndATabChangeResetsIt) {
    MainFormHarness h;
    TMainForm& f = h.form();
    showPage(f, "IP");
    QTabWidget* tabs = subPages(f);
    const char* keywords[] = {"150.html", "150.html#ipaddresstable", "150.html#iproutetable",
                              "150.html#ipnettomediatable"};
    for (int i : {1, 2, 3, 0}) {
        tabs->setCurrentIndex(i);
        EXPECT_EQ(helpKeyword(f, "PageControl"), keywords[i]);
        EXPECT_EQ(helpKeyword(f, "GetValues_But"), keywords[i]);
        EXPECT_EQ(helpKeyword(f, "Help_But"), keywords[i]);
    }

    tabs->setCurrentIndex(2);
    f.w<QPlainTextEdit>("RouteTable_Memo")->setPlainText("stale");
    label(f, "IP", "DefaultTTL_Label")->setText("stale");
    pressUpdate(f);
    EXPECT_EQ(tabs->currentIndex(), 2);
    EXPECT_EQ(helpKeyword(f, "PageControl"), "150.html#iproutetable");
    EXPECT_EQ(lines(f, "RouteTable_Memo").size(), 55);
    EXPECT_EQ(text(f, "IP", "DefaultTTL_Label"), "64");
    EXPECT_EQ(f.statusText(), " Ready");

    showPage(f, "TCP");
    showPage(f, "IP");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(helpKeyword(f, "PageControl"), "150.html");
}

TEST(IpPage, ForwardingWordAndQuotesRemovedFromTableValues) {
    MainFormHarness h;
    TMainForm& f = h.form();
    for (const auto& [value, word] : {std::pair{"1", "Yes"}, {"2", "No"}, {"0", "No"}, {"11", "No"}}) {
        h.router().set("1.3.6.1.2.1.4.1.0", ber::Integer, value);
        f.IPClick(f.w<QPushButton>("GetValues_But"));
        EXPECT_EQ(text(f, "IP", "Forwarding_Label"), word) << value;
    }
    h.router().set("1.3.6.1.2.1.4.20.1.5.192.168.0.1", ber::OctetString, "\"15\"00\"");
    f.IPClick(f.w<QPushButton>("GetValues_But"));
    EXPECT_EQ(lines(f, "AddrTable_Memo")[4], " ReasmMaxSize: 1500");

    // Every statistic frozen at a value of its own: each label shows its own object, unchanged.
    int n = 0;
    for (const auto& [name, oid] : kStats)
        h.router().define(oid, ber::Counter, std::to_string(9100 + ++n), sim::Access::ReadOnly);
    f.IPClick(f.w<QPushButton>("GetValues_But"));
    n = 0;
    for (const auto& [name, oid] : kStats)
        EXPECT_EQ(text(f, "IP", name), QString::number(9100 + ++n)) << name;
}

TEST(IpPage, SilentRouterKeepsEverything) {
    MainFormHarness h;
    TMainForm& f = h.form();
    markAll(f);
    h.router().setSilent(true);
    UiSeam::resetTestRecord();
    showPage(f, "IP");
    EXPECT_EQ(f.statusText(), kErr);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(text(f, "IP", "Forwarding_Label"), "mark");
    for (const auto& [name, oid] : kStats)
        EXPECT_EQ(text(f, "IP", name), "mark") << name;
    for (const char* p : {"AddrTable_Memo", "RouteTable_Memo", "MediaTable_Memo"})
        EXPECT_EQ(lines(f, p), QStringList{"old text"}) << p;
}

TEST(IpPage, LaterReadFailingIsSilent) {
    MainFormHarness h;
    TMainForm& f = h.form();
    DroppingAgent drop(h.router());
    ASSERT_TRUE(drop.start());
    h.setSnmpPort(drop.port());
    markAll(f);
    drop.dropName("1.3.6.1.2.1.4.2.0", ber::GetRequest); // ipDefaultTTL
    UiSeam::resetTestRecord();
    f.IPClick(f.w<QPushButton>("GetValues_But"));
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::beepCount(), 0);
    EXPECT_EQ(text(f, "IP", "DefaultTTL_Label"), "mark");
    EXPECT_EQ(text(f, "IP", "ReasmTimeout_Label"), "60");
    EXPECT_EQ(lines(f, "AddrTable_Memo").size(), 12);
}

TEST(IpPage, WalkFailingPartWayStopsTheRefresh) {
    MainFormHarness h;
    TMainForm& f = h.form();
    DroppingAgent drop(h.router());
    ASSERT_TRUE(drop.start());
    h.setSnmpPort(drop.port());
    markAll(f);
    // The route walk's fourth step goes unanswered.
    drop.dropName("1.3.6.1.2.1.4.21.1.1.192.168.0.0", ber::GetNextRequest);
    UiSeam::resetTestRecord();
    f.IPClick(f.w<QPushButton>("GetValues_But"));
    EXPECT_EQ(f.statusText(), kErr);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(text(f, "IP", "DefaultTTL_Label"), "64");
    EXPECT_EQ(lines(f, "AddrTable_Memo").size(), 12);
    EXPECT_TRUE(lines(f, "RouteTable_Memo").isEmpty());
    EXPECT_EQ(lines(f, "MediaTable_Memo"), QStringList{"old text"});
    // The status line keeps the error until the next request.
    EXPECT_EQ(f.statusText(), kErr);
}

TEST(IpPage, EmptyNetToMediaTableAndLargeRouteTable) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) {
        r.eraseSubtree("1.3.6.1.2.1.4.22");
        r.makeLargeRouteTable(300);
    };
    MainFormHarness h(o);
    TMainForm& f = h.form();
    f.w<QPlainTextEdit>("MediaTable_Memo")->setPlainText("old text");
    showPage(f, "IP");
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_TRUE(lines(f, "MediaTable_Memo").isEmpty());
    const QStringList routes = lines(f, "RouteTable_Memo");
    ASSERT_EQ(routes.size(), 300 * 11);
    EXPECT_EQ(routes.filter(QRegularExpression("^ Destination: ")).size(), 300);
    EXPECT_EQ(routes.filter(QRegularExpression("^       Proto: rip$")).size(), 298);
}

TEST(IpPage, TableWithACellLeftOutShowsEveryValue) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.eraseCell("1.3.6.1.2.1.4.20.1.5", "203.0.113.57"); };
    MainFormHarness h(o);
    TMainForm& f = h.form();
    showPage(f, "IP");
    EXPECT_EQ(f.statusText(), " Ready");
    const QStringList addr = lines(f, "AddrTable_Memo");
    // 9 values for 5 columns: a note, then two blocks; every value the router gave is there once.
    ASSERT_EQ(addr.size(), 13);
    EXPECT_TRUE(addr[0].startsWith(" Incomplete table: 9 values for 5 columns"));
    const QString all = addr.join('\n');
    for (const char* v : {"192.168.0.1", "203.0.113.57", "255.255.255.0", "255.255.255.255", "65535"})
        EXPECT_TRUE(all.contains(v)) << v;
    EXPECT_EQ(all.count("65535"), 1);
}

TEST(IpPage, RawDumpOfTheIpGroupOnTheDebugPage) {
    MainFormHarness h;
    TMainForm& f = h.form();
    auto* log = f.w<QPlainTextEdit>("DebugLog_Memo");
    log->clear();
    UiSeam::resetTestRecord();
    f.w<QPushButton>("IPAddrTable_But")->click();
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    QStringList dump = lines(f, "DebugLog_Memo");
    ASSERT_GT(dump.size(), 3);
    EXPECT_EQ(dump[0], "Dump of raw IP address table");
    EXPECT_EQ(dump[1], " ");
    // The scalars share the first line, quoted and comma-separated.
    EXPECT_TRUE(dump[2].startsWith("\"1\",\"64\",")) << dump[2].toStdString();
    EXPECT_TRUE(dump.contains("\"192.168.0.1\""));
    const int first = static_cast<int>(dump.size());

    f.w<QPushButton>("IPAddrTable_But")->click();
    dump = lines(f, "DebugLog_Memo");
    EXPECT_EQ(dump[first], " ");
    EXPECT_EQ(dump[first + 1], "Dump of raw IP address table");

    // A failure leaves the log alone and does not beep.
    h.router().setSilent(true);
    UiSeam::resetTestRecord();
    f.w<QPushButton>("IPAddrTable_But")->click();
    EXPECT_EQ(f.statusText(), kErr);
    EXPECT_EQ(UiSeam::beepCount(), 0);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(lines(f, "DebugLog_Memo"), dump);
}
