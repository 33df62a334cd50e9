// Router's private state, shared by the files that implement Router (not for tests).
// Every member function expects the caller to hold `mutex`.
#pragma once

#include "sim/MibStore.h"
#include "sim/RouterSim.h"

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace sim {

struct Router::State {
    mutable std::mutex mutex;
    MibStore mib;
    std::string readCommunity = "public";
    std::string writeCommunity = "quorbex";
    ReadOnlySetError readOnlySetError = ReadOnlySetError::ReadOnly;
    bool silent = false;
    int responseDelayMs = 0;
    bool quotedTexts = true;
    // The logs keep the latest entries within both bounds, so a flood of large requests cannot grow
    // the stand-in's memory.
    static constexpr std::size_t MaxLogged = 10000;
    static constexpr std::size_t MaxLoggedBytes = 1 << 20;
    std::deque<std::string> requestLog;
    std::size_t requestLogBytes = 0;
    std::deque<Request> requests;
    std::size_t requestsBytes = 0;
    HostileCases hostile;
    int hostileAnswers = 0; // answers given since the SNMP hostile case was switched
    std::size_t maxMessageSize = 1472;
    std::uint64_t received = 0;
    std::uint64_t answered = 0;

    // Traffic of each interface (ifIndex i at [i - 1]); counters only grow while the interface is up.
    struct Interface {
        double inBytesPerSec = 0;
        double outBytesPerSec = 0;
        double bytesPerPacket = 600;
    };
    std::vector<Interface> interfaces;

    // Throws std::invalid_argument for a malformed OID text.
    static Oid toOid(const std::string& text);
    static Oid child(const Oid& base, std::initializer_list<std::uint32_t> arcs);
    static Oid child(const std::string& base, const std::string& suffix); // throws like toOid

    void put(const Oid& oid, int tag, const std::string& value, Access access = Access::ReadOnly);
    void putInt(const Oid& oid, std::int64_t v, Access access = Access::ReadOnly);
    void putText(const Oid& oid, const std::string& v, Access access = Access::ReadOnly);
    void putIp(const Oid& oid, const std::string& v, Access access = Access::ReadOnly);
    // Counter (or Gauge/TimeTicks) with a start value and a growth rate per second.
    void putCounter(const Oid& oid, double start, double perSecond = 0, int tag = 0x41);
    // Adds to an unsigned object (no-op when missing).
    void bump(const Oid& oid, std::uint32_t by = 1);
    void bumpSnmp(int column, std::uint32_t by = 1);

    void logName(const std::string& name);
    void logRequest(Request request);
    // Side effects of an SNMP set of oid (e.g. ifAdminStatus moves ifOperStatus).
    void afterSet(const Oid& oid);
    void setOper(int ifIndex, int status); // ifOperStatus, ifLastChange when it changes, traffic

    std::uint32_t uptime() const;
    void checkIfIndex(int ifIndex) const; // throws std::out_of_range
    void applyTraffic(int ifIndex);       // ifTable rates from the interface's traffic and status
    void updateGroupRates();              // ip/tcp/udp/icmp counters follow the total traffic
    void updateTcpCurrEstab();
    std::string quoted(const std::string& text) const { return quotedTexts ? "\"" + text + "\"" : text; }

    // Default router content (DefaultRouter.cpp).
    void buildDefaults();
    int addInterface(const std::string& descr, int ifType, int mtu, std::uint32_t speed,
                     const std::string& physAddress, std::uint32_t lastChange, double inOctets,
                     double outOctets);
    void addRoute(const std::string& dest, int ifIndex, int metric, const std::string& nextHop, int type,
                  int proto, int age, const std::string& mask);
    void addArp(int ifIndex, const std::string& phys, const std::string& address, int type);
    void addTcp(const std::string& localAddr, int localPort, const std::string& remAddr, int remPort,
                int state);
    void addUdp(const std::string& localAddr, int localPort);
};

} // namespace sim
