// The ICMP and SNMP statistics pages against the router stand-in.
#include "ui/UiSeam.h"
#include "net/SnmpClient.h"
#include "support/DroppingAgent.h"
#include "support/MainFormHarness.h"
#include "support/PageTestHelpers.h"

#include <QGridLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

using testsupport::MainFormHarness;
using namespace pagetest;

namespace {

const char* const kErr = " Error: Check IP address and/or SNMP community name";

struct Stat {
    const char* label;
    const char* caption;
    int arc;
};
const Stat kIcmp[] = {
    {"InMsgs_Label", "InMsgs:", 1},
    {"InErrors_Label2", "InErrors:", 2},
    {"InDestUnreachs_Label", "InDestUnreachs:", 3},
    {"InTimeExcds_Label", "InTimeExcds:", 4},
    {"InParmProbs_Label", "InParmProbs:", 5},
    {"InSrcQuenchs_Label", "InSrcQuenchs:", 6},
    {"InRedirects_Label", "InRedirects:", 7},
    {"InEchos_Label", "InEchos:", 8},
    {"InEchoReps_Label", "InEchoReps:", 9},
    {"InTimestamps_Label", "InTimestamps:", 10},
    {"InTimestampReps_Label", "InTimestampReps:", 11},
    {"InAddrMasks_Label", "InAddrMasks:", 12},
    {"InAddrMaskReps_Label", "InAddrMaskReps:", 13},
    {"OutMsgs_Label", "OutMsgs:", 14},
    {"OutErrors_Label", "OutErrors:", 15},
    {"OutDestUnreachs_Label", "OutDestUnreachs:", 16},
    {"OutTimeExcds_Label", "OutTimeExcds:", 17},
    {"OutParmProbs_Label", "OutParmProbs:", 18},
    {"OutSrcQuenchs_Label", "OutSrcQuenchs:", 19},
    {"OutRedirects_Label", "OutRedirects:", 20},
    {"OutEchos_Label", "OutEchos:", 21},
    {"OutEchoReps_Label", "OutEchoReps:", 22},
    {"OutTimestamps_Label", "OutTimestamps:", 23},
    {"OutTimestampReps_Label", "OutTimestampReps:", 24},
    {"OutAddrMasks_Label", "OutAddrMasks:", 25},
    {"OutAddrMaskReps_Label", "OutAddrMaskReps:", 26},
};
// The SNMP page, left column then right column, top to bottom.
const Stat kSnmpLeft[] = {
    {"InPkts_Label", "InPkts:", 1},
    {"OutPkts_Label", "OutPkts:", 2},
    {"InBadVer_Label", "InBadVersions:", 3},
    {"InBadComNam_Label", "InBadCommunityNames:", 4},
    {"InBadComUses_Label", "InBadCommunityUses:", 5},
    {"InASNParseErrs_Label", "InASNParseErrs:", 6},
    {"InTooBigs_Label", "InTooBigs:", 8},
    {"InNoSuchNames_Label", "InNoSuchNames:", 9},
    {"InBadVals_Label", "InBadValues:", 10},
    {"InReadOnlys_Label", "InReadOnlys:", 11},
    {"InGenErrs_Label", "InGenErrs:", 12},
    {"InTotReqVars_Label", "InTotalReqVars:", 13},
    {"InTotSetVars_Label", "InTotalSetVars:", 14},
    {"InGetReqs_Label", "InGetRequests:", 15},
};
const Stat kSnmpRight[] = {
    {"OutGetReqs_Label", "OutGetRequests:", 25}, {"OutGetNexts_Label", "OutGetNexts:", 26},
    {"OutSetReqs_Label", "OutSetRequests:", 27}, {"OutGetResp_Label", "OutGetResponses:", 28},
    {"OutTraps_Label", "OutTraps:", 29},         {"EnableAuth_Label", "EnableAuthenTraps:", 30},
    {"InGetNexts_Label", "InGetNexts:", 16},     {"InSetReqs_Label", "InSetRequests:", 17},
    {"InGetResp_Label", "InGetResponses:", 18},  {"InTraps_Label", "InTraps:", 19},
    {"OutTooBigs_Label", "OutTooBigs:", 20},     {"OutNoSuchNam_Label", "OutNoSuchNames:", 21},
    {"OutBadVal_Label", "OutBadValues:", 22},    {"OutGenErrs_Label", "OutGenErrs:", 24},
};

std::string oid(const char* group, int arc) {
    return std::string(group) + "." + std::to_string(arc) + ".0";
}

// Checks one column of name and value labels: captions, names, alignment, bold, order on screen.
void expectColumn(TMainForm& f, const char* pageName, const Stat* stats, int n, const QString& initial) {
    int lastY = -1, x = -1;
    for (int i = 0; i < n; ++i) {
        SCOPED_TRACE(stats[i].label);
        QLabel* value = label(f, pageName, stats[i].label);
        ASSERT_NE(value, nullptr);
        QString nameLabel = QString::fromLatin1(stats[i].label);
        nameLabel.insert(nameLabel.lastIndexOf("_Label"), 'L');
        QLabel* name = f.w<QLabel>(nameLabel.toLatin1().constData(), page(f, pageName));
        ASSERT_NE(name, nullptr) << nameLabel.toStdString();
        EXPECT_EQ(name->text(), stats[i].caption);
        EXPECT_TRUE(name->alignment() & Qt::AlignRight);
        EXPECT_TRUE(value->font().bold());
        EXPECT_EQ(value->text(), initial);
        // Top to bottom in one column, the name to the left of its value.
        auto* grid = qobject_cast<QGridLayout*>(page(f, pageName)->layout());
        ASSERT_NE(grid, nullptr);
        int row, col, rs, cs, vrow, vcol;
        grid->getItemPosition(grid->indexOf(value), &vrow, &vcol, &rs, &cs);
        grid->getItemPosition(grid->indexOf(name), &row, &col, &rs, &cs);
        EXPECT_EQ(row, vrow);
        EXPECT_EQ(col + 1, vcol);
        EXPECT_GT(vrow, lastY);
        if (x >= 0) {
            EXPECT_EQ(col, x);
        }
        lastY = vrow;
        x = col;
    }
}

} // namespace

