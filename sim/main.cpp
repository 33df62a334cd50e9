// kestrune-router-sim: a stand-in for a D-Link ADSL router, for tests, scripts and demonstrations.
#include "sim/ControlServer.h"
#include "sim/HttpService.h"
#include "sim/LineDrift.h"
#include "sim/RouterSim.h"
#include "sim/SavedConfig.h"
#include "sim/TelnetService.h"
#include "sim/TftpUploader.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <pthread.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const Usage = R"(Usage:
  kestrune-router-sim [--snmp ADDR:PORT] [--control PATH] [--read-community NAME]
                      [--write-community NAME] [--telnet ADDR:PORT] [--http ADDR:PORT]
                      [--tftp-port N] [--drift] [--state FILE]
  kestrune-router-sim ctl PATH [COMMAND...]

A stand-in for a D-Link ADSL router: an SNMPv1 agent serving MIB-II (system, interfaces, ip, icmp,
tcp, udp, snmp) and D-Link's ADSL objects, with traffic counters that advance in real time.
It runs until it gets SIGINT or SIGTERM (or the control command "shutdown").

Options:
  --snmp ADDR:PORT          where the SNMP agent listens (default 127.0.0.1:161); PORT 0 picks a
                            free port (ask for it with the control command "port")
  --control PATH            Unix-domain control socket to create (line protocol, see below)
  --telnet ADDR:PORT        also serve the router's command line there (the router: port 23); its
                            password is the write community
  --read-community NAME     read-only community (default "public")
  --write-community NAME    read-write community (default "quorbex")
  --tftp-port N             the computer's UDP port the event log is uploaded to (default 69)
  --http ADDR:PORT          an HTTP listener standing for the Internet behind the router: any
                            request makes the router dial (the PPP link comes up after the dial
                            delay), and it serves the update server's version file
  --drift                   the line's SNR margin and attenuation drift slowly (control: drift)
  --state FILE              the router's saved configuration (communities, default ADSL mode, PPP
                            user name and password): read at start when the file exists (it then
                            wins over --read-community and --write-community), written (private to
                            its owner) whenever "config save" or "snmp config save" stores it; delete
                            the file to start from the factory settings again
  -h, --help                this text

Client mode:
  ctl PATH COMMAND...       sends one command to a running stand-in and prints the answer line;
                            exit status 0 for "ok ...", 1 for "error ...", 2 when unreachable
  ctl PATH                  reads commands from standard input, one per line

Control commands (each answers one line, "ok ..." or "error ..."):
  get OID | next OID | set OID TYPE VALUE | erase OID | erasetree OID
  erasecell COLUMN INSTANCE | writable OID on|off
  traffic IF IN/S OUT/S | octets IF IN OUT | oper IF up|down|testing|N | link up|down
  descr IF TEXT | uptime [TICKS] | advance SECONDS | restart | silent on|off | delay MS
  community READ WRITE | adsl mode|status N | adsl rates|attenuation|snr|power UP DOWN
  adsl quoted on|off | routes N | tcpconns N | log [clear] | stats | port | ping | help
  tftpupload mode normal|nothing|oneblock | tftpupload size BYTES | tftpupload port [N]
  tftpupload last
  telnet silent|split on|off | telnet slow MS | telnet mode [auto|dmt|ansi] | telnet sessions|port
  with --http: dial [delay MS|on|off] | version TEXT (\r \n escapes) | version file PATH | http
  hostile [help] | hostile snmp|telnet|tftp|http CASE|off   (help lists every case)
  drift on|off | dip DB SECONDS (downstream SNR margin down by DB for SECONDS)
  shutdown
  TYPE: integer string hex oid ipaddress counter gauge timeticks null opaque
  IF is the ifIndex: 1 ethernet (LAN), 2 atm, 3 ppp channel 1, 4 ppp1 (WAN), 5 lo
  "quit" ends the connection. Default traffic: ppp1 about 200 kB/s in and 30 kB/s out.

