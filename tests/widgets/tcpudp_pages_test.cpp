// The TCP and UDP pages against the router stand-in.
#include "ui/UiSeam.h"
#include "net/SnmpClient.h"
#include "support/DroppingAgent.h"
#include "support/MainFormHarness.h"
#include "support/PageTestHelpers.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

using testsupport::MainFormHarness;
using namespace pagetest;

namespace {

const char* const kErr = " Error: Check IP address and/or SNMP community name";

QTabWidget* tcpSubPages(TMainForm& f) {
    return f.w<QTabWidget>("TCP_PageControl", page(f, "TCP"));
}

const char* const kTcpLabels[] = {
    "RtoAlg_Label",       "RtoMin_Label",       "RtoMax_Label",      "MaxConn_Label",   "ActiveOpens_Label",
    "PassiveOpens_Label", "AttemptFails_Label", "EstabResets_Label", "CurrEstab_Label", "InSegs_Label",
    "OutSegs_Label",      "ReTransSegs_Label",  "InErrs_Label",      "OutRsts_Label"};
const char* const kUdpLabels[] = {"InDatagrams_Label", "NoPorts_Label", "InErrors_Label",
                                  "OutDatagrams_Label"};

void pressUpdateOn(TMainForm& f, void (TMainForm::*refresh)(QObject*)) {
    (f.*refresh)(f.w<QPushButton>("GetValues_But"));
}

// The first binding names of the requests of one PDU type, in the order the router saw them.
std::vector<std::string> requestNames(const sim::Router& router, int pduType) {
    std::vector<std::string> names;
    for (const sim::Router::Request& r : router.requests())
        if (r.pduType == pduType && !r.names.empty()) names.push_back(r.names.front());
    return names;
}

// The shown counter lies between the stand-in's values read before and after the refresh.
void expectWithin(const QString& shown, quint64 before, quint64 after, const char* what) {
    bool ok = false;
    const quint64 v = shown.toULongLong(&ok);
    EXPECT_TRUE(ok) << what << ": " << shown.toStdString();
    EXPECT_LE(before, v) << what;
    EXPECT_LE(v, after) << what;
}

} // namespace

TEST(TcpPage, WidgetsStartWithFiveDashes) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.setSilent(true); };
    MainFormHarness h(o);
    TMainForm& f = h.form();
    QTabWidget* tabs = tcpSubPages(f);
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->widget(0)->objectName(), "Statistics_Sheet");
    EXPECT_EQ(tabs->tabText(0), " Statistics ");
    EXPECT_EQ(tabs->widget(1)->objectName(), "ConnTable_Sheet");
    EXPECT_EQ(tabs->tabText(1), " Connection table ");
    for (const char* l : kTcpLabels)
        EXPECT_EQ(text(f, "TCP", l), "-----") << l;
    EXPECT_EQ(label(f, "TCP", "OutRstsL_Label")->text(), "OutErrs:");
    EXPECT_EQ(label(f, "TCP", "ReTransSegsL_Label")->text(), "ReTransSegs:");
    EXPECT_TRUE(label(f, "TCP", "RtoAlg_Label")->font().bold());
    EXPECT_TRUE(f.w<QPlainTextEdit>("TCPTable_Memo", page(f, "TCP"))->isReadOnly());
    EXPECT_EQ(f.w<QPlainTextEdit>("TCPTable_Memo")->font().pixelSize(), 13);
    EXPECT_EQ(f.w<QPlainTextEdit>("UDPTable_Memo")->font().pixelSize(), 13);
    // Left column RtoAlgorithm to AttemptFails, right column EstabResets to OutErrs.
    auto* grid = qobject_cast<QGridLayout*>(tabs->widget(0)->layout());
    ASSERT_NE(grid, nullptr);
    for (int i = 0; i < 14; ++i) {
        int row, col, rs, cs;
        grid->getItemPosition(grid->indexOf(label(f, "TCP", kTcpLabels[i])), &row, &col, &rs, &cs);
        EXPECT_EQ(row, i % 7) << kTcpLabels[i];
        EXPECT_EQ(col, i < 7 ? 1 : 3) << kTcpLabels[i];
    }
}

