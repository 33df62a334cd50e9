// The stand-in's SNMPv1 agent, through the program's own client over loopback UDP.
#include "net/SnmpClient.h"
#include "sim/RouterSim.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <random>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const std::string Host = "127.0.0.1";
const std::string Public = "public";
const std::string Private = "quorbex";

class SimAgent : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(agent.start()) << agent.lastError();
        snmp.port = agent.port();
        snmp.timeoutMs = 300;
    }

    std::string get(const std::string& oid, const std::string& community = Public) {
        std::string v;
        EXPECT_TRUE(SnmpGetValue(oid, community, Host, v, {}, snmp)) << oid;
        return v;
    }

    // One request with any bindings; the reply (ok false when nothing came back).
    TSNMPRec exchange(int pdu, const std::vector<TSNMPMib>& bindings, bool& ok,
                      const std::string& community = Public, int id = 77) {
        TSNMPSend s(snmp);
        s.Query.Community = community;
        s.Query.PDUType = pdu;
        s.Query.ID = id;
        for (const auto& b : bindings)
            s.Query.MIBAdd(b.OID, b.Value, b.ValueType);
        ok = s.SendRequest();
        return s.Reply;
    }

    // Raw datagram; the answer bytes, or nullopt after a short wait.
    std::optional<std::string> raw(const std::string& datagram, int waitMs = 150) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(agent.port());
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::sendto(fd, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
        std::optional<std::string> answer;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, waitMs) == 1) {
            std::string buf(65536, '\0');
            const ssize_t n = ::recv(fd, buf.data(), buf.size(), 0);
            if (n >= 0) answer = buf.substr(0, static_cast<std::size_t>(n));
        }
        ::close(fd);
        return answer;
    }

    static TSNMPMib null(const std::string& oid) { return {oid, "", ber::Null}; }

    sim::Router router;
    sim::SnmpAgent agent{router};
    SnmpSettings snmp;
};

std::vector<std::uint32_t> arcs(const std::string& oid) {
    return *sim::parseOid(oid);
}

} // namespace

TEST_F(SimAgent, AnswersGetsWithTheRoutersValues) {
    EXPECT_EQ(get("1.3.6.1.2.1.2.1.0"), "5");
    EXPECT_EQ(get("1.3.6.1.2.1.2.2.1.2.3"), "ppp channel 1");
    EXPECT_EQ(get(sim::ifOid(sim::IfPhysAddress, 1)), std::string("\x00\x80\x2d\x4f\x1a\x2b", 6));
    EXPECT_EQ(get(mib::firmware), router.get(mib::firmware)->second);
    EXPECT_EQ(get(mib::adslDownRate), "\"8000\"");
    EXPECT_EQ(get(mib::adslMode), "3");
    EXPECT_EQ(get(mib::lanAddress), "192.168.0.1");
    EXPECT_EQ(get("1.3.6.1.2.1.6.4.0"), "-1"); // tcpMaxConn
    EXPECT_EQ(get("1.3.6.1.2.1.1.2.0"), "1.3.6.1.4.1.171");
    // The write community reads too.
    EXPECT_EQ(get("1.3.6.1.2.1.2.1.0", Private), "5");
    // Big unsigned values travel whole.
    router.setTraffic(sim::WanIf, 0, 0);
    router.setOctets(sim::WanIf, 4294967295u, 2147483648u);
    EXPECT_EQ(get(sim::ifOid(sim::IfInOctets, sim::WanIf)), "4294967295");
    EXPECT_EQ(get(sim::ifOid(sim::IfOutOctets, sim::WanIf)), "2147483648");

    // Several bindings in one request come back in order, with their types and the request id.
    bool ok = false;
    const TSNMPRec r =
        exchange(ber::GetRequest, {null(mib::sysUpTime), null(sim::ifOid(8, 4)), null(mib::lanAddress)}, ok,
                 Public, 31337);
    ASSERT_TRUE(ok);
    EXPECT_EQ(r.PDUType, ber::GetResponse);
    EXPECT_EQ(r.ID, 31337);
    EXPECT_EQ(r.ErrorStatus, 0);
    ASSERT_EQ(r.MIBList.size(), 3u);
    EXPECT_EQ(r.MIBList[0].ValueType, ber::TimeTicks);
    EXPECT_EQ(r.MIBList[1].OID, sim::ifOid(8, 4));
    EXPECT_EQ(r.MIBList[1].Value, "1");
    EXPECT_EQ(r.MIBList[2].ValueType, ber::IpAddress);
    EXPECT_EQ(r.Community, Public);

    // Negative and large request ids are echoed as well.
    exchange(ber::GetRequest, {null(mib::sysDescr)}, ok, Public, -5);
    TSNMPRec neg = exchange(ber::GetRequest, {null(mib::sysDescr)}, ok, Public, -5);
    ASSERT_TRUE(ok);
    EXPECT_EQ(neg.ID, -5);
    TSNMPRec big = exchange(ber::GetRequest, {null(mib::sysDescr)}, ok, Public, 2147483647);
    ASSERT_TRUE(ok);
    EXPECT_EQ(big.ID, 2147483647);
}