Examples:
  kestrune-router-sim --snmp 127.0.0.1:0 --control /tmp/router.sock &
  kestrune-router-sim ctl /tmp/router.sock port
  kestrune-router-sim ctl /tmp/router.sock octets 4 4294967000 0
  kestrune-router-sim ctl /tmp/router.sock set 1.3.6.1.2.1.1.5.0 string "gateway"
)";

int fail(const std::string& message) {
    std::cerr << "kestrune-router-sim: " << message << "\n";
    return 2;
}

int runClient(int argc, char** argv) {
    if (argc < 3) return fail("ctl needs the control socket path (see --help)");
    const std::string path = argv[2];
    auto send = [&](const std::string& command) {
        const auto answer = sim::controlRequest(path, command);
        if (!answer) {
            std::cerr << "kestrune-router-sim: no answer from " << path << "\n";
            return 2;
        }
        std::cout << *answer << std::endl;
        return answer->rfind("ok", 0) == 0 ? 0 : 1;
    };
    if (argc > 3) {
        std::string command;
        for (int i = 3; i < argc; ++i)
            command += (i > 3 ? " " : "") + std::string(argv[i]);
        return send(command);
    }
    int status = 0;
    std::string line;
    while (std::getline(std::cin, line)) {
        if (line.empty()) continue;
        const int s = send(line);
        if (s == 2) return 2;
        status = std::max(status, s);
    }
    return status;
}

bool splitEndpoint(const std::string& text, std::string& address, std::uint16_t& port) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size()) return false;
    address = text.substr(0, colon);
    const std::string p = text.substr(colon + 1);
    if (p.find_first_not_of("0123456789") != std::string::npos || p.size() > 5) return false;
    const unsigned long v = std::stoul(p);
    if (v > 65535) return false;
    port = static_cast<std::uint16_t>(v);
    return true;
}

