// SNMPv1 client over UDP: one request and at most one response per exchange, no retries.
// All three operations are synchronous and never throw.
#pragma once

#include "net/SnmpSettings.h"
#include "net/core/SnmpBer.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <netinet/in.h>
#include <string>
#include <vector>

// One request object: its own UDP socket (fresh ephemeral port), a query and a reply.
class TSNMPSend {
public:
    // Takes its port and time-out from `settings`.
    explicit TSNMPSend(const SnmpSettings& settings = {});
    ~TSNMPSend();
    TSNMPSend(const TSNMPSend&) = delete;
    TSNMPSend& operator=(const TSNMPSend&) = delete;

    std::string TargetHost = "127.0.0.1";
    std::string TargetPort; // the settings' port
    std::string LocalInterface = "0.0.0.0";
    int Timeout; // milliseconds; the settings' time-out
    TSNMPRec Query;
    TSNMPRec Reply;
    // Runs between the wait's slices (at most IdleSliceMs apart) when set: the window's event
    // processing, so that it stays painted while the answer is awaited. The deadline is unchanged.
    std::function<void()> Idle;
    static constexpr int IdleSliceMs = 50;

    // Sends Query to TargetHost:TargetPort (dotted IPv4 or a host name) and waits at most Timeout ms in
    // all (name lookup included) for its answer: a GetResponse from that address and port carrying the
    // query's request id, decoded into Reply. Every other datagram (a late answer to an earlier request,
    // another sender, another id, a malformed message) is dropped and the wait goes on. No retry; never
    // throws.
    bool SendRequest();

private:
    bool Exchange();
    bool OpenSocket();
    bool ResolvePeer(std::chrono::steady_clock::time_point deadline, sockaddr_in& peer);
    bool ConnectTo(std::chrono::steady_clock::time_point deadline);
    // Waits until the deadline for the answer to the query just sent.
    bool AwaitReply(std::chrono::steady_clock::time_point deadline);
    bool SetReceiveTimeout(std::chrono::microseconds wait);

    int m_socket = -1;
    bool m_connected = false;
    std::chrono::microseconds m_receiveTimeout{0}; // the socket's, 0 while not set
    std::string m_peerHost;                        // the TargetHost and TargetPort the socket is connected to
    std::string m_peerPort;
    // The last host name looked up, so that a walk resolves its host once.
    std::string m_resolvedHost;
    std::uint32_t m_resolvedAddress = 0; // IPv4, network byte order
    // Receive buffer, made once per request object: a walk reuses it at every step.
    std::unique_ptr<char[]> m_receive;
    std::string m_encodeBuffer; // holds the query's bytes, memory kept between requests
};

// Reads one object. True when an answer arrived and decoded, whatever its error status; value is the
// value of the first reply binding named exactly oid, else empty (always empty when false).
// Each operation takes an optional idle hook for its waits (see TSNMPSend::Idle) and the transport's
// settings (by default the program's).
bool SnmpGetValue(const std::string& oid, const std::string& community, const std::string& host,
                  std::string& value, const std::function<void()>& idle = {},
                  const SnmpSettings& settings = {});
// Writes one object (valueType: ber::Integer, ber::OctetString or ber::IpAddress). True when an answer
// arrived and decoded, whatever its error status; false on silence (unknown or read-only community).
bool SnmpSetValue(const std::string& oid, const std::string& community, const std::string& host,
                  const std::string& value, int valueType, const std::function<void()>& idle = {},
                  const SnmpSettings& settings = {});
// Walks the subtree of baseOid by get-next into lines (see net/core/SnmpWalkRows.h for the row rules).
// Ends with true when the agent names an object outside the subtree or answers noSuchName (the end of
// its view); with false when an exchange fails (the failed step adds "" to the row of the last name
// reached), when the agent answers another error status, no binding, or a name that does not come
// after the requested one (an agent that would keep the walk going forever): those steps add nothing.
// A walk that would go past the settings' object or time bounds ends with false the same way.
bool SnmpWalkTable(const std::string& baseOid, const std::string& community, const std::string& host,
                   std::vector<std::string>& lines, const std::function<void()>& idle = {},
                   const SnmpSettings& settings = {});