TEST(TcpPage, RefreshShowsFiguresAndConnections) {
    MainFormHarness h;
    TMainForm& f = h.form();
    const quint64 opensBefore = routerValue(h.router(), "1.3.6.1.2.1.6.6.0").toULongLong();
    h.router().clearRequestLog();
    showPage(f, "TCP");
    // tcpRtoAlgorithm first, then the thirteen figures in order (tcp 13 is the table), then the walk.
    std::vector<std::string> expectedGets;
    for (int arc : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15})
        expectedGets.push_back("1.3.6.1.2.1.6." + std::to_string(arc) + ".0");
    EXPECT_EQ(requestNames(h.router(), ber::GetRequest), expectedGets);
    const auto steps = requestNames(h.router(), ber::GetNextRequest);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), "1.3.6.1.2.1.6.13");
    EXPECT_GT(h.router().requests().size(), expectedGets.size());
    EXPECT_EQ(h.router().requests()[expectedGets.size()].pduType, ber::GetNextRequest);
    const quint64 opensAfter = routerValue(h.router(), "1.3.6.1.2.1.6.6.0").toULongLong();
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(tcpSubPages(f)->currentIndex(), 0);
    EXPECT_EQ(helpKeyword(f, "PageControl"), "170.html");
    EXPECT_EQ(helpKeyword(f, "GetValues_But"), "170.html");
    EXPECT_EQ(helpKeyword(f, "Help_But"), "170.html");

    EXPECT_EQ(text(f, "TCP", "RtoAlg_Label"), "vanj");
    EXPECT_EQ(text(f, "TCP", "RtoMin_Label"), "200");
    EXPECT_EQ(text(f, "TCP", "RtoMax_Label"), "120000");
    EXPECT_EQ(text(f, "TCP", "MaxConn_Label"), "-1");
    EXPECT_EQ(text(f, "TCP", "CurrEstab_Label"), "3"); // established and closeWait
    EXPECT_EQ(text(f, "TCP", "OutRsts_Label"), "640");
    expectWithin(text(f, "TCP", "PassiveOpens_Label"), opensBefore, opensAfter, "PassiveOpens");

    EXPECT_EQ(lines(f, "TCPTable_Memo"), (QStringList{"     State: listen",
                                                      " Local  IP: 0.0.0.0  Port: 23",
                                                      " Remote IP: 0.0.0.0  Port: 0",
                                                      " ",
                                                      "     State: listen",
                                                      " Local  IP: 0.0.0.0  Port: 80",
                                                      " Remote IP: 0.0.0.0  Port: 0",
                                                      " ",
                                                      " State: established",
                                                      " Local  IP: 192.168.0.1  Port: 23",
                                                      " Remote IP: 192.168.0.100  Port: 1047",
                                                      " ",
                                                      " State: timeWait",
                                                      " Local  IP: 192.168.0.1  Port: 80",
                                                      " Remote IP: 192.168.0.100  Port: 1052",
                                                      " ",
                                                      " State: established",
                                                      " Local  IP: 192.168.0.1  Port: 80",
                                                      " Remote IP: 192.168.0.101  Port: 49210",
                                                      " ",
                                                      " State: closeWait",
                                                      " Local  IP: 203.0.113.57  Port: 1031",
                                                      " Remote IP: 198.51.100.7  Port: 80",
                                                      " "}));
}

