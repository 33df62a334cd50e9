// The SNMP client against net-snmp's snmpd, compared with what net-snmp's own snmpget/snmpwalk read.
#include "net/SnmpClient.h"
#include "net/core/SnmpWalkRows.h"
#include "support/Snmpd.h"

#include <gtest/gtest.h>

#include <cstdint>

using testsupport::Snmpd;
using testsupport::SnmpToolValue;

namespace {

const char* const kSystemGroup = "1.3.6.1.2.1.1";
const char* const kSysUpTime = "1.3.6.1.2.1.1.3.0";
const char* const kSysContact = "1.3.6.1.2.1.1.4.0";

class SnmpInterop : public ::testing::Test {
protected:
    void SetUp() override {
        if (!testsupport::NetSnmpInstalled())
            GTEST_SKIP() << "net-snmp (snmpd, snmpget, snmpwalk, snmpset) is not installed";
        Snmpd::Options options;
        // A community that sees the system group only: its walks run into the end of the agent's view.
        options.extraConfig.push_back(std::string("rocommunity sysonly 127.0.0.1 .") + kSystemGroup);
        agent = std::make_unique<Snmpd>(options);
        ASSERT_TRUE(agent->start()) << agent->error() << "\n" << agent->log();
        snmp.port = agent->port();
        snmp.timeoutMs = 1000;
    }

    std::vector<SnmpToolValue> ToolWalk(const std::string& community, const std::string& base) const {
        auto values = testsupport::NetSnmpWalk(*agent, community, base);
        EXPECT_TRUE(values.has_value()) << "snmpwalk " << base;
        return values.value_or(std::vector<SnmpToolValue>{});
    }

    static std::vector<std::string> Lines(const std::string& base, const std::vector<SnmpToolValue>& values) {
        snmpwalk::WalkRows rows(base);
        for (const SnmpToolValue& v : values)
            rows.Add(v.oid, v.value);
        return rows.TakeLines();
    }

    std::unique_ptr<Snmpd> agent;
    SnmpSettings snmp;
};

bool ParseU32(const std::string& quoted, std::uint32_t& value) {
    if (quoted.size() < 3 || quoted.front() != '"' || quoted.back() != '"') return false;
    const std::string digits = quoted.substr(1, quoted.size() - 2);
    if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 10) return false;
    const unsigned long long v = std::stoull(digits);
    if (v > 0xFFFFFFFFull) return false;
    value = static_cast<std::uint32_t>(v);
    return true;
}

// A value read between two reads by net-snmp equals them when they agree; when it moved (a counter
// of a live interface) it must lie between them, counting modulo 2^32 as Counter32 does.
::testing::AssertionResult Between(const std::string& before, const std::string& ours,
                                   const std::string& after) {
    if (before == after) {
        if (ours == before) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "ours " << ours << " but net-snmp read " << before;
    }
    std::uint32_t a = 0, x = 0, b = 0;
    if (!ParseU32(before, a) || !ParseU32(ours, x) || !ParseU32(after, b))
        return ::testing::AssertionFailure()
               << "moved value " << before << " .. " << after << " ours " << ours;
    if (static_cast<std::uint32_t>(x - a) <= static_cast<std::uint32_t>(b - a))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "ours " << x << " not within " << a << " .. " << b;
}

// The quoted cells of a walk line (a comma inside quotes belongs to the value).
std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        if (c == ',' && !quoted)
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

} // namespace

TEST_F(SnmpInterop, GetOfSystemObjectsMatchesSnmpget) {
    const std::vector<std::string> names = {"1.3.6.1.2.1.1.1.0",     "1.3.6.1.2.1.1.2.0", "1.3.6.1.2.1.1.4.0",
                                            "1.3.6.1.2.1.1.5.0",     "1.3.6.1.2.1.1.6.0", "1.3.6.1.2.1.2.1.0",
                                            "1.3.6.1.2.1.2.2.1.2.1", "1.3.6.1.2.1.4.2.0"};
    const auto tool = testsupport::NetSnmpGet(*agent, agent->readOnlyCommunity(), names);
    ASSERT_TRUE(tool.has_value());
    ASSERT_EQ(tool->size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ((*tool)[i].oid, names[i]);
        std::string value;
        EXPECT_TRUE(SnmpGetValue(names[i], agent->readOnlyCommunity(), "127.0.0.1", value, {}, snmp))
            << names[i];
        EXPECT_EQ(value, (*tool)[i].value) << names[i];
    }

    // sysUpTime moves: ours lies between two reads by snmpget. The host name is resolved.
    const auto before = testsupport::NetSnmpGet(*agent, agent->readOnlyCommunity(), {kSysUpTime});
    std::string ticks;
    EXPECT_TRUE(SnmpGetValue(kSysUpTime, agent->readWriteCommunity(), "localhost", ticks, {}, snmp));
    const auto after = testsupport::NetSnmpGet(*agent, agent->readOnlyCommunity(), {kSysUpTime});
    ASSERT_TRUE(before && after && before->size() == 1 && after->size() == 1);
    EXPECT_TRUE(
        Between("\"" + (*before)[0].value + "\"", "\"" + ticks + "\"", "\"" + (*after)[0].value + "\""));

    // An object snmpd lacks (sysServices is not configured): noSuchName is an answer (true, empty value).
    std::string missing = "stale";
    EXPECT_TRUE(
        SnmpGetValue("1.3.6.1.2.1.1.7.0", agent->readOnlyCommunity(), "127.0.0.1", missing, {}, snmp));
    EXPECT_EQ(missing, "");
    // An unknown community gets no answer at all.
    EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "not-a-community", "127.0.0.1", missing, {}, snmp));
    EXPECT_EQ(missing, "");
}

