// The stand-in's command line on TCP (the router's telnet port): log-on with the router's secret
// (its SNMP write community), the ADSL mode, saving the configuration, changing the write community,
// and the event-log upload. One session at a time; output goes out in pieces as a router's does.
#pragma once

#include "sim/ControlProtocol.h"
#include "sim/RouterSim.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace sim {

class TelnetService {
public:
    explicit TelnetService(Router& router, std::string bindAddress = "127.0.0.1", std::uint16_t port = 0);
    ~TelnetService(); // stops
    TelnetService(const TelnetService&) = delete;
    TelnetService& operator=(const TelnetService&) = delete;

    bool start(); // false when it cannot bind
    void stop();
    std::uint16_t port() const;
    std::string lastError() const;

    // Behaviours for the time-out paths.
    void setSilent(bool silent);      // accepts and reads, never answers
    void setSlowMs(int ms);           // waits this long before every answer
    void setSplitPhrases(bool split); // every answer goes out in two pieces cut in its middle

    // The router's default ADSL mode word: "auto" (default), "dmt" or "ansi".
    std::string defaultMode() const;
    void setDefaultMode(const std::string& mode);
    // As the router starts with a saved mode: the mode word, and the line trained in that mode.
    void startWithMode(const std::string& mode);

    // Called (on the service's thread) once "config save" or "snmp config save" has stored the
    // configuration.
    void setConfigSaved(std::function<void()> saved);

    // Performs "tftp put //isfs/eventlog <name>" towards the address of "tftp connect" and returns the
    // router's closing text ("completed successfully", or an "unable to open ..." text).
    using EventLogPut = std::function<std::string(const std::string& address, const std::string& fileName)>;
    void setEventLogPut(EventLogPut put);

    // Every command line received (password lines included), oldest first; sessions accepted.
    std::vector<std::string> receivedLines() const;
    int sessionCount() const;

    struct Impl;

private:
    std::unique_ptr<Impl> m_impl;
};

// "telnet silent on|off", "telnet slow <ms>", "telnet split on|off", "telnet mode [auto|dmt|ansi]",
// "telnet sessions", "telnet port".
void addTelnetCommands(ControlProtocol& protocol, TelnetService& service);

} // namespace sim
