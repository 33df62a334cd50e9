// Router stand-in state: OID order, the default router, time, counters, tables, control language.
#include "net/core/SnmpBer.h"
#include "sim/ControlProtocol.h"
#include "sim/RouterSim.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

using sim::Router;

namespace {

std::uint32_t number(const Router& r, const std::string& oid) {
    const auto v = r.get(oid);
    EXPECT_TRUE(v) << oid;
    return v ? static_cast<std::uint32_t>(std::stoull(v->second)) : 0;
}

} // namespace

TEST(SimOid, ParsesDottedTextAndOrdersArcsAsNumbers) {
    EXPECT_EQ(sim::parseOid("1.3.6.1"), (sim::Oid{1, 3, 6, 1}));
    EXPECT_EQ(sim::parseOid(".1.3.6.1"), (sim::Oid{1, 3, 6, 1}));
    EXPECT_EQ(sim::parseOid("1.3.4294967295"), (sim::Oid{1, 3, 4294967295u}));
    for (const char* bad : {"", ".", "1..3", "1.3.", "1.a.3", "1.3.4294967296", "1 .3", "-1.3"})
        EXPECT_FALSE(sim::parseOid(bad)) << bad;
    EXPECT_EQ(sim::oidText({1, 3, 6, 1, 4, 1, 171}), "1.3.6.1.4.1.171");

    // 2 < 10 as numbers (the text order would say otherwise); a prefix comes first.
    EXPECT_TRUE(*sim::parseOid("1.3.6.1.2.1.2.2.1.2.5") < *sim::parseOid("1.3.6.1.2.1.2.2.1.10.1"));
    EXPECT_TRUE(*sim::parseOid("1.3.6.1.2.1.1") < *sim::parseOid("1.3.6.1.2.1.1.0"));
    EXPECT_FALSE(*sim::parseOid("1.3.6.1") < *sim::parseOid("1.3.6.1"));
}

TEST(SimRouter, DefaultRouterLooksLikeTheDLink) {
    Router r;
    EXPECT_EQ(r.get(mib::ifNumber), std::make_pair(int(ber::Integer), std::string("5")));
    const char* descr[] = {"ethernet", "atm", "ppp channel 1", "ppp1", "lo"};
    for (int i = 1; i <= 5; ++i) {
        EXPECT_EQ(r.get(sim::ifOid(sim::IfDescr, i))->second, descr[i - 1]);
        EXPECT_EQ(r.get(sim::ifOid(sim::IfIndex, i))->second, std::to_string(i));
    }
    for (int i : {sim::LanIf, sim::PppIf, sim::WanIf})
        EXPECT_EQ(r.operStatus(i), 1);
    EXPECT_EQ(r.get(sim::ifOid(sim::IfPhysAddress, 1))->second, std::string("\x00\x80\x2d\x4f\x1a\x2b", 6));
    EXPECT_EQ(r.get(sim::ifOid(sim::IfInOctets, 4))->first, ber::Counter);
    EXPECT_EQ(r.get(mib::sysUpTime)->first, ber::TimeTicks);
    EXPECT_EQ(r.readCommunity(), "public");
    EXPECT_EQ(r.writeCommunity(), "quorbex");

    // Enterprise objects and their types.
    EXPECT_EQ(r.get(mib::firmware)->first, ber::OctetString);
    EXPECT_EQ(r.get(mib::adslMode), std::make_pair(int(ber::Integer), std::string("3")));
    EXPECT_EQ(r.get(mib::adslStatus), std::make_pair(int(ber::Integer), std::string("2")));
    EXPECT_EQ(r.get(mib::adslDownRate)->second, "\"8000\"");
    for (const char* o :
         {mib::adslUpRate, mib::adslUpAttenuation, mib::adslDownAttenuation, mib::adslUpSnr, mib::adslDownSnr,
          mib::adslUpPower, mib::adslDownPower, mib::pppUser, mib::pppPassword})
        EXPECT_TRUE(r.exists(o)) << o;
    EXPECT_EQ(r.get(mib::lanAddress), std::make_pair(int(ber::IpAddress), std::string("192.168.0.1")));
    EXPECT_EQ(r.get(mib::wanAddress)->first, ber::IpAddress);
    EXPECT_EQ(r.get(mib::vpi)->first, ber::Integer);
    EXPECT_EQ(r.get(mib::vci)->first, ber::Integer);

    // Writable: contact, name, location, LAN address, VPI, VCI; not the description or the WAN address.
    for (const char* o :
         {mib::sysContact, mib::sysName, mib::sysLocation, mib::lanAddress, mib::vpi, mib::vci})
        EXPECT_TRUE(r.isWritable(o)) << o;
    for (const char* o : {mib::sysDescr, mib::sysUpTime, mib::wanAddress, mib::firmware})
        EXPECT_FALSE(r.isWritable(o)) << o;
}

