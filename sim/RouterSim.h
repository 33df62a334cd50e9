// The router stand-in: a D-Link-like ADSL router's state and its SNMPv1 agent.
//
// Router holds the state (a MIB store kept in lexicographic OID order, plus the behaviours of a real
// router: a clock that makes sysUpTime and the counters advance, interface traffic, restarts, silence).
// Each network service of the router is a class of its own that answers from the Router's state:
// SnmpAgent (UDP, SNMPv1) here; the command line, the TFTP upload and dial on demand join it later.
//
// Everything is thread-safe: a service answers from its own thread while a test or the GUI thread
// calls the client, and tests script the state at any time.
//
// Values travel as text in the client's text form, with a ber::Tag (net/core/SnmpBer.h):
//   Integer "-5", OctetString raw bytes (any byte), ObjectId "1.3.6.1", IpAddress "192.168.0.1",
//   Counter/Gauge/TimeTicks unsigned decimal "4294967295", Null "".
// OID texts are dotted decimal; a leading dot is accepted. Malformed OID texts given to a setter throw
// std::invalid_argument; getters answer std::nullopt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "net/core/MibObjects.h"
#include "net/core/Oid.h"
#include "sim/Hostile.h"

namespace sim {

// ---------------------------------------------------------------------------------------------------------
// Object identifiers and well-known objects.

using Oid = snmpoid::Arcs;
// Dotted decimal (a leading dot allowed) to arcs; nullopt for empty text, empty arcs, non-digits or an
// arc above 4294967295.
inline std::optional<Oid> parseOid(std::string_view text) {
    return snmpoid::Parse(text);
}
inline std::string oidText(const Oid& arcs) {
    return snmpoid::Text(arcs);
}

using mib::IfColumn;
using enum mib::IfColumn;
std::string ifOid(int column, int ifIndex);

// Default interfaces of the stand-in (ifIndex).
inline constexpr int LanIf = 1;  // "ethernet"
inline constexpr int AtmIf = 2;  // "atm"
inline constexpr int PppIf = 3;  // "ppp channel 1"
inline constexpr int WanIf = 4;  // "ppp1"
inline constexpr int LoopIf = 5; // "lo"

enum class Access { ReadOnly, ReadWrite };

// How the agent answers a set of an object that exists but is not writable.
enum class ReadOnlySetError { ReadOnly, NoSuchName };

// ---------------------------------------------------------------------------------------------------------
// The router's state.
class Router {
public:
    Router(); // default D-Link-like router (its content: DefaultRouter.cpp)
    ~Router();
    Router(const Router&) = delete;
    Router& operator=(const Router&) = delete;

    // ---- Generic MIB access.
    // Creates or replaces the object. A new object is read-only; an existing one keeps its access and
    // limits. Counter and TimeTicks objects keep their growth rate (the new value is the start).
    void set(const std::string& oid, int tag, const std::string& value);
    // Creates or replaces the object with the given access; writable objects take sets of this tag.
    void define(const std::string& oid, int tag, const std::string& value, Access access);
    void setAccess(const std::string& oid, Access access);
    void erase(const std::string& oid); // the object is gone (gets answer noSuchName)
    // Erases every object in the subtree (the OID itself and everything below it); returns how many.
    std::size_t eraseSubtree(const std::string& oid);
    // Current value (counters and uptime advanced to now).
    std::optional<std::pair<int, std::string>> get(const std::string& oid) const;
    // The first object after oid in lexicographic order (what a get-next answers); nullopt at the end.
    std::optional<std::string> nextOid(const std::string& oid) const;
    // Every object of the subtree in order, as (oid, tag, value).
    struct Binding {
        std::string oid;
        int tag;
        std::string value;
    };
    std::vector<Binding> walk(const std::string& subtree) const;
    bool exists(const std::string& oid) const;
    bool isWritable(const std::string& oid) const;

    // ---- Communities. Default "public" (read-only) and "quorbex" (read-write).
    void setCommunities(const std::string& readOnly, const std::string& readWrite);
    std::string readCommunity() const;
    std::string writeCommunity() const;
    void setReadOnlySetError(ReadOnlySetError e); // default ReadOnly (error status 4)

    // ---- Interfaces (ifIndex = row number).
    // Appends an interface row with plausible values; returns its ifIndex (ifNumber follows).
    int addInterface(const std::string& descr, int ifType, int mtu, std::uint32_t speed,
                     const std::string& physAddress);
    int interfaceCount() const;
    void setIfDescr(int ifIndex, const std::string& descr);
    void setOperStatus(int ifIndex, int status); // also sets ifLastChange = now; traffic stops unless up (1)
    // The PPP link to the ISP: ifOperStatus of "ppp channel 1" and "ppp1" together (1 up, 2 down).
    void setPppLink(bool up);
    int operStatus(int ifIndex) const;
    void setOctets(int ifIndex, std::uint32_t in, std::uint32_t out);          // counters wrap modulo 2^32
    void setTraffic(int ifIndex, double inBytesPerSec, double outBytesPerSec); // counters grow with time

