// The SNMP client's transport and operations against a scripted UDP peer on loopback.
#include "net/SnmpClient.h"
#include "net/core/SnmpWalkRows.h"
#include "snmp_scripted_responder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <set>
#include <thread>

namespace {

// Get-next order for a small scripted MIB.
struct OidLess {
    bool operator()(const std::string& a, const std::string& b) const {
        return snmpwalk::CompareOids(a, b) < 0;
    }
};
using Mib = std::map<std::string, TSNMPMib, OidLess>;

Mib MakeMib(const std::vector<TSNMPMib>& objects) {
    Mib mib;
    for (const TSNMPMib& object : objects)
        mib[object.OID] = object;
    return mib;
}

// An SNMPv1 agent over a scripted MIB: get and get-next, noSuchName past the end (name echoed).
std::vector<std::string> Agent(const Mib& mib, const TSNMPRec& request) {
    if (request.MIBList.empty()) return {};
    const std::string& name = request.MIBList[0].OID;
    if (request.PDUType == ber::GetNextRequest) {
        const auto next = mib.upper_bound(name);
        if (next == mib.end())
            return {ScriptedResponder::Response(request, {{name, "", ber::Null}}, ber::NoSuchName, 1)};
        return {ScriptedResponder::Response(request, {next->second})};
    }
    const auto found = mib.find(name);
    if (found == mib.end())
        return {ScriptedResponder::Response(request, {{name, "", ber::Null}}, ber::NoSuchName, 1)};
    return {ScriptedResponder::Response(request, {found->second})};
}

class SnmpClientResponder : public ::testing::Test {
protected:
    void SetUp() override { snmp.timeoutMs = 300; }
    void Use(const ScriptedResponder& responder) { snmp.port = responder.port(); }

    SnmpSettings snmp;
};

const Mib kInterfaces = MakeMib({
    {"1.3.6.1.2.1.1.5.0", "rtr", ber::OctetString},
    {"1.3.6.1.2.1.2.1.0", "2", ber::Integer},
    {"1.3.6.1.2.1.2.2.1.1.1", "1", ber::Integer},
    {"1.3.6.1.2.1.2.2.1.1.2", "2", ber::Integer},
    {"1.3.6.1.2.1.2.2.1.2.1", "ethernet", ber::OctetString},
    {"1.3.6.1.2.1.2.2.1.2.2", "ppp \"1\"", ber::OctetString},
    {"1.3.6.1.2.1.2.2.1.6.1", std::string("\x00\x80\x2D\x4F\x1A\x2B", 6), ber::OctetString},
    {"1.3.6.1.2.1.2.2.1.6.2", "", ber::OctetString},
    {"1.3.6.1.2.1.2.2.1.10.1", "4294967295", ber::Counter},
    {"1.3.6.1.2.1.2.2.1.10.2", "7", ber::Counter},
    {"1.3.6.1.2.1.4.1.0", "2", ber::Integer},
});

const std::vector<std::string> kInterfaceEntryLines = {
    "\"1\",\"ethernet\",\"00802d4f1a2b\",\"4294967295\"",
    "\"2\",\"ppp \"\"1\"\"\",\"\",\"7\"",
};

} // namespace

TEST_F(SnmpClientResponder, GetSendsOneRequestAndReadsTheValue) {
    ScriptedResponder responder(
        [](const TSNMPRec& request, const std::string&) { return Agent(kInterfaces, request); });
    Use(responder);
    std::string value = "stale";
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "quorbx", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "rtr");
    ASSERT_EQ(responder.seen().size(), 1u);
    const auto seen = responder.seen();
    const TSNMPRec& request = seen[0].request;
    EXPECT_EQ(seen[0].raw.size(), 40u);
    EXPECT_EQ(request.Version, 0);
    EXPECT_EQ(request.Community, "quorbx");
    EXPECT_EQ(request.PDUType, ber::GetRequest);
    EXPECT_EQ(request.ID, 1);
    ASSERT_EQ(request.MIBList.size(), 1u);
    EXPECT_EQ(request.MIBList[0].ValueType, ber::Null);

    // Host names are resolved (IPv4).
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.2.2.1.10.1", "public", "localhost", value, {}, snmp));
    EXPECT_EQ(value, "4294967295");

    // Unknown object: noSuchName with the name echoed counts as an answer, with the empty value.
    value = "stale";
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.9.0", "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "");
}

