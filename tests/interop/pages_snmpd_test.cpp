// The IP, TCP, UDP, ICMP and SNMP pages filled from net-snmp's snmpd on loopback, compared with what
// net-snmp's own snmpwalk -v1 reads from the same agent around the same moment.
//
// Comparison rule: the tool reads each group (or table) just before and just after the page's
// refresh. A figure that did not move between the two reads must be shown exactly; a counter that
// moved (the agent counts our own requests, the loopback traffic goes on) must be shown with a value
// within [before, after]. An object the agent does not have (absent from both walks) is answered with
// noSuchName and shows the empty text. A table must equal the dump of the tool's "before" or "after"
// walk; when the machine's connections changed under both reads, the comparison is tried again.
#include "ui/UiSeam.h"
#include "net/SnmpClient.h"
#include "net/core/SnmpText.h"
#include "net/core/SnmpWalkRows.h"
#include "support/MainFormHarness.h"
#include "support/PageTestHelpers.h"
#include "support/Snmpd.h"
#include "views/core/TableLayouts.h"

#include <QPlainTextEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <map>
#include <memory>

using testsupport::MainFormHarness;
using testsupport::Snmpd;
using namespace pagetest;

namespace {

using Values = std::map<std::string, QString>; // oid -> value text

struct Figure {
    const char* label;
    int arc;
    QString (*word)(const QString&) = nullptr; // shown as a word instead of the value
};

QString yesNo(const QString& v) {
    return v == "1" ? QStringLiteral("Yes") : QStringLiteral("No");
}
QString rtoWord(const QString& v) {
    const char* words[] = {"other", "constant", "rsre", "vanj"};
    for (int i = 0; i < 4; ++i)
        if (v == QString::number(i + 1)) return QString::fromLatin1(words[i]);
    return QStringLiteral("-----"); // a code outside the list leaves the initial text
}

const Figure kIp[] = {
    {"Forwarding_Label", 1, yesNo}, {"DefaultTTL_Label", 2},      {"InReceives_Label", 3},
    {"InHdrErrors_Label", 4},       {"InAddrErrors_Label", 5},    {"ForwDatagrams_Label", 6},
    {"InUnknownProtos_Label", 7},   {"InDiscards_Label", 8},      {"InDelivers_Label", 9},
    {"OutRequests_Label", 10},      {"OutDiscards_Label", 11},    {"OutNoRoutes_Label", 12},
    {"ReasmTimeout_Label", 13},     {"ReasmReqds_Label", 14},     {"ReasmOKs_Label", 15},
    {"ReasmFails_Label", 16},       {"FragOKs_Label", 17},        {"FragFails_Label", 18},
    {"FragCreates_Label", 19},      {"RoutingDiscards_Label", 23}};
const Figure kTcp[] = {{"RtoAlg_Label", 1, rtoWord}, {"RtoMin_Label", 2},      {"RtoMax_Label", 3},
                       {"MaxConn_Label", 4},         {"ActiveOpens_Label", 5}, {"PassiveOpens_Label", 6},
                       {"AttemptFails_Label", 7},    {"EstabResets_Label", 8}, {"CurrEstab_Label", 9},
                       {"InSegs_Label", 10},         {"OutSegs_Label", 11},    {"ReTransSegs_Label", 12},
                       {"InErrs_Label", 14},         {"OutRsts_Label", 15}};
const Figure kUdp[] = {
    {"InDatagrams_Label", 1}, {"NoPorts_Label", 2}, {"InErrors_Label", 3}, {"OutDatagrams_Label", 4}};
const Figure kIcmp[] = {
    {"InMsgs_Label", 1},           {"InErrors_Label2", 2},        {"InDestUnreachs_Label", 3},
    {"InTimeExcds_Label", 4},      {"InParmProbs_Label", 5},      {"InSrcQuenchs_Label", 6},
    {"InRedirects_Label", 7},      {"InEchos_Label", 8},          {"InEchoReps_Label", 9},
    {"InTimestamps_Label", 10},    {"InTimestampReps_Label", 11}, {"InAddrMasks_Label", 12},
    {"InAddrMaskReps_Label", 13},  {"OutMsgs_Label", 14},         {"OutErrors_Label", 15},
    {"OutDestUnreachs_Label", 16}, {"OutTimeExcds_Label", 17},    {"OutParmProbs_Label", 18},
    {"OutSrcQuenchs_Label", 19},   {"OutRedirects_Label", 20},    {"OutEchos_Label", 21},
    {"OutEchoReps_Label", 22},     {"OutTimestamps_Label", 23},   {"OutTimestampReps_Label", 24},
    {"OutAddrMasks_Label", 25},    {"OutAddrMaskReps_Label", 26}};
const Figure kSnmp[] = {{"InPkts_Label", 1},        {"OutPkts_Label", 2},
                        {"InBadVer_Label", 3},      {"InBadComNam_Label", 4},
                        {"InBadComUses_Label", 5},  {"InASNParseErrs_Label", 6},
                        {"InTooBigs_Label", 8},     {"InNoSuchNames_Label", 9},
                        {"InBadVals_Label", 10},    {"InReadOnlys_Label", 11},
                        {"InGenErrs_Label", 12},    {"InTotReqVars_Label", 13},
                        {"InTotSetVars_Label", 14}, {"InGetReqs_Label", 15},
                        {"InGetNexts_Label", 16},   {"InSetReqs_Label", 17},
                        {"InGetResp_Label", 18},    {"InTraps_Label", 19},
                        {"OutTooBigs_Label", 20},   {"OutNoSuchNam_Label", 21},
                        {"OutBadVal_Label", 22},    {"OutGenErrs_Label", 24},
                        {"OutGetReqs_Label", 25},   {"OutGetNexts_Label", 26},
                        {"OutSetReqs_Label", 27},   {"OutGetResp_Label", 28},
                        {"OutTraps_Label", 29},     {"EnableAuth_Label", 30, yesNo}};

class PagesInterop : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::NetSnmpInstalled()) GTEST_SKIP() << "net-snmp (snmpd, snmpwalk) is not installed";
        agent = std::make_unique<Snmpd>();
        ASSERT_TRUE(agent->start()) << agent->error() << "\n" << agent->log();
        MainFormHarness::Options o;
        o.startRouter = false;
        o.createForm = false;
        o.timeoutMs = 2000;
        o.settings.push_back(
            {"System Info Settings", "Community", QString::fromStdString(agent->readOnlyCommunity())});
        h = std::make_unique<MainFormHarness>(o);
        h->setSnmpPort(agent->port());
        h->createForm(); // its System page finds no D-Link interfaces here; the boxes are answered
        UiSeam::resetTestRecord();
    }
    void TearDown() override {
        h.reset();
        agent.reset();
    }

    // The tool's walk as (oid -> value text).
    Values walk(const std::string& base) {
        Values out;
        auto values = testsupport::NetSnmpWalk(*agent, agent->readOnlyCommunity(), base);
        EXPECT_TRUE(values.has_value()) << "snmpwalk " << base;
        if (values)
            for (const auto& v : *values)
                out[v.oid] = snmptext::fromRouter(v.value);
        return out;
    }
    // The tool's walk as the program's walk lines.
    QStringList walkLines(const std::string& base) {
        auto values = testsupport::NetSnmpWalk(*agent, agent->readOnlyCommunity(), base);
        EXPECT_TRUE(values.has_value()) << "snmpwalk " << base;
        snmpwalk::WalkRows rows(base);
        if (values)
            for (const auto& v : *values)
                rows.Add(v.oid, v.value);
        QStringList lines;
        for (const std::string& l : rows.TakeLines())
            lines << snmptext::fromRouter(l);
        return lines;
    }

    // Refreshes a statistics page between two tool walks of its group and checks every figure.
    template <std::size_t N>
    void checkFigures(const char* pageName, const std::string& group, const Figure (&figures)[N],
                      const std::function<void()>& refresh) {
        const Values before = walk(group);
        refresh();
        const Values after = walk(group);
        EXPECT_EQ(h->form().statusText(), " Ready") << pageName;
        for (const Figure& fig : figures) {
            const std::string oid = group + "." + std::to_string(fig.arc) + ".0";
            const QString shown = text(h->form(), pageName, fig.label);
            SCOPED_TRACE(std::string(pageName) + " " + fig.label + " " + oid + " shown " +
                         shown.toStdString());
            const auto b = before.find(oid), a = after.find(oid);
            if (b == before.end() && a == after.end()) {
                EXPECT_EQ(shown, "") << "an object the agent lacks";
                continue;
            }
            ASSERT_TRUE(b != before.end() && a != after.end());
            if (fig.word) {
                EXPECT_TRUE(shown == fig.word(b->second) || shown == fig.word(a->second));
                continue;
            }
            if (b->second == a->second) {
                EXPECT_EQ(shown, b->second);
                continue;
            }
            bool ok1 = false, ok2 = false, ok3 = false;
            const qint64 lo = b->second.toLongLong(&ok1), hi = a->second.toLongLong(&ok2);
            const qint64 v = shown.toLongLong(&ok3);
            ASSERT_TRUE(ok1 && ok2 && ok3)
                << "a moving value that is not a number: " << b->second.toStdString() << " / "
                << a->second.toStdString();
            EXPECT_LE(lo, v);
            EXPECT_LE(v, hi);
        }
    }

    // Refreshes and compares a pane with the dump of the tool's walk before or after; a few tries when
    // the table moved under both.
    void checkTable(const char* pane, const std::function<QStringList()>& expectedDump,
                    const std::function<void()>& refresh) {
        QStringList shown, before, after;
        for (int attempt = 0; attempt < 4; ++attempt) {
            before = expectedDump();
            refresh();
            after = expectedDump();
            shown = lines(h->form(), pane);
            if (shown == before || shown == after) break;
        }
        EXPECT_TRUE(shown == before || shown == after) << pane << " shows:\n"
                                                       << shown.join('\n').toStdString() << "\ntool before:\n"
                                                       << before.join('\n').toStdString();
        EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    }

    static QStringList paneForm(const QStringList& appends) {
        QStringList out;
        for (const QString& a : appends)
            out << a.split(QStringLiteral("\r\n"));
        return out;
    }

    std::unique_ptr<Snmpd> agent;
    std::unique_ptr<MainFormHarness> h;
};

} // namespace