TEST(SimRouter, DefaultTablesHaveTheRowsTheProgramNeeds) {
    Router r;
    EXPECT_EQ(r.walk("1.3.6.1.2.1.4.20.1.1").size(), 2u); // two addresses
    EXPECT_GE(r.walk("1.3.6.1.2.1.4.21.1.1").size(), 3u); // several routes
    EXPECT_GE(r.walk("1.3.6.1.2.1.4.22.1.1").size(), 2u); // ARP entries
    std::set<std::string> states;
    for (const auto& b : r.walk("1.3.6.1.2.1.6.13.1.1"))
        states.insert(b.value);
    EXPECT_TRUE(states.count("2")) << "a listener";
    EXPECT_TRUE(states.count("5")) << "an established connection";
    EXPECT_TRUE(states.count("8")) << "a connection in closeWait";
    EXPECT_EQ(r.get("1.3.6.1.2.1.6.9.0")->second, "3"); // tcpCurrEstab: established and closeWait rows

    // Two UDP listeners on one port whose addresses differ only in the first number.
    const auto udp = r.walk("1.3.6.1.2.1.7.5.1.1");
    std::map<std::string, int> byRest;
    for (const auto& b : udp) {
        const std::string inst = b.oid.substr(std::string("1.3.6.1.2.1.7.5.1.1.").size());
        byRest[inst.substr(inst.find('.') + 1)]++;
    }
    bool shared = false;
    for (const auto& [rest, n] : byRest)
        shared = shared || n >= 2;
    EXPECT_TRUE(shared);

    // Every group the program shows is there.
    for (const char* group : {"1.3.6.1.2.1.1", "1.3.6.1.2.1.2", "1.3.6.1.2.1.4", "1.3.6.1.2.1.5",
                              "1.3.6.1.2.1.6", "1.3.6.1.2.1.7", "1.3.6.1.2.1.11"})
        EXPECT_FALSE(r.walk(group).empty()) << group;
    EXPECT_EQ(r.walk("1.3.6.1.2.1.5").size(), 26u);
    EXPECT_EQ(r.walk("1.3.6.1.2.1.11").size(), 28u);
}

TEST(SimRouter, NextOidFollowsLexicographicOrderAcrossTheWholeMib) {
    Router r;
    std::string oid = "0";
    std::vector<sim::Oid> seen;
    while (auto n = r.nextOid(oid)) {
        seen.push_back(*sim::parseOid(*n));
        oid = *n;
    }
    ASSERT_GT(seen.size(), 300u);
    for (std::size_t i = 1; i < seen.size(); ++i)
        ASSERT_TRUE(seen[i - 1] < seen[i]) << sim::oidText(seen[i]);
    EXPECT_EQ(seen.size(), r.walk("1").size());
    EXPECT_EQ(sim::oidText(seen.front()), mib::sysDescr);

    // Columns 2..9 come before 10..22 (numeric order), and the step out of a table lands on the next group.
    EXPECT_EQ(r.nextOid(sim::ifOid(9, 5)), sim::ifOid(10, 1));
    EXPECT_EQ(r.nextOid("1.3.6.1.2.1.1.7.0"), "1.3.6.1.2.1.2.1.0");
    EXPECT_EQ(r.nextOid("1.3.6.1.2.1.1"), "1.3.6.1.2.1.1.1.0");
    EXPECT_FALSE(r.nextOid("2"));
    EXPECT_FALSE(r.nextOid("not an oid"));
}