TEST_F(SimAgent, UnknownObjectsAndTheEndOfTheMibAnswerNoSuchName) {
    bool ok = false;
    // get of a missing object: status 2, index 1, the name echoed with a NULL value.
    TSNMPRec r = exchange(ber::GetRequest, {null("1.3.6.1.2.1.2.2.1.8.0")}, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(r.ErrorStatus, ber::NoSuchName);
    EXPECT_EQ(r.ErrorIndex, 1);
    ASSERT_EQ(r.MIBList.size(), 1u);
    EXPECT_EQ(r.MIBList[0].OID, "1.3.6.1.2.1.2.2.1.8.0");
    EXPECT_EQ(r.MIBList[0].ValueType, ber::Null);
    EXPECT_EQ(r.MIBList[0].Value, "");
    // The client sees a response and an empty value.
    std::string v = "x";
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.2.2.1.8.0", Public, Host, v, {}, snmp));
    EXPECT_EQ(v, "");
    // A group or a table is not an object.
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.5", Public, Host, v, {}, snmp));
    EXPECT_EQ(v, "");

    // The error index names the first bad binding; every binding is echoed.
    r = exchange(ber::GetRequest, {null(mib::sysDescr), null("1.3.6.1.2.1.99.0"), null("1.3.6.1.2.1.98.0")},
                 ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(r.ErrorStatus, ber::NoSuchName);
    EXPECT_EQ(r.ErrorIndex, 2);
    ASSERT_EQ(r.MIBList.size(), 3u);
    EXPECT_EQ(r.MIBList[1].OID, "1.3.6.1.2.1.99.0");
    EXPECT_EQ(r.MIBList[0].ValueType, ber::Null);

    // An erased object is gone.
    router.erase(mib::sysDescr);
    EXPECT_TRUE(SnmpGetValue(mib::sysDescr, Public, Host, v, {}, snmp));
    EXPECT_EQ(v, "");

    // get-next past the last object.
    const auto all = router.walk("1");
    r = exchange(ber::GetNextRequest, {null(all.back().oid)}, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(r.ErrorStatus, ber::NoSuchName);
    EXPECT_EQ(r.ErrorIndex, 1);
    EXPECT_EQ(r.MIBList.at(0).OID, all.back().oid);
    EXPECT_EQ(r.MIBList.at(0).ValueType, ber::Null);
    r = exchange(ber::GetNextRequest, {null("2.1")}, ok);
    EXPECT_EQ(r.ErrorStatus, ber::NoSuchName);
}

TEST_F(SimAgent, GetNextWalksTheWholeMibInNumericOrder) {
    bool ok = false;
    std::string name = "1.3";
    std::vector<std::string> names;
    while (true) {
        const TSNMPRec r = exchange(ber::GetNextRequest, {null(name)}, ok);
        ASSERT_TRUE(ok);
        if (r.ErrorStatus) break;
        ASSERT_EQ(r.MIBList.size(), 1u);
        ASSERT_TRUE(arcs(name) < arcs(r.MIBList[0].OID)) << name << " -> " << r.MIBList[0].OID;
        name = r.MIBList[0].OID;
        names.push_back(name);
        ASSERT_LT(names.size(), 5000u);
    }
    const auto all = router.walk("1");
    ASSERT_EQ(names.size(), all.size());
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(names[i], all[i].oid);

    // Between tables and across column numbers of different widths.
    TSNMPRec r = exchange(ber::GetNextRequest, {null(sim::ifOid(9, 5))}, ok);
    EXPECT_EQ(r.MIBList.at(0).OID, sim::ifOid(10, 1));
    r = exchange(ber::GetNextRequest, {null("1.3.6.1.2.1.4.21.1.13.255")}, ok);
    EXPECT_EQ(r.MIBList.at(0).OID.rfind("1.3.6.1.2.1.4.22.1.1.", 0), 0u);
    // Several names in one get-next.
    r = exchange(ber::GetNextRequest, {null("1.3.6.1.2.1.1"), null("1.3.6.1.2.1.7.5.1.1")}, ok);
    ASSERT_EQ(r.MIBList.size(), 2u);
    EXPECT_EQ(r.MIBList[0].OID, mib::sysDescr);
    EXPECT_EQ(r.MIBList[1].OID, "1.3.6.1.2.1.7.5.1.1.0.0.0.0.67");
}

TEST_F(SimAgent, TableWalksThroughTheClient) {
    std::vector<std::string> lines;
    // The two listeners that differ only in their first address number share a line.
    ASSERT_TRUE(SnmpWalkTable("1.3.6.1.2.1.7.5.1.1", Public, Host, lines, {}, snmp));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\"10.0.0.1\",\"127.0.0.1\""), lines.end());
    ASSERT_TRUE(SnmpWalkTable("1.3.6.1.2.1.7.5.1.2", Public, Host, lines, {}, snmp));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\"53\",\"53\""), lines.end());

    // The interfaces group: ifNumber first, the hardware address in hexadecimal.
    ASSERT_TRUE(SnmpWalkTable("1.3.6.1.2.1.2", Public, Host, lines, {}, snmp));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "\"5\"");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\"00802d4f1a2b\""), lines.end());
    EXPECT_EQ(lines.size(), 1u + 5 * 22);

    // A table entry: one line per row.
    ASSERT_TRUE(SnmpWalkTable("1.3.6.1.2.1.4.20.1", Public, Host, lines, {}, snmp));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "\"192.168.0.1\",\"1\",\"255.255.255.0\",\"1\",\"65535\"");

    // Large tables and a cell left out.
    router.makeLargeRouteTable(300);
    ASSERT_TRUE(SnmpWalkTable("1.3.6.1.2.1.4.21.1", Public, Host, lines, {}, snmp));
    ASSERT_EQ(lines.size(), 300u);
    router.eraseCell("1.3.6.1.2.1.4.21.1.7", "0.0.0.0");
    ASSERT_TRUE(SnmpWalkTable("1.3.6.1.2.1.4.21.1", Public, Host, lines, {}, snmp));
    EXPECT_EQ(lines[0],
              "\"0.0.0.0\",\"4\",\"1\",\"-1\",\"-1\",\"-1\",\"4\",\"3\",\"0\",\"0.0.0.0\",\"-1\",\"0.0\"");
    router.makeLargeTcpTable(100);
    ASSERT_TRUE(SnmpWalkTable("1.3.6.1.2.1.6.13.1", Public, Host, lines, {}, snmp));
    EXPECT_EQ(lines.size(), 100u);
}