TEST(IcmpPage, LayoutTwoColumnsOfThirteen) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.setSilent(true); };
    MainFormHarness h(o);
    expectColumn(h.form(), "ICMP", kIcmp, 13, "----");
    expectColumn(h.form(), "ICMP", kIcmp + 13, 13, "----");
}

TEST(SnmpPage, LayoutTwoColumnsOfFourteen) {
    MainFormHarness::Options o;
    o.setupRouter = [](sim::Router& r) { r.setSilent(true); };
    MainFormHarness h(o);
    expectColumn(h.form(), "SNMP", kSnmpLeft, 14, "----");
    expectColumn(h.form(), "SNMP", kSnmpRight, 14, "----");
}

TEST(IcmpPage, RefreshShowsEveryCounter) {
    MainFormHarness h;
    TMainForm& f = h.form();
    // Live counters move with time: each shown value lies between the router's values before and after.
    std::vector<quint64> before;
    for (const Stat& s : kIcmp)
        before.push_back(routerValue(h.router(), oid("1.3.6.1.2.1.5", s.arc)).toULongLong());
    showPage(f, "ICMP");
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(helpKeyword(f, "PageControl"), "160.html");
    EXPECT_EQ(helpKeyword(f, "GetValues_But"), "160.html");
    EXPECT_EQ(helpKeyword(f, "Help_But"), "160.html");
    for (std::size_t i = 0; i < std::size(kIcmp); ++i) {
        bool ok = false;
        const quint64 shown = text(f, "ICMP", kIcmp[i].label).toULongLong(&ok);
        EXPECT_TRUE(ok) << kIcmp[i].label;
        EXPECT_LE(before[i], shown) << kIcmp[i].label;
        EXPECT_LE(shown, routerValue(h.router(), oid("1.3.6.1.2.1.5", kIcmp[i].arc)).toULongLong())
            << kIcmp[i].label;
    }
    // Frozen counters, each with a value of its own: every label shows its own object.
    for (const Stat& s : kIcmp)
        h.router().define(oid("1.3.6.1.2.1.5", s.arc), ber::Counter, std::to_string(5000 + s.arc),
                          sim::Access::ReadOnly);
    h.router().clearRequestLog();
    pressUpdate(f);
    for (const Stat& s : kIcmp)
        EXPECT_EQ(text(f, "ICMP", s.label), QString::number(5000 + s.arc)) << s.label;
    // The requests went in OID order.
    std::vector<std::string> gets;
    for (const auto& name : h.router().requestLog())
        if (name.rfind("1.3.6.1.2.1.5.", 0) == 0) gets.push_back(name);
    ASSERT_EQ(gets.size(), 26u);
    for (int i = 0; i < 26; ++i)
        EXPECT_EQ(gets[i], oid("1.3.6.1.2.1.5", i + 1));
}