// Puts the configuration saved in the state file in force (when there is one) and writes every later
// save there; false when the file cannot be read.
bool keepStateIn(const std::string& path, sim::Router& router, sim::TelnetService* telnet,
                 std::string& error) {
    sim::SavedConfig saved = sim::currentConfig(router, telnet);
    const sim::LoadResult loaded = sim::loadConfig(path, saved, error);
    if (loaded == sim::LoadResult::Failed) return false;
    if (loaded == sim::LoadResult::Loaded) sim::applyConfig(saved, router, telnet);
    if (telnet)
        telnet->setConfigSaved([&router, telnet, path] {
            std::string why;
            if (!sim::saveConfig(path, sim::currentConfig(router, telnet), why))
                std::cerr << "kestrune-router-sim: cannot save the configuration: " << why << std::endl;
        });
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "ctl") == 0) return runClient(argc, argv);

    std::string snmpAddress = "127.0.0.1";
    std::uint16_t snmpPort = 161;
    std::string controlPath;
    std::string telnetAddress;
    std::uint16_t telnetPort = 0;
    std::string readCommunity = "public", writeCommunity = "quorbex";
    std::uint16_t tftpPort = 69;
    std::string httpAddress;
    std::uint16_t httpPort = 0;
    bool driftOn = false;
    std::string statePath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == "-h" || arg == "--help") {
            std::cout << Usage;
            return 0;
        }
        if (arg == "--drift") {
            driftOn = true;
            continue;
        }
        const char* v = nullptr;
        if (arg == "--snmp" || arg == "--control" || arg == "--read-community" ||
            arg == "--write-community" || arg == "--telnet" || arg == "--http" || arg == "--tftp-port" ||
            arg == "--state") {
            v = value();
            if (!v) return fail(arg + " needs a value (see --help)");
        }
        if (arg == "--snmp") {
            if (!splitEndpoint(v, snmpAddress, snmpPort))
                return fail("--snmp wants ADDR:PORT, e.g. 127.0.0.1:161, not \"" + std::string(v) + "\"");
        } else if (arg == "--telnet") {
            if (!splitEndpoint(v, telnetAddress, telnetPort))
                return fail("--telnet wants ADDR:PORT, e.g. 127.0.0.1:23, not \"" + std::string(v) + "\"");
        } else if (arg == "--http") {
            if (!splitEndpoint(v, httpAddress, httpPort))
                return fail("--http wants ADDR:PORT, e.g. 127.0.0.1:8080, not \"" + std::string(v) + "\"");
        } else if (arg == "--control") {
            controlPath = v;
        } else if (arg == "--state") {
            statePath = v;
        } else if (arg == "--read-community") {
            readCommunity = v;
        } else if (arg == "--write-community") {
            writeCommunity = v;
        } else if (arg == "--tftp-port") {
            std::string address;
            if (!splitEndpoint(std::string("x:") + v, address, tftpPort))
                return fail("--tftp-port wants a port number, not \"" + std::string(v) + "\"");
        } else {
            return fail("unknown argument \"" + arg + "\" (see --help)");
        }
    }

    // Signals are taken by sigwait below; every thread started from here on has them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    sim::Router router;
    router.setCommunities(readCommunity, writeCommunity);
    std::unique_ptr<sim::TelnetService> telnet;
    if (!telnetAddress.empty())
        telnet = std::make_unique<sim::TelnetService>(router, telnetAddress, telnetPort);
    std::string stateError;
    if (!statePath.empty() && !keepStateIn(statePath, router, telnet.get(), stateError))
        return fail("cannot read the state file " + stateError);
    sim::SnmpAgent agent(router, snmpAddress, snmpPort);
    if (!agent.start()) return fail("cannot start the SNMP agent: " + agent.lastError());

    sim::ControlProtocol protocol(router);
    sim::TftpUploader tftpUploader(&router);
    tftpUploader.setPort(tftpPort);
    tftpUploader.addControlCommands(protocol);
    sim::LineDrift drift(router);
    drift.addControlCommands(protocol);
    if (driftOn) drift.start();
    if (telnet) {
        // "tftp put" on the command line uploads the event log to the address "tftp connect" named.
        telnet->setEventLogPut([&tftpUploader](const std::string& address, const std::string& fileName) {
            return tftpUploader.upload(address, fileName);
        });
        if (!telnet->start()) return fail("cannot start the command line: " + telnet->lastError());
        sim::addTelnetCommands(protocol, *telnet);
    }
    protocol.addCommand("port",
                        [&](const auto&, std::string_view) { return "ok " + std::to_string(agent.port()); });
    protocol.addCommand("shutdown", [](const auto&, std::string_view) {
        ::kill(::getpid(), SIGTERM);
        return std::string("ok shutting down");
    });
    std::unique_ptr<sim::HttpService> http;
    if (!httpAddress.empty()) {
        http = std::make_unique<sim::HttpService>(router, httpAddress, httpPort);
        if (!http->start()) return fail("cannot start the HTTP listener: " + http->lastError());
        http->addCommands(protocol);
    }
    std::unique_ptr<sim::ControlServer> control;
    if (!controlPath.empty()) {
        control = std::make_unique<sim::ControlServer>(protocol, controlPath);
        if (!control->start()) return fail("cannot open the control socket: " + control->lastError());
    }

    std::cout << "kestrune-router-sim: SNMP agent on " << snmpAddress << ":" << agent.port();
    if (telnet) std::cout << ", command line on " << telnetAddress << ":" << telnet->port();
    if (http) std::cout << ", HTTP on " << httpAddress << ":" << http->port();
    if (control) std::cout << ", control socket " << controlPath;
    std::cout << std::endl;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    if (control) control->stop();
    if (telnet) telnet->stop();
    if (http) http->stop();
    agent.stop();
    return 0;
}