TEST_F(SnmpClientResponder, GetTakesOnlyTheRequestedName) {
    // The reply names a different object (even the same one without its instance): true, empty value.
    ScriptedResponder responder([](const TSNMPRec& request, const std::string&) {
        return std::vector<std::string>{
            ScriptedResponder::Response(request, {{"1.3.6.1.2.1.1.5", "wrong", ber::OctetString},
                                                  {"1.3.6.1.2.1.1.5.0.1", "w", ber::OctetString}})};
    });
    Use(responder);
    std::string value = "stale";
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "");
    // The first binding of the exact name wins, wherever it is.
    ScriptedResponder second([](const TSNMPRec& request, const std::string&) {
        return std::vector<std::string>{
            ScriptedResponder::Response(request, {{"1.3.6.1.2.1.1.4.0", "a", ber::OctetString},
                                                  {"1.3.6.1.2.1.1.5.0", "b", ber::OctetString},
                                                  {"1.3.6.1.2.1.1.5.0", "c", ber::OctetString}})};
    });
    Use(second);
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, "b");
}

TEST_F(SnmpClientResponder, FailuresGiveFalseAndTheEmptyValue) {
    std::string value = "stale";
    {
        // Silence (an agent that rejects the community): time-out.
        ScriptedResponder silent(
            [](const TSNMPRec&, const std::string&) { return std::vector<std::string>{}; });
        Use(silent);
        EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "nobody", "127.0.0.1", value, {}, snmp));
        EXPECT_EQ(value, "");
        EXPECT_FALSE(
            SnmpSetValue("1.3.6.1.2.1.1.5.0", "nobody", "127.0.0.1", "x", ber::OctetString, {}, snmp));
        EXPECT_EQ(silent.seen().size(), 2u) << "no retry";
    }
    {
        // Datagrams that cannot be decoded, among them an empty one.
        for (const std::string& junk : {std::string(), std::string("\x30"), std::string("\x02\x01\x00", 3),
                                        std::string("\x30\x7F\x02\x01\x00", 5)}) {
            ScriptedResponder bad(
                [junk](const TSNMPRec&, const std::string&) { return std::vector<std::string>{junk}; });
            Use(bad);
            value = "stale";
            EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "public", "127.0.0.1", value, {}, snmp))
                << junk.size();
            EXPECT_EQ(value, "");
        }
    }
    // Addresses that cannot be used.
    EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "public", "", value, {}, snmp));
    snmp.port = 0;
    EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "public", "127.0.0.1", value, {}, snmp));
}

TEST_F(SnmpClientResponder, IdleHookRunsWhileTheAnswerIsAwaited) {
    // Silence: the hook runs between the wait's slices until the time-out ends the exchange.
    int idleCalls = 0;
    const auto countIdle = [&idleCalls] { ++idleCalls; };
    std::string value = "stale";
    {
        ScriptedResponder silent(
            [](const TSNMPRec&, const std::string&) { return std::vector<std::string>{}; });
        Use(silent);
        EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "public", "127.0.0.1", value, countIdle, snmp));
        EXPECT_EQ(value, "");
        EXPECT_GE(idleCalls, 3);
    }
    // A late answer within the time-out is still taken, after the hook has run.
    snmp.timeoutMs = 3000;
    idleCalls = 0;
    ScriptedResponder late([](const TSNMPRec& request, const std::string&) {
        std::this_thread::sleep_for(std::chrono::milliseconds(4 * TSNMPSend::IdleSliceMs));
        return Agent(kInterfaces, request);
    });
    Use(late);
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "public", "127.0.0.1", value, countIdle, snmp));
    EXPECT_EQ(value, "rtr");
    EXPECT_GE(idleCalls, 1);
}

