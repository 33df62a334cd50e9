// The SNMP client against the router stand-in's SNMPv1 agent on loopback.
#include "net/SnmpClient.h"
#include "net/core/SnmpWalkRows.h"
#include "sim/RouterSim.h"

#include <gtest/gtest.h>

namespace {

class SnmpClientSim : public ::testing::Test {
protected:
    void SetUp() override {
        // Still counters, so that what the agent holds and what a walk returns can be compared.
        for (int i = 1; i <= router.interfaceCount(); ++i)
            router.setTraffic(i, 0, 0);
        ASSERT_TRUE(agent.start()) << agent.lastError();
        snmp.port = agent.port();
        snmp.timeoutMs = 300;
    }

    // The lines a walk of base must give for what the agent holds now.
    std::vector<std::string> ExpectedLines(const std::string& base) const {
        snmpwalk::WalkRows rows(base);
        for (const sim::Router::Binding& b : router.walk(base))
            rows.Add(b.oid, b.value);
        return rows.TakeLines();
    }

    sim::Router router;
    sim::SnmpAgent agent{router};
    SnmpSettings snmp;
};

} // namespace

TEST_F(SnmpClientSim, GetReadsValuesOfEveryType) {
    std::string value;
    for (const char* oid :
         {mib::sysDescr, mib::sysObjectID, mib::sysName, mib::firmware, mib::ifNumber, mib::lanAddress}) {
        const auto held = router.get(oid);
        ASSERT_TRUE(held.has_value()) << oid;
        EXPECT_TRUE(SnmpGetValue(oid, "public", "127.0.0.1", value, {}, snmp)) << oid;
        EXPECT_EQ(value, held->second) << oid;
    }
    EXPECT_TRUE(
        SnmpGetValue(sim::ifOid(sim::IfPhysAddress, sim::LanIf), "quorbex", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, std::string("\x00\x80\x2d\x4f\x1a\x2b", 6));
    router.setOctets(sim::WanIf, 4294967295u, 7);
    EXPECT_TRUE(
        SnmpGetValue(sim::ifOid(sim::IfInOctets, sim::WanIf), "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "4294967295");
    router.setUptime(2147483648u);
    EXPECT_TRUE(SnmpGetValue(mib::sysUpTime, "public", "127.0.0.1", value, {}, snmp));
    EXPECT_GE(std::stoull(value), 2147483648ull);

    // An object the agent lacks: answered with noSuchName, so true and the empty value.
    router.erase(mib::sysLocation);
    value = "stale";
    EXPECT_TRUE(SnmpGetValue(mib::sysLocation, "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "");
    // The name without its instance is no object either.
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.5", "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "");
}

TEST_F(SnmpClientSim, UnknownCommunityAndSilentRouterTimeOut) {
    std::string value = "stale";
    EXPECT_FALSE(SnmpGetValue(mib::sysName, "wrong", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "");
    std::vector<std::string> lines;
    EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "wrong", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, (std::vector<std::string>{"\"\""}));

    router.setSilent(true);
    value = "stale";
    EXPECT_FALSE(SnmpGetValue(mib::sysName, "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(SnmpSetValue(mib::sysName, "quorbex", "127.0.0.1", "x", ber::OctetString, {}, snmp));
    router.setSilent(false);
    EXPECT_TRUE(SnmpGetValue(mib::sysName, "public", "127.0.0.1", value, {}, snmp));
}

TEST_F(SnmpClientSim, SetWithTheWriteAndTheReadOnlyCommunity) {
    EXPECT_TRUE(
        SnmpSetValue(mib::sysContact, "quorbex", "127.0.0.1", "Kim \"ops\"", ber::OctetString, {}, snmp));
    EXPECT_EQ(router.get(mib::sysContact)->second, "Kim \"ops\"");
    std::string value;
    EXPECT_TRUE(SnmpGetValue(mib::sysContact, "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "Kim \"ops\"");

    EXPECT_TRUE(
        SnmpSetValue(mib::lanAddress, "quorbex", "127.0.0.1", "10.1.2.300", ber::IpAddress, {}, snmp));
    EXPECT_EQ(router.get(mib::lanAddress)->second, "10.1.2.44");
    EXPECT_TRUE(SnmpSetValue(mib::vpi, "quorbex", "127.0.0.1", "8", ber::Integer, {}, snmp));
    EXPECT_EQ(router.get(mib::vpi)->second, "8");

    // The read-only community: the agent stays silent, the set fails and nothing changes.
    EXPECT_FALSE(
        SnmpSetValue(mib::sysContact, "public", "127.0.0.1", "intruder", ber::OctetString, {}, snmp));
    EXPECT_EQ(router.get(mib::sysContact)->second, "Kim \"ops\"");

    // A refused value (read-only object, bad value) is still an answer: true, nothing changes.
    EXPECT_TRUE(SnmpSetValue(mib::sysDescr, "quorbex", "127.0.0.1", "x", ber::OctetString, {}, snmp));
    EXPECT_NE(router.get(mib::sysDescr)->second, "x");
    EXPECT_TRUE(SnmpSetValue(mib::sysContact, "quorbex", "127.0.0.1", "7", ber::Integer, {}, snmp));
    EXPECT_EQ(router.get(mib::sysContact)->second, "Kim \"ops\"");
}

TEST_F(SnmpClientSim, WalksOfATableAnEntryAndAGroup) {
    std::vector<std::string> lines;
    // Entry: one line per interface, every column in order.
    EXPECT_TRUE(SnmpWalkTable(mib::ifEntry, "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, ExpectedLines(mib::ifEntry));
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(router.interfaceCount()));
    EXPECT_EQ(lines[0].rfind("\"1\",\"ethernet\",\"6\",\"1500\",\"100000000\",", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(",\"00802d4f1a2b\","), std::string::npos);

    // Table: one line per value, column by column.
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.4.20", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, ExpectedLines("1.3.6.1.2.1.4.20"));
    EXPECT_EQ(lines.size(), router.walk("1.3.6.1.2.1.4.20").size());

    // The interfaces group: ifNumber on the line of key 0, then every ifTable value on its own.
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.2", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, ExpectedLines("1.3.6.1.2.1.2"));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "\"" + std::to_string(router.interfaceCount()) + "\"");

    // The enterprise subtree runs to the end of the agent's MIB (noSuchName past it): complete.
    ASSERT_FALSE(router.nextOid(router.walk("1.3.6.1.4.1.171").back().oid).has_value());
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.4.1.171", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, ExpectedLines("1.3.6.1.4.1.171"));
    EXPECT_FALSE(lines.empty());

    // The UDP listeners' address column: listeners on the same port share a line.
    router.addUdpListener("0.0.0.0", 5353);
    router.addUdpListener("10.0.0.0", 5353);
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.7.5.1.1", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, ExpectedLines("1.3.6.1.2.1.7.5.1.1"));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\"0.0.0.0\",\"10.0.0.0\""), lines.end());
}

TEST_F(SnmpClientSim, WalkOfANameOutsideTheMibAndOneStepPerObject) {
    std::vector<std::string> lines{"old"};
    router.eraseSubtree("1.3.6.1.2.1.9");
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.9", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_TRUE(lines.empty());

    router.clearRequestLog();
    EXPECT_TRUE(SnmpWalkTable(mib::udpEntry, "public", "127.0.0.1", lines, {}, snmp));
    const std::size_t objects = router.walk(mib::udpEntry).size();
    const auto log = router.requestLog();
    ASSERT_EQ(log.size(), objects + 1);
    EXPECT_EQ(log.front(), mib::udpEntry);
    const auto requests = router.requests();
    for (const auto& request : requests)
        EXPECT_EQ(request.pduType, ber::GetNextRequest);
}

TEST_F(SnmpClientSim, WalkStartingAtTheLastObjectEndsAtOnce) {
    // The agent answers noSuchName with the name echoed: without the guard the walk would ask again
    // for ever. (Agents that repeat names are scripted in the responder tests.)
    std::vector<std::string> lines;
    const auto last = router.walk("1.3").back().oid;
    EXPECT_TRUE(SnmpWalkTable(last, "public", "127.0.0.1", lines, {}, snmp))
        << "noSuchName past the end ends the walk";
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(router.requestLog().back(), last);
}