TEST(SnmpPage, RefreshReadsTwentyEightObjectsButNeverSevenOrTwentyThree) {
    MainFormHarness h;
    TMainForm& f = h.form();
    h.router().clearRequestLog();
    showPage(f, "SNMP");
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(helpKeyword(f, "PageControl"), "190.html");
    EXPECT_EQ(helpKeyword(f, "GetValues_But"), "190.html");
    EXPECT_EQ(helpKeyword(f, "Help_But"), "190.html");
    const auto log = h.router().requestLog();
    EXPECT_EQ(std::count(log.begin(), log.end(), "1.3.6.1.2.1.11.7.0"), 0);
    EXPECT_EQ(std::count(log.begin(), log.end(), "1.3.6.1.2.1.11.23.0"), 0);
    std::vector<std::string> gets;
    for (const auto& name : log)
        if (name.rfind("1.3.6.1.2.1.11.", 0) == 0) gets.push_back(name);
    ASSERT_EQ(gets.size(), 28u);
    EXPECT_EQ(gets.front(), "1.3.6.1.2.1.11.1.0");
    EXPECT_EQ(gets.back(), "1.3.6.1.2.1.11.30.0");
    EXPECT_TRUE(std::is_sorted(gets.begin(), gets.end(), [](const std::string& a, const std::string& b) {
        return *sim::parseOid(a) < *sim::parseOid(b);
    }));

    // The stand-in counts its own traffic: every counter the page shows was reached during the refresh.
    for (const Stat* s = kSnmpLeft; s != kSnmpLeft + 14; ++s) {
        bool ok = false;
        const quint64 shown = text(f, "SNMP", s->label).toULongLong(&ok);
        EXPECT_TRUE(ok) << s->label;
        EXPECT_LE(shown, routerValue(h.router(), oid("1.3.6.1.2.1.11", s->arc)).toULongLong()) << s->label;
    }
    // Each counter set far apart from the others (the refresh's own requests add a few): every label
    // shows its own object.
    for (const Stat* column : {kSnmpLeft, kSnmpRight})
        for (const Stat* s = column; s != column + 14; ++s)
            if (s->arc != 30)
                h.router().define(oid("1.3.6.1.2.1.11", s->arc), ber::Counter,
                                  std::to_string(s->arc * 100000), sim::Access::ReadOnly);
    pressUpdate(f);
    for (const Stat* column : {kSnmpLeft, kSnmpRight})
        for (const Stat* s = column; s != column + 14; ++s) {
            if (s->arc == 30) continue;
            const quint64 shown = text(f, "SNMP", s->label).toULongLong();
            EXPECT_EQ(shown / 100000, static_cast<quint64>(s->arc)) << s->label;
            EXPECT_LT(shown % 100000, 100u) << s->label;
        }
    EXPECT_EQ(text(f, "SNMP", "EnableAuth_Label"), "No");
    EXPECT_NE(text(f, "SNMP", "InPkts_Label"), "0");
}

TEST(SnmpPage, EnableAuthenTrapsWord) {
    MainFormHarness h;
    TMainForm& f = h.form();
    for (const auto& [value, word] : {std::pair{"1", "Yes"}, {"2", "No"}, {"3", "No"}, {"1", "Yes"}}) {
        h.router().set("1.3.6.1.2.1.11.30.0", ber::Integer, value);
        f.SNMPClick(&f);
        EXPECT_EQ(text(f, "SNMP", "EnableAuth_Label"), word) << value;
    }
}