    // ---- Time.
    void setUptime(std::uint32_t ticks); // sysUpTime now; it keeps advancing with real time
    std::uint32_t uptime() const;        // sysUpTime now, in hundredths of a second
    // Moves the router's clock forward, as if that much time passed (uptime and counters advance).
    void advance(double seconds);
    void restart();              // sysUpTime and all counters back to 0
    void setSilent(bool silent); // stop answering at all (router unplugged)
    bool silent() const;
    // A slow router: the agent waits this long before each answer (and serves nobody meanwhile).
    void setResponseDelayMs(int ms);
    int responseDelayMs() const;

    // ---- ADSL line (enterprise objects under 1.3.6.1.4.1.171.11.30).
    void setAdslMode(int mode);     // 0 link down, 1 ANSI, 2 G.LITE, 3 G.DMT
    void setAdslStatus(int status); // 0 idle, 1 initialising, 2 showtime
    void setAdslRates(const std::string& upKbps, const std::string& downKbps); // sent as "\"<text>\""
    void setAdslAttenuation(const std::string& up, const std::string& down);   // dB, texts
    void setAdslSnr(const std::string& up, const std::string& down);           // dB, texts
    void setAdslOutputPower(const std::string& up, const std::string& down);   // dBm, texts
    // Whether rate, user name and password texts are sent enclosed in double quotes (default true);
    // applies to later setter calls.
    void setQuotedTexts(bool quoted);

    // ---- Tables.
    // Replaces the route table by n routes (the default route, the LAN, then /24 networks via the WAN).
    void makeLargeRouteTable(int n);
    // Replaces the TCP connection table by n connections (listeners and established ones).
    void makeLargeTcpTable(int n);
    // Adds a TCP connection row; state per RFC 1213 (1 closed, 2 listen, 5 established, ...).
    void addTcpConnection(const std::string& localAddr, int localPort, const std::string& remAddr,
                          int remPort, int state);
    void addUdpListener(const std::string& localAddr, int localPort);
    // Leaves one cell out of a table: column OID (e.g. "1.3.6.1.2.1.4.21.1.7") and instance ("0.0.0.0").
    void eraseCell(const std::string& columnOid, const std::string& instance);

    // ---- What the agent saw.
    // Every request name the agent saw since the last clear, in order (to check "no ifDescr was read"),
    // whatever the community; a silent router sees nothing.
    std::vector<std::string> requestLog() const;
    void clearRequestLog();
    // The requests themselves (decodable SNMPv1 messages, whatever their community), oldest first.
    struct Request {
        int pduType = 0; // ber::GetRequest, GetNextRequest, SetRequest, ...
        std::string community;
        std::vector<std::string> names;
        bool answered = false;
    };
    std::vector<Request> requests() const;
    std::uint64_t datagramsReceived() const; // every datagram, answered or not
    std::uint64_t datagramsAnswered() const;
    // Both logs keep the latest 10000 entries, and at most about a megabyte of names each.

    // ---- Misbehaviour: the hostile case in force for a service ("" when none).
    void setHostile(Service service, const std::string& caseName);
    std::string hostile(Service service) const;
    // The datagrams the agent sends for one answer under the SNMP hostile case (the answer itself
    // when none is in force).
    std::vector<std::string> hostileSnmpReplies(const std::string& reply);

    // Largest response the agent sends (default 1472 bytes, the payload of one Ethernet frame);
    // a larger answer becomes tooBig.
    std::size_t maxMessageSize() const;
    void setMaxMessageSize(std::size_t bytes);

    // ---- The SNMPv1 agent's behaviour without the socket: the answer to one datagram, or nullopt
    // when a real agent would stay silent (silent router, undecodable datagram, unknown community,
    // set with the read-only community, a PDU that is not a request).
    std::optional<std::string> answer(std::string_view datagram);

    struct State; // private state (sim/RouterState.h)

private:
    std::unique_ptr<State> m_state;
};

// ---------------------------------------------------------------------------------------------------------
// SNMPv1 agent on UDP, answering from its own thread.
class SnmpAgent {
public:
    explicit SnmpAgent(Router& router, std::string bindAddress = "127.0.0.1", std::uint16_t port = 0);
    ~SnmpAgent(); // stops
    SnmpAgent(const SnmpAgent&) = delete;
    SnmpAgent& operator=(const SnmpAgent&) = delete;
    bool start(); // false when it cannot bind
    void stop();
    std::uint16_t port() const; // the bound port (ephemeral when 0 was asked)
    std::string lastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace sim