TEST_F(SimAgent, CommunityRules) {
    std::string v;
    // Unknown community: no answer at all.
    EXPECT_FALSE(SnmpGetValue(mib::sysDescr, "wrong", Host, v, {}, snmp));
    EXPECT_FALSE(SnmpGetValue(mib::sysDescr, "Public", Host, v, {}, snmp)); // case matters
    EXPECT_FALSE(SnmpGetValue(mib::sysDescr, "", Host, v, {}, snmp));
    // A set with the read-only community: no answer, nothing changes.
    const std::string before = router.get(mib::sysContact)->second;
    EXPECT_FALSE(SnmpSetValue(mib::sysContact, Public, Host, "\"intruder\"", ber::OctetString, {}, snmp));
    EXPECT_EQ(router.get(mib::sysContact)->second, before);

    router.setCommunities("ro", "rw");
    EXPECT_FALSE(SnmpGetValue(mib::sysDescr, Public, Host, v, {}, snmp));
    EXPECT_TRUE(SnmpGetValue(mib::sysDescr, "ro", Host, v, {}, snmp));
    EXPECT_TRUE(SnmpSetValue(mib::sysContact, "rw", Host, "me", ber::OctetString, {}, snmp));
    EXPECT_EQ(router.get(mib::sysContact)->second, "me");

    // The snmp group counted it all.
    EXPECT_EQ(router.get("1.3.6.1.2.1.11.4.0")->second, "4"); // snmpInBadCommunityNames
    EXPECT_EQ(router.get("1.3.6.1.2.1.11.5.0")->second, "1"); // snmpInBadCommunityUses

    // A slow router: an answer later than the client's time-out is lost; a patient client gets it.
    router.setResponseDelayMs(1000);
    EXPECT_FALSE(SnmpGetValue(mib::sysDescr, "ro", Host, v, {}, snmp));
    router.setResponseDelayMs(0);
    snmp.timeoutMs = 5000;
    EXPECT_TRUE(SnmpGetValue(mib::sysDescr, "ro", Host, v, {}, snmp));
    snmp.timeoutMs = 300;

    // A silent router answers nobody.
    router.setSilent(true);
    EXPECT_FALSE(SnmpGetValue(mib::sysDescr, "ro", Host, v, {}, snmp));
    router.setSilent(false);
    EXPECT_TRUE(SnmpGetValue(mib::sysDescr, "ro", Host, v, {}, snmp));
}