TEST(StatisticsPages, FirstReadFailingChangesNoLabel) {
    MainFormHarness h;
    TMainForm& f = h.form();
    for (const Stat& s : kIcmp)
        label(f, "ICMP", s.label)->setText("mark");
    for (const Stat& s : kSnmpLeft)
        label(f, "SNMP", s.label)->setText("mark");
    for (const Stat& s : kSnmpRight)
        label(f, "SNMP", s.label)->setText("mark");
    h.router().setSilent(true);
    for (const char* p : {"ICMP", "SNMP"}) {
        SCOPED_TRACE(p);
        UiSeam::resetTestRecord();
        showPage(f, p);
        EXPECT_EQ(f.statusText(), kErr);
        EXPECT_EQ(UiSeam::beepCount(), 1);
        EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    }
    for (const Stat& s : kIcmp)
        EXPECT_EQ(text(f, "ICMP", s.label), "mark");
    for (const Stat& s : kSnmpLeft)
        EXPECT_EQ(text(f, "SNMP", s.label), "mark");
    for (const Stat& s : kSnmpRight)
        EXPECT_EQ(text(f, "SNMP", s.label), "mark");
}

TEST(StatisticsPages, RouterStopsAnsweringAfterTheFirstRead) {
    MainFormHarness h;
    TMainForm& f = h.form();
    // Frozen counters with values of their own: the first one must be shown exactly.
    for (const Stat& s : kIcmp)
        h.router().define(oid("1.3.6.1.2.1.5", s.arc), ber::Counter, std::to_string(7000 + s.arc),
                          sim::Access::ReadOnly);
    // The first get of a page is answered and may take its time; once it has reached the router,
    // the router goes quiet and every later get waits for a short time-out.
    std::atomic<int> answered{0};
    DroppingAgent drop(h.router());
    ASSERT_TRUE(drop.start());
    h.setSnmpPort(drop.port());
    auto answerOnly = [&](const char* first) {
        const std::string name = first;
        answered = 0;
        drop.setRule([&h, &answered, name](const std::string& requested, int pduType) {
            if (pduType == ber::GetRequest && requested == name && answered.fetch_add(1) == 0) {
                h.setSnmpTimeoutMs(60);
                return false;
            }
            return true;
        });
        h.setSnmpTimeoutMs(3000);
    };

    for (const Stat& s : kIcmp)
        label(f, "ICMP", s.label)->setText("mark");
    answerOnly("1.3.6.1.2.1.5.1.0");
    UiSeam::resetTestRecord();
    f.ICMPClick(&f);
    EXPECT_EQ(answered.load(), 1);
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::beepCount(), 0);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(text(f, "ICMP", "InMsgs_Label"), "7001");
    for (const Stat* s = kIcmp + 1; s != kIcmp + 26; ++s)
        EXPECT_EQ(text(f, "ICMP", s->label), "mark") << s->label;
    EXPECT_EQ(drop.dropped(), 25);

    for (const Stat* s : {kSnmpLeft, kSnmpRight})
        for (const Stat* t = s; t != s + 14; ++t)
            label(f, "SNMP", t->label)->setText("mark");
    // The router counts the one request it answers before it answers it.
    h.router().define("1.3.6.1.2.1.11.1.0", ber::Counter, "5000", sim::Access::ReadOnly);
    answerOnly("1.3.6.1.2.1.11.1.0");
    UiSeam::resetTestRecord();
    f.SNMPClick(&f);
    EXPECT_EQ(answered.load(), 1);
    EXPECT_EQ(f.statusText(), " Ready");
    EXPECT_EQ(UiSeam::beepCount(), 0);
    EXPECT_EQ(UiSeam::busyCursorDepth(), 0);
    EXPECT_EQ(text(f, "SNMP", "InPkts_Label"), "5001");
    for (const Stat* t = kSnmpLeft + 1; t != kSnmpLeft + 14; ++t)
        EXPECT_EQ(text(f, "SNMP", t->label), "mark") << t->label;
    for (const Stat* t = kSnmpRight; t != kSnmpRight + 14; ++t)
        EXPECT_EQ(text(f, "SNMP", t->label), "mark") << t->label;
    EXPECT_EQ(drop.dropped(), 25 + 27);
}