TEST_F(SnmpInterop, WalkOfTheInterfacesGroupMatchesSnmpwalk) {
    const std::string base = "1.3.6.1.2.1.2";
    const std::vector<std::string> before = Lines(base, ToolWalk(agent->readOnlyCommunity(), base));
    std::vector<std::string> ours;
    EXPECT_TRUE(SnmpWalkTable(base, agent->readOnlyCommunity(), "127.0.0.1", ours, {}, snmp));
    const std::vector<std::string> after = Lines(base, ToolWalk(agent->readOnlyCommunity(), base));
    ASSERT_FALSE(before.empty());
    ASSERT_EQ(before.size(), after.size()) << "the interfaces changed during the test";
    ASSERT_EQ(ours.size(), before.size());
    for (std::size_t i = 0; i < ours.size(); ++i)
        EXPECT_TRUE(Between(before[i], ours[i], after[i])) << "line " << i;

    // Tables whose values do not move: the address table and the interface descriptions by entry.
    for (const std::string stable : {"1.3.6.1.2.1.4.20", "1.3.6.1.2.1.4.20.1", "1.3.6.1.2.1.2.2.1.2"}) {
        EXPECT_TRUE(SnmpWalkTable(stable, agent->readOnlyCommunity(), "127.0.0.1", ours, {}, snmp)) << stable;
        EXPECT_EQ(ours, Lines(stable, ToolWalk(agent->readOnlyCommunity(), stable))) << stable;
        EXPECT_FALSE(ours.empty()) << stable;
    }
}

TEST_F(SnmpInterop, WalkToTheEndOfTheAgentsViewIsComplete) {
    // snmpd answers noSuchName past the end of the community's view (SNMPv1): the walk ends with
    // true and the lines snmpwalk's objects give.
    std::vector<std::string> ours;
    EXPECT_TRUE(SnmpWalkTable(kSystemGroup, "sysonly", "127.0.0.1", ours, {}, snmp));
    const auto tool = ToolWalk("sysonly", kSystemGroup);
    ASSERT_GE(tool.size(), 7u);
    const std::vector<std::string> expected = Lines(kSystemGroup, tool);
    ASSERT_EQ(ours.size(), expected.size());
    // Every system scalar shares the line of key 0; sysUpTime (third) moves, the rest must agree.
    const std::vector<std::string> oursCells = Cells(ours[0]);
    const std::vector<std::string> toolCells = Cells(expected[0]);
    ASSERT_EQ(oursCells.size(), toolCells.size());
    for (std::size_t i = 0; i < oursCells.size(); ++i) {
        if (i == 2) continue;
        EXPECT_EQ(oursCells[i], toolCells[i]) << i;
    }
    for (std::size_t i = 1; i < ours.size(); ++i)
        EXPECT_EQ(ours[i], expected[i]);

    // Outside the view altogether: the first get-next already runs past the end.
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.2", "sysonly", "127.0.0.1", ours, {}, snmp));
    EXPECT_TRUE(ours.empty());
}

TEST_F(SnmpInterop, SetOfSysContactIsSeenBySnmpget) {
    const std::string contact = "Kestrune interop <noc@example.net> \"quoted\"";
    EXPECT_TRUE(SnmpSetValue(kSysContact, agent->readWriteCommunity(), "127.0.0.1", contact, ber::OctetString,
                             {}, snmp));
    auto seen = testsupport::NetSnmpGet(*agent, agent->readOnlyCommunity(), {kSysContact});
    ASSERT_TRUE(seen.has_value());
    ASSERT_EQ(seen->size(), 1u);
    EXPECT_EQ((*seen)[0].value, contact);

    // And the other way round: what snmpset writes, the client reads.
    ASSERT_TRUE(
        testsupport::NetSnmpSet(*agent, agent->readWriteCommunity(), kSysContact, 's', "set by snmpset"));
    std::string value;
    EXPECT_TRUE(SnmpGetValue(kSysContact, agent->readOnlyCommunity(), "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "set by snmpset");

    // The read-only community cannot write: snmpd answers noSuchName (an answer, so true) and the
    // value stays.
    EXPECT_TRUE(SnmpSetValue(kSysContact, agent->readOnlyCommunity(), "127.0.0.1", "intruder",
                             ber::OctetString, {}, snmp));
    seen = testsupport::NetSnmpGet(*agent, agent->readOnlyCommunity(), {kSysContact});
    ASSERT_TRUE(seen.has_value() && seen->size() == 1u);
    EXPECT_EQ((*seen)[0].value, "set by snmpset");
    // An unknown community: no answer, so false.
    EXPECT_FALSE(SnmpSetValue(kSysContact, "not-a-community", "127.0.0.1", "x", ber::OctetString, {}, snmp));
}