TEST(SimRouter, GenericSetEraseAndCells) {
    Router r;
    r.set("1.3.6.1.4.1.99.1.0", ber::Gauge, "42");
    EXPECT_EQ(r.get("1.3.6.1.4.1.99.1.0"), std::make_pair(int(ber::Gauge), std::string("42")));
    EXPECT_FALSE(r.isWritable("1.3.6.1.4.1.99.1.0"));
    r.define("1.3.6.1.4.1.99.2.0", ber::OctetString, std::string("a\0b", 3), sim::Access::ReadWrite);
    EXPECT_EQ(r.get("1.3.6.1.4.1.99.2.0")->second, std::string("a\0b", 3));
    EXPECT_TRUE(r.isWritable("1.3.6.1.4.1.99.2.0"));
    // Replacing keeps the access.
    r.set("1.3.6.1.4.1.99.2.0", ber::OctetString, "x");
    EXPECT_TRUE(r.isWritable("1.3.6.1.4.1.99.2.0"));

    r.erase(mib::sysDescr);
    EXPECT_FALSE(r.get(mib::sysDescr));
    EXPECT_EQ(r.nextOid("1.3.6.1.2.1.1"), mib::sysObjectID);

    // A cell left out of a table: the walk skips it, the neighbours stay.
    const auto before = r.walk("1.3.6.1.2.1.4.21.1.7").size();
    r.eraseCell("1.3.6.1.2.1.4.21.1.7", "0.0.0.0");
    EXPECT_FALSE(r.exists("1.3.6.1.2.1.4.21.1.7.0.0.0.0"));
    EXPECT_TRUE(r.exists("1.3.6.1.2.1.4.21.1.1.0.0.0.0"));
    EXPECT_EQ(r.walk("1.3.6.1.2.1.4.21.1.7").size(), before - 1);

    const std::size_t tcpObjects = r.walk("1.3.6.1.2.1.6.13").size();
    EXPECT_EQ(r.eraseSubtree("1.3.6.1.2.1.6.13"), tcpObjects);
    EXPECT_TRUE(r.walk("1.3.6.1.2.1.6.13").empty());

    EXPECT_THROW(r.set("1..2", ber::Integer, "1"), std::invalid_argument);
    EXPECT_THROW(r.setOperStatus(9, 1), std::out_of_range);
}

TEST(SimRouter, UptimeAndTrafficAdvanceWithTheClock) {
    Router r;
    r.setUptime(1000);
    r.setOctets(sim::WanIf, 0, 0);
    r.setTraffic(sim::WanIf, 1000, 250.5);
    r.advance(10);
    const std::uint32_t up = r.uptime();
    EXPECT_GE(up, 2000u);
    EXPECT_LT(up, 2000u + 100 * 60); // not more than the test's own run time
    const std::uint32_t in = number(r, sim::ifOid(sim::IfInOctets, sim::WanIf));
    const std::uint32_t out = number(r, sim::ifOid(sim::IfOutOctets, sim::WanIf));
    EXPECT_GE(in, 10000u);
    EXPECT_LT(in, 10000u + 60000u);
    EXPECT_GE(out, 2505u);
    EXPECT_GT(number(r, sim::ifOid(sim::IfInUcastPkts, sim::WanIf)), 0u);

    // Counters are 32 bits: they wrap.
    r.setOctets(sim::WanIf, 4294967295u - 5000, 7);
    r.advance(10);
    const std::uint32_t wrapped = number(r, sim::ifOid(sim::IfInOctets, sim::WanIf));
    EXPECT_LT(wrapped, 60000u);
    EXPECT_GE(wrapped, 4999u);

    // So does sysUpTime.
    r.setUptime(4294967295u - 50);
    r.advance(1);
    EXPECT_LT(r.uptime(), 1000u);

    // No traffic: the counter stands still.
    r.setTraffic(sim::WanIf, 0, 0);
    const std::uint32_t still = number(r, sim::ifOid(sim::IfInOctets, sim::WanIf));
    r.advance(100);
    EXPECT_EQ(number(r, sim::ifOid(sim::IfInOctets, sim::WanIf)), still);
}