TEST_F(SimAgent, SetRules) {
    bool ok = false;
    // Writable objects take values of their own type.
    EXPECT_TRUE(SnmpSetValue(mib::sysContact, Private, Host, "\"Room 12\"", ber::OctetString, {}, snmp));
    EXPECT_EQ(get(mib::sysContact), "\"Room 12\"");
    EXPECT_TRUE(SnmpSetValue(mib::vci, Private, Host, "38", ber::Integer, {}, snmp));
    EXPECT_EQ(get(mib::vci), "38");
    EXPECT_TRUE(SnmpSetValue(mib::vpi, Private, Host, "0", ber::Integer, {}, snmp));
    EXPECT_EQ(get(mib::vpi), "0");
    EXPECT_TRUE(SnmpSetValue(mib::lanAddress, Private, Host, "10.1.2.300", ber::IpAddress, {}, snmp));
    EXPECT_EQ(get(mib::lanAddress), "10.1.2.44");

    // The answer to a good set echoes the bindings.
    TSNMPRec r = exchange(ber::SetRequest, {{mib::sysName, "gw", ber::OctetString}}, ok, Private, 9);
    ASSERT_TRUE(ok);
    EXPECT_EQ(r.ErrorStatus, 0);
    EXPECT_EQ(r.ID, 9);
    ASSERT_EQ(r.MIBList.size(), 1u);
    EXPECT_EQ(r.MIBList[0].Value, "gw");

    // Read-only object: readOnly, index of the binding; nothing changes.
    const std::string descr = router.get(mib::sysDescr)->second;
    r = exchange(ber::SetRequest, {{mib::sysDescr, "x", ber::OctetString}}, ok, Private);
    ASSERT_TRUE(ok);
    EXPECT_EQ(r.ErrorStatus, ber::ReadOnly);
    EXPECT_EQ(r.ErrorIndex, 1);
    EXPECT_EQ(r.MIBList.at(0).Value, "x");
    EXPECT_EQ(router.get(mib::sysDescr)->second, descr);
    // ... or noSuchName when the router follows RFC 1157's procedure to the letter.
    router.setReadOnlySetError(sim::ReadOnlySetError::NoSuchName);
    r = exchange(ber::SetRequest, {{mib::sysDescr, "x", ber::OctetString}}, ok, Private);
    EXPECT_EQ(r.ErrorStatus, ber::NoSuchName);

    // Missing object: noSuchName.
    r = exchange(ber::SetRequest, {{"1.3.6.1.4.1.171.11.30.6.1.1.3.2", "1", ber::Integer}}, ok, Private);
    EXPECT_EQ(r.ErrorStatus, ber::NoSuchName);
    EXPECT_FALSE(router.exists("1.3.6.1.4.1.171.11.30.6.1.1.3.2"));

    // Wrong type, out of range, too long: badValue.
    r = exchange(ber::SetRequest, {{mib::vpi, "8", ber::OctetString}}, ok, Private);
    EXPECT_EQ(r.ErrorStatus, ber::BadValue);
    r = exchange(ber::SetRequest, {{mib::vpi, "256", ber::Integer}}, ok, Private);
    EXPECT_EQ(r.ErrorStatus, ber::BadValue);
    r = exchange(ber::SetRequest, {{mib::vci, "-1", ber::Integer}}, ok, Private);
    EXPECT_EQ(r.ErrorStatus, ber::BadValue);
    r = exchange(ber::SetRequest, {{mib::sysLocation, std::string(256, 'a'), ber::OctetString}}, ok, Private);
    EXPECT_EQ(r.ErrorStatus, ber::BadValue);
    r = exchange(ber::SetRequest, {{mib::lanAddress, "192.168.0.1", ber::OctetString}}, ok, Private);
    EXPECT_EQ(r.ErrorStatus, ber::BadValue);
    EXPECT_EQ(get(mib::vpi), "0");
    EXPECT_EQ(get(mib::vci), "38");

    // All or nothing: the second binding fails, the first is not applied.
    r = exchange(ber::SetRequest,
                 {{mib::sysContact, "first", ber::OctetString}, {mib::vpi, "999", ber::Integer}}, ok,
                 Private);
    ASSERT_TRUE(ok);
    EXPECT_EQ(r.ErrorStatus, ber::BadValue);
    EXPECT_EQ(r.ErrorIndex, 2);
    EXPECT_EQ(router.get(mib::sysContact)->second, "\"Room 12\"");
    r = exchange(ber::SetRequest,
                 {{mib::sysContact, "both", ber::OctetString}, {mib::vpi, "1", ber::Integer}}, ok, Private);
    EXPECT_EQ(r.ErrorStatus, 0);
    EXPECT_EQ(router.get(mib::sysContact)->second, "both");
    EXPECT_EQ(router.get(mib::vpi)->second, "1");

    // ifAdminStatus down takes the interface down.
    EXPECT_TRUE(
        SnmpSetValue(sim::ifOid(sim::IfAdminStatus, sim::LanIf), Private, Host, "2", ber::Integer, {}, snmp));
    EXPECT_EQ(get(sim::ifOid(sim::IfOperStatus, sim::LanIf)), "2");
}