TEST_F(PagesInterop, IpPageStatisticsAndTables) {
    TMainForm& f = h->form();
    checkFigures("IP", "1.3.6.1.2.1.4", kIp, [&] { showPage(f, "IP"); });
    auto update = [&] { pressUpdate(f); };
    checkTable(
        "AddrTable_Memo",
        [&] { return paneForm(tablelayout::addressTableDump(walkLines("1.3.6.1.2.1.4.20"))); }, update);
    checkTable(
        "RouteTable_Memo",
        [&] { return paneForm(tablelayout::routeTableDump(walkLines("1.3.6.1.2.1.4.21"))); }, update);
    checkTable(
        "MediaTable_Memo",
        [&] { return paneForm(tablelayout::netToMediaTableDump(walkLines("1.3.6.1.2.1.4.22"))); }, update);
    EXPECT_GT(text(f, "IP", "InReceives_Label").toLongLong(), 0);
    EXPECT_FALSE(lines(f, "RouteTable_Memo").isEmpty());
    // The loopback address is always in the address table.
    EXPECT_TRUE(lines(f, "AddrTable_Memo").contains("           IP: 127.0.0.1"));
}

TEST_F(PagesInterop, TcpAndUdpPages) {
    TMainForm& f = h->form();
    checkFigures("TCP", "1.3.6.1.2.1.6", kTcp, [&] { showPage(f, "TCP"); });
    checkTable(
        "TCPTable_Memo",
        [&] { return paneForm(tablelayout::tcpConnectionDump(walkLines("1.3.6.1.2.1.6.13"))); },
        [&] { pressUpdate(f); });

    checkFigures("UDP", "1.3.6.1.2.1.7", kUdp, [&] { showPage(f, "UDP"); });
    checkTable(
        "UDPTable_Memo",
        [&] {
            return tablelayout::udpListenerDump(walkLines("1.3.6.1.2.1.7.5.1.1"),
                                                walkLines("1.3.6.1.2.1.7.5.1.2"));
        },
        [&] { pressUpdate(f); });
    // The agent's own socket is a listener.
    const QString port = QString::number(agent->port());
    bool found = false;
    for (const QString& l : lines(f, "UDPTable_Memo"))
        if (l.contains("127.0.0.1") && l.section('\t', 1).split(',').contains(port)) found = true;
    EXPECT_TRUE(found) << lines(f, "UDPTable_Memo").join('\n').toStdString();
}

TEST_F(PagesInterop, IcmpAndSnmpPages) {
    TMainForm& f = h->form();
    checkFigures("ICMP", "1.3.6.1.2.1.5", kIcmp, [&] { showPage(f, "ICMP"); });
    checkFigures("SNMP", "1.3.6.1.2.1.11", kSnmp, [&] { showPage(f, "SNMP"); });
    // The agent counted the page's own requests.
    EXPECT_GT(text(f, "SNMP", "InGetReqs_Label").toLongLong(), 0);
}
