// net-snmp's agent (snmpd) and command-line tools as a third-party SNMP peer for interop tests.
//
//   #include "support/Snmpd.h"
//   testsupport::Snmpd agent;                       // private config, not started yet
//   if (!testsupport::NetSnmpInstalled()) GTEST_SKIP() << "net-snmp's snmpd is not installed";
//   ASSERT_TRUE(agent.start()) << agent.error() << agent.log();
//   SnmpSettings snmp; snmp.port = agent.port();   // point the program's client at it
//   auto values = testsupport::NetSnmpGet(agent, agent.readOnlyCommunity(), {"1.3.6.1.2.1.1.5.0"});
//
// Snmpd::start() makes a private directory under $TMPDIR (or /tmp) holding:
//   snmpd.conf  agentaddress udp:127.0.0.1:<free port>   (loopback only, never another address)
//               rocommunity <readOnlyCommunity> 127.0.0.1
//               rwcommunity <readWriteCommunity> 127.0.0.1
//               + Options::extraConfig lines (for example a community limited to one subtree:
//                 "rocommunity sysonly 127.0.0.1 .1.3.6.1.2.1.1")
//   snmpd.log   the agent's log (log())
//   persist/    the agent's persistent store (SNMP_PERSISTENT_DIR), so no state leaks between runs
// and runs `snmpd -f -C -c snmpd.conf -Lf snmpd.log -m "" -M /dev/null` (no system configuration,
// no MIB files: use numeric OIDs). sysContact, sysName and sysLocation are not in the config, so they
// stay writable with the read-write community. start() returns once the agent answers a get with the
// read-only community (or false after Options::startTimeoutMs, with error()); when the chosen free port
// is taken meanwhile it retries on another one. stop() (also the destructor) ends the agent it started
// (SIGTERM, then SIGKILL) and removes the directory; the agent also gets SIGTERM if the test process dies.
//
// The tool helpers run snmpget / snmpwalk / snmpset with -v1 -On -Oq -Ot -Ox -Oe (numeric names, no
// types, raw TimeTicks, strings in hexadecimal, numeric enumerations), a short time-out and no retry,
// and parse the output into (name, value) pairs in the program's SNMP value text form: names without
// the leading dot, OCTET STRINGs as their raw bytes, OBJECT IDENTIFIERs without the leading dot,
// numbers in decimal, IpAddresses dotted - directly comparable with SnmpGetValue's texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

// True when snmpd, snmpget, snmpwalk and snmpset can be found (standard Debian paths or PATH).
bool NetSnmpInstalled();

class Snmpd {
public:
    struct Options {
        std::string readOnlyCommunity = "kestrune-ro";
        std::string readWriteCommunity = "kestrune-rw";
        std::vector<std::string> extraConfig; // more snmpd.conf lines
        int startTimeoutMs = 8000;
    };

    Snmpd();
    explicit Snmpd(Options options);
    ~Snmpd();
    Snmpd(const Snmpd&) = delete;
    Snmpd& operator=(const Snmpd&) = delete;

    bool start();
    void stop();
    bool running() const { return m_pid > 0; }

    std::uint16_t port() const { return m_port; }
    std::string host() const { return "127.0.0.1"; }
    std::string endpoint() const; // "udp:127.0.0.1:<port>", the form net-snmp's tools take
    const std::string& readOnlyCommunity() const { return m_options.readOnlyCommunity; }
    const std::string& readWriteCommunity() const { return m_options.readWriteCommunity; }
    const std::string& error() const { return m_error; }
    std::string log() const; // the agent's log so far
    const std::string& directory() const { return m_dir; }

private:
    bool startOnce();
    bool answers(int timeoutMs) const;

    Options m_options;
    std::string m_dir;
    std::string m_error;
    std::uint16_t m_port = 0;
    pid_t m_pid = -1;
};

// A finished child process.
struct CommandResult {
    int exitCode = -1; // -1 when it could not run, was killed or timed out
    std::string out;
    std::string err;
};
// Runs argv[0] (looked up in PATH) with stdin from /dev/null; kills it after timeoutMs.
CommandResult RunCommand(const std::vector<std::string>& argv, int timeoutMs = 20000);

struct SnmpToolValue {
    std::string oid;   // dotted, no leading dot
    std::string value; // the program's value text form (see above)
    bool operator==(const SnmpToolValue&) const = default;
};

// Parses the output of net-snmp's tools printed with -On -Oq -Ot -Ox -Oe (hex strings may span lines).
std::vector<SnmpToolValue> ParseNetSnmpOutput(const std::string& text);

// snmpget -v1 of the given names; nullopt when the tool fails (time-out, error status).
std::optional<std::vector<SnmpToolValue>> NetSnmpGet(const Snmpd& agent, const std::string& community,
                                                     const std::vector<std::string>& oids);
// snmpwalk -v1 of a subtree; nullopt when the tool fails.
std::optional<std::vector<SnmpToolValue>> NetSnmpWalk(const Snmpd& agent, const std::string& community,
                                                      const std::string& baseOid);
// snmpset -v1 of one object; type is net-snmp's letter (s string, i integer, a IpAddress, ...).
bool NetSnmpSet(const Snmpd& agent, const std::string& community, const std::string& oid, char type,
                const std::string& value);

} // namespace testsupport