TEST_F(SnmpClientResponder, LargeDatagramIsReadWhole) {
    const std::string big(60000, 'z');
    ScriptedResponder responder([&big](const TSNMPRec& request, const std::string&) {
        return std::vector<std::string>{
            ScriptedResponder::Response(request, {{request.MIBList[0].OID, big, ber::OctetString}})};
    });
    Use(responder);
    std::string value;
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.1.0", "public", "127.0.0.1", value, {}, snmp));
    EXPECT_EQ(value, big);
}

TEST_F(SnmpClientResponder, SetSendsTheTypedValueAndAcceptsAnyAnswer) {
    ScriptedResponder responder([](const TSNMPRec& request, const std::string&) {
        return std::vector<std::string>{
            ScriptedResponder::Response(request, request.MIBList, ber::ReadOnly, 1)};
    });
    Use(responder);
    EXPECT_TRUE(SnmpSetValue("1.3.6.1.4.1.171.11.30.4.1.1.2.1", "quorbex", "127.0.0.1", "10.1.2.300",
                             ber::IpAddress, {}, snmp));
    EXPECT_TRUE(SnmpSetValue("1.3.6.1.4.1.171.11.30.6.1.1.3.1", "quorbex", "127.0.0.1", "35", ber::Integer,
                             {}, snmp));
    EXPECT_TRUE(
        SnmpSetValue("1.3.6.1.2.1.1.4.0", "quorbex", "127.0.0.1", "me \"x\"", ber::OctetString, {}, snmp));
    const auto seen = responder.seen();
    ASSERT_EQ(seen.size(), 3u);
    for (const auto& s : seen) {
        EXPECT_EQ(s.request.PDUType, ber::SetRequest);
        EXPECT_EQ(s.request.ID, 1);
        EXPECT_EQ(s.request.Community, "quorbex");
        ASSERT_EQ(s.request.MIBList.size(), 1u);
    }
    EXPECT_NE(seen[0].raw.find(std::string("\x40\x04\x0A\x01\x02\x2C", 6)), std::string::npos);
    EXPECT_EQ(seen[0].request.MIBList[0].Value, "10.1.2.44");
    EXPECT_EQ(seen[1].request.MIBList[0].ValueType, ber::Integer);
    EXPECT_EQ(seen[1].request.MIBList[0].Value, "35");
    EXPECT_EQ(seen[2].request.MIBList[0].Value, "me \"x\"");
    // Every get and set sends from a fresh socket.
    std::set<std::uint16_t> ports;
    for (const auto& s : seen)
        ports.insert(s.sourcePort);
    EXPECT_EQ(ports.size(), 3u);
}

TEST_F(SnmpClientResponder, WalksOfEntryTableAndGroup) {
    ScriptedResponder responder(
        [](const TSNMPRec& request, const std::string&) { return Agent(kInterfaces, request); });
    Use(responder);
    std::vector<std::string> lines{"old"};
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, kInterfaceEntryLines);

    // One socket for the whole walk, request ids 2, 3, 4, ..., get-next of the name reached.
    const auto seen = responder.seen();
    ASSERT_EQ(seen.size(), 9u) << "n objects take n + 1 exchanges";
    for (std::size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].request.PDUType, ber::GetNextRequest);
        EXPECT_EQ(seen[i].request.ID, static_cast<int>(i + 2));
        EXPECT_EQ(seen[i].sourcePort, seen[0].sourcePort);
    }
    EXPECT_EQ(seen[0].request.MIBList[0].OID, "1.3.6.1.2.1.2.2.1");
    EXPECT_EQ(seen[8].request.MIBList[0].OID, "1.3.6.1.2.1.2.2.1.10.2");

    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.2.2", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, (std::vector<std::string>{"\"1\"", "\"2\"", "\"ethernet\"", "\"ppp \"\"1\"\"\"",
                                               "\"00802d4f1a2b\"", "\"\"", "\"4294967295\"", "\"7\""}));

    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.2", "public", "127.0.0.1", lines, {}, snmp));
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "\"2\"");
    EXPECT_EQ(lines[1], "\"1\"");

    // By host name (looked up once for the whole walk).
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "public", "localhost", lines, {}, snmp));
    EXPECT_EQ(lines, kInterfaceEntryLines);

    // The first answer already lies outside the base: true and no lines.
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.3", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_TRUE(lines.empty());
}

