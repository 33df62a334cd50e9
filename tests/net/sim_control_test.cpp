// The stand-in executable: command line, control socket, ctl client mode, SNMP from outside.
#include "net/SnmpClient.h"
#include "sim/ControlServer.h"
#include "support/SimControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

class SimExecutable : public ::testing::Test {
protected:
    void SetUp() override {
        if (SimProcess::binary().empty()) GTEST_SKIP() << "KESTRUNE_SIM_BIN is not set";
        snmp.timeoutMs = 300;
    }

    SnmpSettings snmp;
};

std::string cmd(const SimProcess& p, const std::string& line) {
    return p.command(line).value_or("<no answer>");
}

} // namespace

TEST_F(SimExecutable, HelpAndBadArguments) {
    std::string out;
    EXPECT_EQ(SimProcess::run({"--help"}, out), 0);
    for (const char* word : {"--snmp ADDR:PORT", "--control PATH", "--read-community", "--write-community",
                             "ctl PATH", "traffic", "octets", "silent on|off", "restart", "uptime"})
        EXPECT_NE(out.find(word), std::string::npos) << word;
    EXPECT_EQ(SimProcess::run({"-h"}, out), 0);

    EXPECT_EQ(SimProcess::run({"--bogus"}, out), 2);
    EXPECT_NE(out.find("--bogus"), std::string::npos);
    EXPECT_EQ(SimProcess::run({"--snmp"}, out), 2);
    EXPECT_EQ(SimProcess::run({"--snmp", "127.0.0.1"}, out), 2);
    EXPECT_EQ(SimProcess::run({"--snmp", "127.0.0.1:70000"}, out), 2);
    EXPECT_EQ(SimProcess::run({"--snmp", "999.1.1.1:0"}, out), 2);
    EXPECT_NE(out.find("cannot start the SNMP agent"), std::string::npos) << out;
    EXPECT_EQ(SimProcess::run({"ctl"}, out), 2);
    EXPECT_EQ(SimProcess::run({"ctl", "/nonexistent/kestrune.sock", "ping"}, out), 2);
}