TEST(StatisticsPages, TcpAndUdpLabelsShowTheirOwnObjects) {
    MainFormHarness h;
    TMainForm& f = h.form();
    // Every figure frozen at a value of its own (tcpRtoAlgorithm, shown as a word, stays).
    const int tcpArcs[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 14, 15};
    for (int i = 1; i < 14; ++i)
        h.router().define("1.3.6.1.2.1.6." + std::to_string(tcpArcs[i]) + ".0", ber::Gauge,
                          std::to_string(600 + tcpArcs[i]), sim::Access::ReadOnly);
    const std::pair<const char*, int> udp[] = {
        {"InDatagrams_Label", 1}, {"NoPorts_Label", 2}, {"InErrors_Label", 3}, {"OutDatagrams_Label", 4}};
    for (const auto& [name, arc] : udp)
        h.router().define("1.3.6.1.2.1.7." + std::to_string(arc) + ".0", ber::Counter,
                          std::to_string(700 + arc), sim::Access::ReadOnly);
    pressUpdateOn(f, &TMainForm::TCPClick);
    pressUpdateOn(f, &TMainForm::UDPClick);
    EXPECT_EQ(text(f, "TCP", kTcpLabels[0]), "vanj");
    for (int i = 1; i < 14; ++i)
        EXPECT_EQ(text(f, "TCP", kTcpLabels[i]), QString::number(600 + tcpArcs[i])) << kTcpLabels[i];
    for (const auto& [name, arc] : udp)
        EXPECT_EQ(text(f, "UDP", name), QString::number(700 + arc)) << name;
}

TEST(TcpPage, AlgorithmWordsAndUnknownCodeKeepsThePreviousText) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.set("1.3.6.1.2.1.6.1.0", ber::Integer, "5"); };
    MainFormHarness h(o);
    TMainForm& f = h.form();
    pressUpdateOn(f, &TMainForm::TCPClick);
    EXPECT_EQ(text(f, "TCP", "RtoAlg_Label"), "-----");
    EXPECT_EQ(text(f, "TCP", "RtoMin_Label"), "200"); // the refresh went on
    for (const auto& [code, word] : {std::pair{"1", "other"},
                                     {"2", "constant"},
                                     {"3", "rsre"},
                                     {"4", "vanj"},
                                     {"0", "vanj"},
                                     {"04", "vanj"}}) {
        h.router().set("1.3.6.1.2.1.6.1.0", ber::Integer, code);
        pressUpdateOn(f, &TMainForm::TCPClick);
        EXPECT_EQ(text(f, "TCP", "RtoAlg_Label"), word) << code;
        EXPECT_EQ(f.statusText(), " Ready");
    }
}

TEST(TcpPage, UpdateKeepsTheConnectionSubPageAndATabChangeResetsIt) {
    MainFormHarness h;
    TMainForm& f = h.form();
    showPage(f, "TCP");
    QTabWidget* tabs = tcpSubPages(f);
    tabs->setCurrentIndex(1);
    EXPECT_EQ(helpKeyword(f, "PageControl"), "170.html#tcpconnectiontable");
    EXPECT_EQ(helpKeyword(f, "GetValues_But"), "170.html#tcpconnectiontable");
    EXPECT_EQ(helpKeyword(f, "Help_But"), "170.html#tcpconnectiontable");
    h.router().addTcpConnection("192.168.0.1", 23, "192.168.0.150", 4000, 5);
    pressUpdate(f);
    EXPECT_EQ(tabs->currentIndex(), 1);
    EXPECT_EQ(helpKeyword(f, "PageControl"), "170.html#tcpconnectiontable");
    EXPECT_TRUE(lines(f, "TCPTable_Memo").contains(" Remote IP: 192.168.0.150  Port: 4000"));
    tabs->setCurrentIndex(0);
    EXPECT_EQ(helpKeyword(f, "PageControl"), "170.html");

    tabs->setCurrentIndex(1);
    showPage(f, "UDP");
    showPage(f, "TCP");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(helpKeyword(f, "PageControl"), "170.html");
}