TEST_F(SnmpClientResponder, WalkEndsAtTheSubtreeBoundary) {
    // An agent without the groups in between: after the interfaces group comes 1.3.6.1.2.1.25, whose
    // name merely begins with the same text.
    const Mib mib = MakeMib({{"1.3.6.1.2.1.2.1.0", "1", ber::Integer},
                             {"1.3.6.1.2.1.2.2.1.1.1", "1", ber::Integer},
                             {"1.3.6.1.2.1.25.1.1.0", "12345", ber::TimeTicks},
                             {"1.3.6.1.2.1.25.1.2.0", "x", ber::OctetString}});
    ScriptedResponder responder(
        [&mib](const TSNMPRec& request, const std::string&) { return Agent(mib, request); });
    Use(responder);
    std::vector<std::string> lines;
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.2", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, (std::vector<std::string>{"\"1\"", "\"1\""}));
    EXPECT_EQ(responder.seen().size(), 3u);
}

TEST_F(SnmpClientResponder, WalkSharedPortLineOfTheUdpListenerColumn) {
    const Mib mib = MakeMib({{"1.3.6.1.2.1.7.5.1.1.0.0.0.0.69", "0.0.0.0", ber::IpAddress},
                             {"1.3.6.1.2.1.7.5.1.1.0.0.0.0.161", "0.0.0.0", ber::IpAddress},
                             {"1.3.6.1.2.1.7.5.1.1.10.0.0.0.161", "10.0.0.0", ber::IpAddress},
                             {"1.3.6.1.2.1.7.5.1.2.0.0.0.0.69", "69", ber::Integer}});
    ScriptedResponder responder(
        [&mib](const TSNMPRec& request, const std::string&) { return Agent(mib, request); });
    Use(responder);
    std::vector<std::string> lines;
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.7.5.1.1", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, (std::vector<std::string>{"\"0.0.0.0\"", "\"0.0.0.0\",\"10.0.0.0\""}));
}

TEST_F(SnmpClientResponder, FailedWalkKeepsItsRowsAndMarksTheLastOne) {
    // The agent stops answering after three objects.
    std::atomic<int> answered{0};
    ScriptedResponder responder([&answered](const TSNMPRec& request, const std::string&) {
        if (answered >= 3) return std::vector<std::string>{};
        ++answered;
        return Agent(kInterfaces, request);
    });
    Use(responder);
    std::vector<std::string> lines;
    EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, (std::vector<std::string>{"\"1\",\"ethernet\",\"\"", "\"2\""}));

    // The very first step fails: one line of its own with the empty value.
    ScriptedResponder silent([](const TSNMPRec&, const std::string&) { return std::vector<std::string>{}; });
    Use(silent);
    EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, (std::vector<std::string>{"\"\""}));
    EXPECT_EQ(silent.seen().size(), 1u);
}

TEST_F(SnmpClientResponder, WalkToTheEndOfTheAgentsView) {
    // The walked subtree is the last one the agent has: it answers noSuchName past its end. The walk is
    // complete and its lines are those of a walk that ends by leaving the subtree.
    const Mib tail =
        MakeMib({{"1.3.6.1.2.1.2.2.1.1.1", "1", ber::Integer},
                 {"1.3.6.1.2.1.2.2.1.1.2", "2", ber::Integer},
                 {"1.3.6.1.2.1.2.2.1.2.1", "ethernet", ber::OctetString},
                 {"1.3.6.1.2.1.2.2.1.2.2", "ppp \"1\"", ber::OctetString},
                 {"1.3.6.1.2.1.2.2.1.6.1", std::string("\x00\x80\x2D\x4F\x1A\x2B", 6), ber::OctetString},
                 {"1.3.6.1.2.1.2.2.1.6.2", "", ber::OctetString},
                 {"1.3.6.1.2.1.2.2.1.10.1", "4294967295", ber::Counter},
                 {"1.3.6.1.2.1.2.2.1.10.2", "7", ber::Counter}});
    ScriptedResponder responder(
        [&tail](const TSNMPRec& request, const std::string&) { return Agent(tail, request); });
    Use(responder);
    std::vector<std::string> lines;
    EXPECT_TRUE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "public", "127.0.0.1", lines, {}, snmp));
    EXPECT_EQ(lines, kInterfaceEntryLines);
    EXPECT_EQ(responder.seen().size(), 9u);
}