TEST_F(SimAgent, CountersAdvanceWrapAndRestart) {
    // Counters move with time and with the router's clock.
    const std::uint32_t up1 = std::stoul(get(mib::sysUpTime));
    const std::uint32_t in1 = std::stoul(get(sim::ifOid(sim::IfInOctets, sim::WanIf)));
    router.advance(60);
    EXPECT_GE(std::stoul(get(mib::sysUpTime)), up1 + 6000);
    EXPECT_GE(std::stoul(get(sim::ifOid(sim::IfInOctets, sim::WanIf))) - in1, 60u * 100000);

    // A counter set near the top wraps within a few seconds at a settable rate.
    router.setTraffic(sim::WanIf, 1e6, 0);
    router.setOctets(sim::WanIf, 4294967295u - 500000, 0);
    const std::uint32_t before = std::stoul(get(sim::ifOid(sim::IfInOctets, sim::WanIf)));
    EXPECT_GE(before, 4294967295u - 500000);
    router.advance(1);
    const std::uint32_t after = std::stoul(get(sim::ifOid(sim::IfInOctets, sim::WanIf)));
    EXPECT_LT(after, before);
    EXPECT_GE(after, 499999u);

    // The snmp group counts the requests it served.
    const std::uint32_t gets = std::stoul(get("1.3.6.1.2.1.11.15.0"));
    get(mib::sysDescr);
    EXPECT_EQ(std::stoul(get("1.3.6.1.2.1.11.15.0")), gets + 2);

    // Restart: uptime and counters from 0.
    router.setTraffic(sim::WanIf, 0, 0);
    router.restart();
    EXPECT_LT(std::stoul(get(mib::sysUpTime)), 1000u);
    EXPECT_EQ(get(sim::ifOid(sim::IfInOctets, sim::WanIf)), "0");
    EXPECT_LT(std::stoul(get("1.3.6.1.2.1.11.1.0")), 5u);
}

TEST_F(SimAgent, RequestLogRecordsEveryName) {
    router.clearRequestLog();
    get(mib::sysDescr);
    std::string v;
    SnmpGetValue(mib::sysName, "wrong", Host, v, {}, snmp);
    std::vector<std::string> lines;
    SnmpWalkTable("1.3.6.1.2.1.4.20.1.1", Public, Host, lines, {}, snmp);
    const auto log = router.requestLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0], mib::sysDescr);
    EXPECT_EQ(log[1], mib::sysName);
    EXPECT_EQ(log[2], "1.3.6.1.2.1.4.20.1.1");
    const auto requests = router.requests();
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_TRUE(requests[0].answered);
    EXPECT_FALSE(requests[1].answered);
    EXPECT_EQ(requests[1].community, "wrong");
    EXPECT_EQ(requests[2].pduType, ber::GetNextRequest);
    router.clearRequestLog();
    EXPECT_TRUE(router.requestLog().empty());
    EXPECT_TRUE(router.requests().empty());
}