TEST(TcpPage, FirstReadFailingKeepsEverything) {
    MainFormHarness h;
    TMainForm& f = h.form();
    pressUpdateOn(f, &TMainForm::TCPClick);
    const QStringList pane = lines(f, "TCPTable_Memo");
    for (const char* l : kTcpLabels)
        label(f, "TCP", l)->setText("mark");
    h.router().setSilent(true);
    UiSeam::resetTestRecord();
    showPage(f, "TCP");
    EXPECT_EQ(f.statusText(), kErr);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    for (const char* l : kTcpLabels)
        EXPECT_EQ(text(f, "TCP", l), "mark") << l;
    EXPECT_EQ(lines(f, "TCPTable_Memo"), pane);
}

TEST(TcpPage, LaterReadFailingIsSilent) {
    MainFormHarness h;
    TMainForm& f = h.form();
    DroppingAgent drop(h.router());
    ASSERT_TRUE(drop.start());
    h.setSnmpPort(drop.port());
    label(f, "TCP", "RtoMax_Label")->setText("mark");
    drop.dropName("1.3.6.1.2.1.6.3.0", ber::GetRequest);
    UiSeam::resetTestRecord();
    pressUpdateOn(f, &TMainForm::TCPClick);
    EXPECT_EQ(text(f, "TCP", "RtoMax_Label"), "mark");
    EXPECT_EQ(text(f, "TCP", "MaxConn_Label"), "-1");
    EXPECT_EQ(UiSeam::beepCount(), 0);
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(lines(f, "TCPTable_Memo").size(), 24);
}

TEST(TcpPage, WalkFailingPartWayShowsWhatCameBackAndEndsReady) {
    MainFormHarness h;
    TMainForm& f = h.form();
    DroppingAgent drop(h.router());
    ASSERT_TRUE(drop.start());
    h.setSnmpPort(drop.port());
    // The walk gets the six states and the first local address, then the router goes quiet.
    drop.dropName("1.3.6.1.2.1.6.13.1.2.0.0.0.0.23.0.0.0.0.0", ber::GetNextRequest);
    UiSeam::resetTestRecord();
    pressUpdateOn(f, &TMainForm::TCPClick);
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    const QStringList pane = lines(f, "TCPTable_Memo");
    ASSERT_FALSE(pane.isEmpty());
    // Seven lines for five columns: the dump says it is incomplete and still shows every value.
    EXPECT_TRUE(pane[0].startsWith(" Incomplete table: 7 values for 5 columns"));
    EXPECT_EQ(pane[1], "     State: listen");
    const QString all = pane.join('\n');
    EXPECT_TRUE(all.contains("0.0.0.0,")); // the local address of the row the walk stopped in
    EXPECT_EQ(all.count("     State: listen"), 2);
}

TEST(TcpPage, EmptyAndLargeConnectionTables) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.eraseSubtree("1.3.6.1.2.1.6.13"); };
    MainFormHarness h(o);
    TMainForm& f = h.form();
    f.w<QPlainTextEdit>("TCPTable_Memo")->setPlainText("old");
    pressUpdateOn(f, &TMainForm::TCPClick);
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_TRUE(lines(f, "TCPTable_Memo").isEmpty());

    h.router().makeLargeTcpTable(100);
    pressUpdateOn(f, &TMainForm::TCPClick);
    const QStringList pane = lines(f, "TCPTable_Memo");
    EXPECT_EQ(pane.filter("Local  IP: ").size(), 100);
    EXPECT_EQ(pane.filter("Remote IP: ").size(), 100);
    EXPECT_EQ(pane.filter("State: ").size(), 100);
    EXPECT_EQ(pane.size(), 400);
    EXPECT_EQ(f.statusText(), " Ready");
}