TEST_F(SnmpClientResponder, WalkEndsOnAnAgentThatDoesNotMoveOn) {
    std::vector<std::string> lines;
    // Other error statuses end the walk too, adding nothing, but the walk is incomplete.
    {
        std::atomic<int> count{0};
        ScriptedResponder genErr([&count](const TSNMPRec& request, const std::string&) {
            if (++count > 2)
                return std::vector<std::string>{
                    ScriptedResponder::Response(request, request.MIBList, ber::GenErr, 1)};
            return Agent(kInterfaces, request);
        });
        Use(genErr);
        EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "public", "127.0.0.1", lines, {}, snmp));
        EXPECT_EQ(lines, (std::vector<std::string>{"\"1\"", "\"2\""}));
        EXPECT_EQ(genErr.seen().size(), 3u);
    }
    // The same name again, with no error: the walk would never end.
    {
        ScriptedResponder echo([](const TSNMPRec& request, const std::string&) {
            const std::string& name = request.MIBList[0].OID;
            const std::string answer = name == "1.3.6.1.2.1.2.2.1" ? "1.3.6.1.2.1.2.2.1.1.1" : name;
            return std::vector<std::string>{
                ScriptedResponder::Response(request, {{answer, "1", ber::Integer}})};
        });
        Use(echo);
        EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "public", "127.0.0.1", lines, {}, snmp));
        EXPECT_EQ(lines, (std::vector<std::string>{"\"1\""}));
        EXPECT_EQ(echo.seen().size(), 2u);
    }
    // Going backwards inside the subtree (a cycle of two names).
    {
        ScriptedResponder cycle([](const TSNMPRec& request, const std::string&) {
            const std::string& name = request.MIBList[0].OID;
            const std::string answer =
                name == "1.3.6.1.2.1.2.2.1.1.1" ? "1.3.6.1.2.1.2.2.1.1.2" : "1.3.6.1.2.1.2.2.1.1.1";
            return std::vector<std::string>{
                ScriptedResponder::Response(request, {{answer, "v", ber::OctetString}})};
        });
        Use(cycle);
        EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "public", "127.0.0.1", lines, {}, snmp));
        EXPECT_EQ(lines, (std::vector<std::string>{"\"v\"", "\"v\""}));
        EXPECT_EQ(cycle.seen().size(), 3u);
    }
    // An answer with no binding at all.
    {
        ScriptedResponder empty([](const TSNMPRec& request, const std::string&) {
            return std::vector<std::string>{ScriptedResponder::Response(request, {})};
        });
        Use(empty);
        EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2.2.1", "public", "127.0.0.1", lines, {}, snmp));
        EXPECT_TRUE(lines.empty());
        EXPECT_EQ(empty.seen().size(), 1u);
    }
}

TEST_F(SnmpClientResponder, SettingsGivenToAnOperationAreTheOnesUsed) {
    ScriptedResponder agent(
        [](const TSNMPRec& request, const std::string&) { return Agent(kInterfaces, request); });
    SnmpSettings settings;
    settings.port = agent.port();
    settings.timeoutMs = 300;
    std::string value;
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "public", "127.0.0.1", value, {}, settings));
    EXPECT_EQ(value, "rtr");
    settings.walkMaxObjects = 1;
    std::vector<std::string> lines;
    EXPECT_FALSE(SnmpWalkTable("1.3.6.1.2.1.2.2.1.1", "public", "127.0.0.1", lines, {}, settings));
    EXPECT_EQ(lines.size(), 1u);
}