TEST_F(SimAgent, TooBigAnswersAreRefused) {
    router.setMaxMessageSize(200);
    std::vector<TSNMPMib> many;
    for (int i = 1; i <= 5; ++i)
        many.push_back(null(sim::ifOid(sim::IfDescr, i)));
    many.push_back(null(mib::sysDescr));
    many.push_back(null(mib::firmware));
    bool ok = false;
    TSNMPRec r = exchange(ber::GetRequest, many, ok);
    ASSERT_TRUE(ok);
    EXPECT_EQ(r.ErrorStatus, ber::TooBig);
    EXPECT_EQ(r.ErrorIndex, 0);
    EXPECT_EQ(r.MIBList.size(), many.size());
    EXPECT_EQ(get(mib::sysDescr), router.get(mib::sysDescr)->second);
}

TEST_F(SimAgent, MalformedDatagramsGetNoAnswerAndDoNoHarm) {
    // A good request, as the client encodes it.
    TSNMPRec q;
    q.Community = Public;
    q.PDUType = ber::GetRequest;
    q.ID = 5;
    q.MIBAdd(mib::sysName, "", ber::Null);
    const std::string good = q.EncodeBuf();
    ASSERT_TRUE(raw(good));
    // Every truncation and a few corruptions of it: never an answer, never a crash.
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(router.answer(good.substr(0, n))) << n;
    EXPECT_FALSE(raw(good.substr(0, good.size() - 1)));
    EXPECT_FALSE(raw(good + std::string(1, '\0')));
    EXPECT_FALSE(raw(std::string("\x30\x84\xff\xff\xff\xff", 6)));
    EXPECT_FALSE(raw(std::string("\x30\x80\x02\x01\x00\x00\x00", 7))); // indefinite length
    EXPECT_FALSE(raw(""));
    EXPECT_FALSE(raw("hello router"));
    // Version 2c, a GetResponse and a trap sent to the agent: not answered.
    TSNMPRec v2 = q;
    v2.Version = 1;
    EXPECT_FALSE(raw(v2.EncodeBuf()));
    TSNMPRec resp = q;
    resp.PDUType = ber::GetResponse;
    EXPECT_FALSE(raw(resp.EncodeBuf()));
    TSNMPRec bad = q;
    bad.PDUType = 0xA7;
    EXPECT_FALSE(router.answer(bad.EncodeBuf()));

    // Random bytes and random flips.
    std::mt19937 rng(1157);
    for (int i = 0; i < 3000; ++i) {
        std::string d = good;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f)
            d[rng() % d.size()] = static_cast<char>(rng());
        router.answer(d);
        std::string junk(rng() % 64, '\0');
        for (char& c : junk)
            c = static_cast<char>(rng());
        if (!junk.empty() && i % 2) junk[0] = '\x30';
        router.answer(junk);
    }
    // Still serving.
    EXPECT_EQ(get(sim::ifOid(sim::IfDescr, 1)), "ethernet");
    EXPECT_GT(std::stoul(get("1.3.6.1.2.1.11.6.0")), 0u); // snmpInASNParseErrs
}

TEST_F(SimAgent, StartsAndStopsCleanly) {
    sim::SnmpAgent second(router, "127.0.0.1", agent.port());
    EXPECT_FALSE(second.start()); // the port is taken
    EXPECT_FALSE(second.lastError().empty());
    sim::SnmpAgent badAddress(router, "not-an-address", 0);
    EXPECT_FALSE(badAddress.start());

    sim::SnmpAgent other(router);
    ASSERT_TRUE(other.start());
    EXPECT_NE(other.port(), 0);
    EXPECT_NE(other.port(), agent.port());
    other.stop();
    other.stop(); // twice is fine
    agent.stop();
    std::string v;
    EXPECT_FALSE(SnmpGetValue(mib::sysDescr, Public, Host, v, {}, snmp));
}