TEST(SimRouter, DefaultTrafficIsLivelyOnTheWan) {
    Router r;
    const std::uint32_t in0 = number(r, sim::ifOid(sim::IfInOctets, sim::WanIf));
    const std::uint32_t out0 = number(r, sim::ifOid(sim::IfOutOctets, sim::WanIf));
    r.advance(5);
    const std::uint32_t din = number(r, sim::ifOid(sim::IfInOctets, sim::WanIf)) - in0;
    const std::uint32_t dout = number(r, sim::ifOid(sim::IfOutOctets, sim::WanIf)) - out0;
    EXPECT_GE(din, 5u * 100000); // about 200 kB/s in
    EXPECT_GE(dout, 5u * 15000); // about 30 kB/s out
    EXPECT_GT(din, dout);
}

TEST(SimRouter, OperStatusStopsTrafficAndSetsLastChange) {
    Router r;
    r.setUptime(50000);
    r.setPppLink(false);
    EXPECT_EQ(r.operStatus(sim::PppIf), 2);
    EXPECT_EQ(r.operStatus(sim::WanIf), 2);
    EXPECT_EQ(r.operStatus(sim::LanIf), 1);
    const std::uint32_t change = number(r, sim::ifOid(sim::IfLastChange, sim::WanIf));
    EXPECT_GE(change, 50000u);
    EXPECT_LE(change, r.uptime());

    const std::uint32_t in = number(r, sim::ifOid(sim::IfInOctets, sim::WanIf));
    r.advance(30);
    EXPECT_EQ(number(r, sim::ifOid(sim::IfInOctets, sim::WanIf)), in);

    // Same status again: ifLastChange stays.
    r.setOperStatus(sim::WanIf, 2);
    EXPECT_EQ(number(r, sim::ifOid(sim::IfLastChange, sim::WanIf)), change);

    r.setPppLink(true);
    EXPECT_GE(number(r, sim::ifOid(sim::IfLastChange, sim::WanIf)), change + 3000);
    r.advance(1);
    EXPECT_GT(number(r, sim::ifOid(sim::IfInOctets, sim::WanIf)), in);
}

TEST(SimRouter, RestartClearsUptimeAndCounters) {
    Router r;
    r.setTraffic(sim::WanIf, 0, 0);
    r.restart();
    EXPECT_LT(r.uptime(), 500u);
    EXPECT_EQ(number(r, sim::ifOid(sim::IfInOctets, sim::WanIf)), 0u);
    EXPECT_EQ(number(r, sim::ifOid(sim::IfLastChange, sim::LanIf)), 0u);
    EXPECT_EQ(number(r, "1.3.6.1.2.1.11.1.0"), 0u);
    // Texts, gauges and integers survive.
    EXPECT_EQ(r.get(sim::ifOid(sim::IfDescr, 1))->second, "ethernet");
    EXPECT_EQ(number(r, sim::ifOid(sim::IfSpeed, 1)), 100000000u);
    // And the counters go on growing after it.
    r.advance(2);
    EXPECT_GT(number(r, sim::ifOid(sim::IfInOctets, sim::LanIf)), 0u);
    EXPECT_GE(r.uptime(), 200u);
}

TEST(SimRouter, AdslFiguresAndQuotedTexts) {
    Router r;
    r.setAdslRates("640", "4000");
    EXPECT_EQ(r.get(mib::adslUpRate)->second, "\"640\"");
    EXPECT_EQ(r.get(mib::adslDownRate)->second, "\"4000\"");
    r.setQuotedTexts(false);
    r.setAdslRates("1024", "8128");
    EXPECT_EQ(r.get(mib::adslDownRate)->second, "8128");
    r.setAdslMode(4);
    r.setAdslStatus(1);
    r.setAdslAttenuation("10.5", "31.0");
    r.setAdslSnr("7.0", "6.5");
    r.setAdslOutputPower("11.9", "18.0");
    EXPECT_EQ(r.get(mib::adslMode)->second, "4");
    EXPECT_EQ(r.get(mib::adslStatus)->second, "1");
    EXPECT_EQ(r.get(mib::adslDownAttenuation)->second, "31.0");
    EXPECT_EQ(r.get(mib::adslUpSnr)->second, "7.0");
    EXPECT_EQ(r.get(mib::adslDownPower)->second, "18.0");
}