TEST(UdpPage, RefreshShowsFiguresAndListeners) {
    MainFormHarness h;
    TMainForm& f = h.form();
    EXPECT_EQ(text(f, "UDP", "InDatagrams_Label"), "----");
    EXPECT_EQ(label(f, "UDP", "OutDatagramsL_Label")->text(), "OutDatagrams:");
    EXPECT_EQ(label(f, "UDP", "InDatagramsL_Label")->text(), "InDatagrams:");
    EXPECT_EQ(label(f, "UDP", "NoPortsL_Label")->text(), "NoPorts:");
    EXPECT_EQ(label(f, "UDP", "InErrorsL_Label")->text(), "InErrors:");
    QStringList boxes;
    for (QGroupBox* box : page(f, "UDP")->findChildren<QGroupBox*>())
        boxes << box->title();
    EXPECT_EQ(boxes, (QStringList{" Statistics ", " Listener table "}));
    EXPECT_EQ(f.w<QGroupBox>("UDPListener_GBox")->findChild<QPlainTextEdit*>("UDPTable_Memo"),
              f.w<QPlainTextEdit>("UDPTable_Memo"));
    const quint64 inBefore = routerValue(h.router(), "1.3.6.1.2.1.7.1.0").toULongLong();
    const quint64 outBefore = routerValue(h.router(), "1.3.6.1.2.1.7.4.0").toULongLong();
    // udpNoPorts follows the traffic too (about one a second), so it is not compared exactly.
    const quint64 noPortsBefore = routerValue(h.router(), "1.3.6.1.2.1.7.2.0").toULongLong();
    h.router().clearRequestLog();
    showPage(f, "UDP");
    EXPECT_EQ(requestNames(h.router(), ber::GetRequest),
              (std::vector<std::string>{"1.3.6.1.2.1.7.1.0", "1.3.6.1.2.1.7.4.0", "1.3.6.1.2.1.7.2.0",
                                        "1.3.6.1.2.1.7.3.0"}));
    // The address column is walked first, then the port column.
    std::vector<std::string> columns;
    for (const std::string& step : requestNames(h.router(), ber::GetNextRequest)) {
        const std::string column = step.substr(0, std::string("1.3.6.1.2.1.7.5.1.x").size());
        if (columns.empty() || columns.back() != column) columns.push_back(column);
    }
    EXPECT_EQ(columns, (std::vector<std::string>{"1.3.6.1.2.1.7.5.1.1", "1.3.6.1.2.1.7.5.1.2"}));
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(helpKeyword(f, "PageControl"), "180.html");
    EXPECT_EQ(helpKeyword(f, "GetValues_But"), "180.html");
    EXPECT_EQ(helpKeyword(f, "Help_But"), "180.html");
    expectWithin(text(f, "UDP", "InDatagrams_Label"), inBefore,
                 routerValue(h.router(), "1.3.6.1.2.1.7.1.0").toULongLong(), "InDatagrams");
    expectWithin(text(f, "UDP", "OutDatagrams_Label"), outBefore,
                 routerValue(h.router(), "1.3.6.1.2.1.7.4.0").toULongLong(), "OutDatagrams");
    expectWithin(text(f, "UDP", "NoPorts_Label"), noPortsBefore,
                 routerValue(h.router(), "1.3.6.1.2.1.7.2.0").toULongLong(), "NoPorts");
    EXPECT_EQ(text(f, "UDP", "InErrors_Label"), "0");
    // 10.0.0.1 and 127.0.0.1 differ only in the first number and share port 53: one line.
    EXPECT_EQ(lines(f, "UDPTable_Memo"), (QStringList{" Address\tPort", " 0.0.0.0\t67", " 0.0.0.0\t161",
                                                      " 0.0.0.0\t520", " 10.0.0.1,127.0.0.1\t53,53", " "}));
}