TEST_F(SimExecutable, ServesSnmpAndObeysTheControlSocket) {
    SimProcess sim;
    ASSERT_TRUE(sim.start());
    ASSERT_NE(sim.snmpPort(), 0);
    snmp.port = sim.snmpPort();

    std::string v;
    ASSERT_TRUE(SnmpGetValue("1.3.6.1.2.1.2.2.1.2.4", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_EQ(v, "ppp1");

    // set / get through the socket, seen over SNMP.
    EXPECT_EQ(cmd(sim, "set 1.3.6.1.2.1.1.5.0 string \"gateway\""), "ok");
    ASSERT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.5.0", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_EQ(v, "\"gateway\"");
    // An SNMP set is seen through the socket.
    ASSERT_TRUE(
        SnmpSetValue("1.3.6.1.2.1.1.6.0", "quorbex", "127.0.0.1", "Attic", ber::OctetString, {}, snmp));
    EXPECT_EQ(cmd(sim, "get 1.3.6.1.2.1.1.6.0"), "ok string Attic");

    // Counters near the top wrap.
    EXPECT_EQ(cmd(sim, "traffic 4 1000000 0"), "ok");
    EXPECT_EQ(cmd(sim, "octets 4 4294967000 0"), "ok");
    EXPECT_EQ(cmd(sim, "advance 2"), "ok");
    ASSERT_TRUE(SnmpGetValue("1.3.6.1.2.1.2.2.1.10.4", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_LT(std::stoul(v), 4294967000u);

    EXPECT_EQ(cmd(sim, "oper 3 down"), "ok");
    ASSERT_TRUE(SnmpGetValue("1.3.6.1.2.1.2.2.1.8.3", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_EQ(v, "2");
    EXPECT_EQ(cmd(sim, "erase 1.3.6.1.2.1.1.1.0"), "ok");
    ASSERT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.1.0", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_EQ(v, "");
    EXPECT_EQ(cmd(sim, "uptime 100"), "ok 100");
    EXPECT_EQ(cmd(sim, "restart"), "ok");
    ASSERT_TRUE(SnmpGetValue("1.3.6.1.2.1.1.3.0", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_LT(std::stoul(v), 1000u);

    EXPECT_EQ(cmd(sim, "silent on"), "ok");
    EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.1.3.0", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_EQ(cmd(sim, "silent off"), "ok");
    EXPECT_EQ(cmd(sim, "log clear"), "ok");
    ASSERT_TRUE(SnmpGetValue("1.3.6.1.2.1.2.1.0", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_EQ(cmd(sim, "log"), "ok 1 1.3.6.1.2.1.2.1.0");

    EXPECT_EQ(cmd(sim, "community a b"), "ok");
    EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.2.1.0", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.2.1.0", "a", "127.0.0.1", v, {}, snmp));

    EXPECT_EQ(cmd(sim, "frobnicate").rfind("error unknown command", 0), 0u);
    EXPECT_EQ(cmd(sim, "get 1.3.6.1.9.9.9").rfind("error", 0), 0u);
    EXPECT_TRUE(sim.running());
    EXPECT_EQ(sim.stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(sim.controlPath())); // removed at exit
}

TEST_F(SimExecutable, CommunitiesFromTheCommandLine) {
    SimProcess sim;
    ASSERT_TRUE(sim.start({"--read-community", "looker", "--write-community", "changer"}));
    snmp.port = sim.snmpPort();
    std::string v;
    EXPECT_FALSE(SnmpGetValue("1.3.6.1.2.1.2.1.0", "public", "127.0.0.1", v, {}, snmp));
    EXPECT_TRUE(SnmpGetValue("1.3.6.1.2.1.2.1.0", "looker", "127.0.0.1", v, {}, snmp));
    EXPECT_TRUE(SnmpSetValue("1.3.6.1.4.1.171.11.30.6.1.1.4.1", "changer", "127.0.0.1", "40", ber::Integer,
                             {}, snmp));
    EXPECT_EQ(cmd(sim, "get 1.3.6.1.4.1.171.11.30.6.1.1.4.1"), "ok integer 40");
}

TEST_F(SimExecutable, CtlClientModeAndSeveralClients) {
    SimProcess sim;
    ASSERT_TRUE(sim.start());
    std::string out;
    EXPECT_EQ(SimProcess::run({"ctl", sim.controlPath(), "get", "1.3.6.1.2.1.2.2.1.2.1"}, out), 0);
    EXPECT_EQ(out, "ok string ethernet\n");
    EXPECT_EQ(SimProcess::run({"ctl", sim.controlPath(), "descr", "1", "LAN", "port"}, out), 0);
    EXPECT_EQ(cmd(sim, "get 1.3.6.1.2.1.2.2.1.2.1"), "ok string LAN port");
    EXPECT_EQ(SimProcess::run({"ctl", sim.controlPath(), "oper", "1", "sideways"}, out), 1);
    EXPECT_EQ(out.rfind("error", 0), 0u);

    // One connection, several commands; a second client connected meanwhile is served too.
    const int a = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, sim.controlPath().c_str(), sizeof addr.sun_path - 1);
    ASSERT_EQ(::connect(a, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    const std::string batch = "ping\nuptime 500\r\nget 1.3.6.1.2.1.2.1.0\n";
    ASSERT_EQ(::write(a, batch.data(), batch.size()), static_cast<ssize_t>(batch.size()));
    EXPECT_EQ(cmd(sim, "ping"), "ok pong");
    std::string got;
    char buf[512];
    while (std::count(got.begin(), got.end(), '\n') < 3) {
        const ssize_t n = ::read(a, buf, sizeof buf);
        ASSERT_GT(n, 0);
        got.append(buf, static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, "ok pong\nok 500\nok integer 5\n");
    ::close(a);

    // A client that sends a line without end and goes away does not disturb the server.
    const int b = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::connect(b, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ASSERT_EQ(::write(b, "restart", 7), 7);
    ::close(b);
    EXPECT_EQ(cmd(sim, "ping"), "ok pong");
    EXPECT_GE(std::stoul(cmd(sim, "uptime").substr(3)), 500u); // "restart" without a newline never ran
}

TEST_F(SimExecutable, ControlSocketPathRules) {
    SimProcess first;
    ASSERT_TRUE(first.start());
    // A second stand-in may not steal a live socket.
    std::string out;
    EXPECT_EQ(SimProcess::run({"--snmp", "127.0.0.1:0", "--control", first.controlPath()}, out), 2);
    EXPECT_NE(out.find("in use"), std::string::npos) << out;
    EXPECT_EQ(cmd(first, "ping"), "ok pong");
    // Nor replace a file that is not a socket.
    const std::string plain = first.directory() + "/plain";
    std::ofstream(plain) << "keep me";
    EXPECT_EQ(SimProcess::run({"--snmp", "127.0.0.1:0", "--control", plain}, out), 2);
    EXPECT_TRUE(std::filesystem::is_regular_file(plain));

    // A stale socket left by a killed stand-in is replaced.
    const std::string stale = first.controlPath();
    ASSERT_GT(first.pid(), 0);
    ::kill(first.pid(), SIGKILL);
    first.stop();
    ASSERT_TRUE(std::filesystem::exists(stale));
    EXPECT_FALSE(sim::controlRequest(stale, "ping", 200));
    SimProcess second;
    second.setControlPath(stale);
    ASSERT_TRUE(second.start());
    EXPECT_EQ(cmd(second, "ping"), "ok pong");
    EXPECT_EQ(second.stop(), 0);
    EXPECT_FALSE(std::filesystem::exists(stale));
}