TEST(SimRouter, LargeTablesOnDemand) {
    Router r;
    r.makeLargeRouteTable(300);
    const auto dests = r.walk("1.3.6.1.2.1.4.21.1.1");
    ASSERT_EQ(dests.size(), 300u);
    EXPECT_EQ(r.walk("1.3.6.1.2.1.4.21").size(), 300u * 13);
    for (const auto& b : dests)
        EXPECT_EQ(b.oid, "1.3.6.1.2.1.4.21.1.1." + b.value); // the instance is the destination

    r.makeLargeTcpTable(100);
    const auto conns = r.walk("1.3.6.1.2.1.6.13.1.1");
    ASSERT_EQ(conns.size(), 100u);
    int listen = 0, established = 0;
    for (const auto& b : conns) {
        listen += b.value == "2";
        established += b.value == "5";
    }
    EXPECT_GE(listen, 1);
    EXPECT_GE(established, 50);
    EXPECT_EQ(r.get("1.3.6.1.2.1.6.9.0")->second,
              std::to_string(established + int(std::count_if(conns.begin(), conns.end(),
                                                             [](const auto& b) { return b.value == "8"; }))));
    r.makeLargeRouteTable(0);
    EXPECT_TRUE(r.walk("1.3.6.1.2.1.4.21").empty());
}