TEST(UdpPage, TwoListenersGiveFourLinesAndSharedPortsOneLine) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) {
        r.eraseSubtree("1.3.6.1.2.1.7.5");
        r.addUdpListener("0.0.0.0", 69);
        r.addUdpListener("192.168.0.1", 161);
    };
    MainFormHarness h(o);
    TMainForm& f = h.form();
    showPage(f, "UDP");
    EXPECT_EQ(lines(f, "UDPTable_Memo"),
              (QStringList{" Address\tPort", " 0.0.0.0\t69", " 192.168.0.1\t161", " "}));

    h.router().eraseSubtree("1.3.6.1.2.1.7.5");
    h.router().addUdpListener("0.0.0.0", 161);
    h.router().addUdpListener("10.0.0.0", 161);
    pressUpdate(f);
    EXPECT_EQ(lines(f, "UDPTable_Memo"), (QStringList{" Address\tPort", " 0.0.0.0,10.0.0.0\t161,161", " "}));

    h.router().eraseSubtree("1.3.6.1.2.1.7.5");
    pressUpdate(f);
    EXPECT_EQ(lines(f, "UDPTable_Memo"), (QStringList{" Address\tPort", " "}));
    EXPECT_EQ(f.statusText(), " Ready");
}

TEST(UdpPage, FailuresFirstReadLaterReadAndPortWalkPartWay) {
    MainFormHarness h;
    TMainForm& f = h.form();
    DroppingAgent drop(h.router());
    ASSERT_TRUE(drop.start());
    h.setSnmpPort(drop.port());

    for (const char* l : kUdpLabels)
        label(f, "UDP", l)->setText("mark");
    f.w<QPlainTextEdit>("UDPTable_Memo")->setPlainText("old");
    drop.dropName("1.3.6.1.2.1.7.1.0", ber::GetRequest);
    UiSeam::resetTestRecord();
    showPage(f, "UDP");
    EXPECT_EQ(f.statusText(), kErr);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    for (const char* l : kUdpLabels)
        EXPECT_EQ(text(f, "UDP", l), "mark") << l;
    EXPECT_EQ(lines(f, "UDPTable_Memo"), QStringList{"old"});

    drop.dropName("1.3.6.1.2.1.7.2.0", ber::GetRequest); // udpNoPorts
    UiSeam::resetTestRecord();
    pressUpdate(f);
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::beepCount(), 0);
    EXPECT_EQ(text(f, "UDP", "NoPorts_Label"), "mark");
    EXPECT_NE(text(f, "UDP", "InDatagrams_Label"), "mark");
    EXPECT_EQ(text(f, "UDP", "InErrors_Label"), "0");

    // The port walk stops after two ports; every address still gets its line.
    drop.dropName("1.3.6.1.2.1.7.5.1.2.0.0.0.0.161", ber::GetNextRequest);
    UiSeam::resetTestRecord();
    pressUpdate(f);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(lines(f, "UDPTable_Memo"), (QStringList{" Address\tPort", " 0.0.0.0\t67", " 0.0.0.0\t161,",
                                                      " 0.0.0.0\t", " 10.0.0.1,127.0.0.1\t", " "}));

    // The address walk stops after two addresses: the lines follow the address list, so the
    // ports of the listeners whose address did not come back are not shown.
    drop.clearRule();
    drop.dropName("1.3.6.1.2.1.7.5.1.1.0.0.0.0.161", ber::GetNextRequest);
    UiSeam::resetTestRecord();
    pressUpdate(f);
    EXPECT_EQ(UiSeam::beepCount(), 1);
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(lines(f, "UDPTable_Memo"),
              (QStringList{" Address\tPort", " 0.0.0.0\t67", " 0.0.0.0,\t161", " "}));
}

TEST(StatisticsPages, SameLabelNamesOnSeveralPagesAreLookedUpWithinTheirPage) {
    MainFormHarness h;
    TMainForm& f = h.form();
    pressUpdateOn(f, &TMainForm::UDPClick);
    EXPECT_NE(label(f, "UDP", "InErrors_Label"), nullptr);
    EXPECT_EQ(label(f, "ICMP", "InErrors_Label"), nullptr);
    EXPECT_NE(label(f, "ICMP", "InErrors_Label2"), nullptr);
    EXPECT_EQ(text(f, "ICMP", "InErrors_Label2"), "----"); // the UDP refresh did not touch the ICMP page
}