TEST(SimControlProtocol, CommandsChangeTheRouter) {
    Router r;
    sim::ControlProtocol c(r);
    EXPECT_EQ(c.execute("ping"), "ok pong");
    EXPECT_EQ(c.execute("set 1.3.6.1.2.1.1.5.0 string two  words \r\n"), "ok");
    EXPECT_EQ(r.get(mib::sysName)->second, "two  words ");
    EXPECT_EQ(c.execute("get 1.3.6.1.2.1.1.5.0"), "ok string two  words ");
    EXPECT_EQ(c.execute("set 1.3.6.1.2.1.2.2.1.6.2 hex 00:0a:0d:ff"), "ok");
    EXPECT_EQ(r.get(sim::ifOid(6, 2))->second, std::string("\x00\x0a\x0d\xff", 4));
    EXPECT_EQ(c.execute("get 1.3.6.1.2.1.2.2.1.6.2"), "ok hex 000a0dff");
    EXPECT_EQ(c.execute("set 1.3.6.1.4.1.9.1 0x41 17"), "ok");
    EXPECT_EQ(c.execute("get 1.3.6.1.4.1.9.1"), "ok counter 17");
    EXPECT_EQ(c.execute("next 1.3.6.1.2.1.1.7.0"), "ok 1.3.6.1.2.1.2.1.0 integer 5");

    EXPECT_EQ(c.execute("traffic 4 0 0"), "ok");
    EXPECT_EQ(c.execute("octets 4 4294967295 12"), "ok");
    EXPECT_EQ(c.execute("get 1.3.6.1.2.1.2.2.1.10.4"), "ok counter 4294967295");
    EXPECT_EQ(c.execute("oper 3 down"), "ok");
    EXPECT_EQ(r.operStatus(3), 2);
    EXPECT_EQ(c.execute("oper 3 7"), "ok");
    EXPECT_EQ(r.operStatus(3), 7);
    EXPECT_EQ(c.execute("link down"), "ok");
    EXPECT_EQ(r.operStatus(4), 2);
    EXPECT_EQ(c.execute("descr 2 ATM  over DSL"), "ok");
    EXPECT_EQ(r.get(sim::ifOid(2, 2))->second, "ATM  over DSL");
    EXPECT_EQ(c.execute("uptime 12345"), "ok 12345");
    EXPECT_EQ(c.execute("advance 1"), "ok");
    EXPECT_GE(r.uptime(), 12445u);
    EXPECT_EQ(c.execute("community pub priv"), "ok");
    EXPECT_EQ(r.writeCommunity(), "priv");
    EXPECT_EQ(c.execute("adsl rates 1 2"), "ok");
    EXPECT_EQ(r.get(mib::adslUpRate)->second, "\"1\"");
    EXPECT_EQ(c.execute("adsl mode 2"), "ok");
    EXPECT_EQ(c.execute("adsl snr 3 4"), "ok");
    EXPECT_EQ(r.get(mib::adslDownSnr)->second, "4");
    EXPECT_EQ(c.execute("silent on"), "ok");
    EXPECT_TRUE(r.silent());
    EXPECT_EQ(c.execute("silent off"), "ok");
    EXPECT_EQ(c.execute("delay 250"), "ok");
    EXPECT_EQ(r.responseDelayMs(), 250);
    EXPECT_EQ(c.execute("delay 0"), "ok");
    EXPECT_EQ(c.execute("routes 20"), "ok");
    EXPECT_EQ(r.walk("1.3.6.1.2.1.4.21.1.1").size(), 20u);
    EXPECT_EQ(c.execute("tcpconns 7"), "ok");
    EXPECT_EQ(r.walk("1.3.6.1.2.1.6.13.1.1").size(), 7u);
    EXPECT_EQ(c.execute("erase 1.3.6.1.2.1.1.1.0"), "ok");
    EXPECT_FALSE(r.exists(mib::sysDescr));
    EXPECT_EQ(c.execute("erasecell 1.3.6.1.2.1.7.5.1.2 0.0.0.0.161"), "ok");
    EXPECT_FALSE(r.exists("1.3.6.1.2.1.7.5.1.2.0.0.0.0.161"));
    EXPECT_EQ(c.execute("writable 1.3.6.1.2.1.1.7.0 on"), "ok");
    EXPECT_TRUE(r.isWritable("1.3.6.1.2.1.1.7.0"));
    EXPECT_EQ(c.execute("restart"), "ok");
    EXPECT_LT(r.uptime(), 500u);
    EXPECT_EQ(c.execute("log"), "ok 0");
    EXPECT_EQ(c.execute("stats"), "ok received 0 answered 0");

    bool called = false;
    c.addCommand("port", [&](const std::vector<std::string>& args, std::string_view rest) {
        called = args.size() == 1 && rest == "x";
        return std::string("ok 99");
    });
    EXPECT_EQ(c.execute("port x"), "ok 99");
    EXPECT_TRUE(called);
    EXPECT_NE(c.execute("help").find(" port"), std::string::npos);
}

TEST(SimControlProtocol, BadCommandsAnswerErrorAndChangeNothing) {
    Router r;
    sim::ControlProtocol c(r);
    const std::string name = r.get(mib::sysName)->second;
    for (const char* bad : {"",
                            "   ",
                            "bogus",
                            "get",
                            "get 1..3",
                            "get 1.3.6.1.9.9",
                            "next 2",
                            "set 1.3.6.1.2.1.1.5.0",
                            "set 1.3.6.1.2.1.1.5.0 nosuchtype x",
                            "set 1.3.6.1.2.1.1.5.0 hex 0g",
                            "set 1.3.6.1.2.1.1.5.0 hex 123",
                            "set x.y string z",
                            "traffic 9 1 1",
                            "traffic 4 -1 0",
                            "traffic 4 a b",
                            "octets 4 4294967296 0",
                            "octets 0 1 1",
                            "oper 4 sideways",
                            "uptime -1",
                            "advance -5",
                            "silent maybe",
                            "adsl",
                            "adsl rates 1",
                            "adsl colour 1 2",
                            "routes -1",
                            "tcpconns many",
                            "log foo",
                            "writable 1.3.6.1.9 on",
                            "link sideways"}) {
        const std::string answer = c.execute(bad);
        EXPECT_EQ(answer.rfind("error", 0), 0u) << bad << " -> " << answer;
    }
    EXPECT_EQ(r.get(mib::sysName)->second, name);
    EXPECT_FALSE(r.silent());
}
