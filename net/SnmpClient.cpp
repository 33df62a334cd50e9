// SNMPv1 client over UDP: requests, gets, sets and walks.
#include "net/SnmpClient.h"

#include "net/HostLookup.h"
#include "net/core/SnmpWalkRows.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool ParsePort(const std::string& text, in_port_t& port) {
    const std::int64_t value = ber::TextToInt(text);
    if (text.empty() || text[0] < '0' || text[0] > '9' || value < 1 || value > 65535) return false;
    port = htons(static_cast<std::uint16_t>(value));
    return true;
}

} // namespace

TSNMPSend::TSNMPSend(const SnmpSettings& settings)
    : TargetPort(std::to_string(settings.port)), Timeout(settings.timeoutMs) {}

TSNMPSend::~TSNMPSend() {
    if (m_socket >= 0) ::close(m_socket);
}

bool TSNMPSend::SendRequest() {
    // The reply keeps its memory between exchanges (a walk decodes every answer into it); it is emptied
    // whenever an exchange fails.
    if (Exchange()) return true;
    Reply.Clear();
    return false;
}

bool TSNMPSend::Exchange() {
    try {
        const std::string_view datagram = Query.EncodeInto(m_encodeBuffer);
        const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(Timeout, 0));
        if (!OpenSocket() || !ConnectTo(deadline)) return false;
        const ssize_t sent = ::send(m_socket, datagram.data(), datagram.size(), 0);
        if (sent != static_cast<ssize_t>(datagram.size())) return false;
        return AwaitReply(deadline);
    } catch (...) {
        return false;
    }
}

bool TSNMPSend::ResolvePeer(Clock::time_point deadline, sockaddr_in& peer) {
    peer = sockaddr_in{};
    peer.sin_family = AF_INET;
    if (TargetHost.empty() || !ParsePort(TargetPort, peer.sin_port)) return false;
    if (inet_pton(AF_INET, TargetHost.c_str(), &peer.sin_addr) == 1) return true;
    if (TargetHost == m_resolvedHost) {
        peer.sin_addr.s_addr = m_resolvedAddress;
        return true;
    }
    if (!LookupIPv4(TargetHost, deadline, peer.sin_addr)) return false;
    m_resolvedHost = TargetHost;
    m_resolvedAddress = peer.sin_addr.s_addr;
    return true;
}

bool TSNMPSend::OpenSocket() {
    if (m_socket >= 0) return true;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = 0;
    if (inet_pton(AF_INET, LocalInterface.c_str(), &local.sin_addr) != 1)
        local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        ::close(fd);
        return false;
    }
    m_socket = fd;
    return true;
}

// The socket is connected to its peer: the kernel then keeps the route for every step of a walk and
// drops datagrams from other senders before they reach the process. Whatever came in before the
// connection (from anyone) is dropped with it. A walk's later steps find the socket connected to the
// same host and port texts and go straight on.
bool TSNMPSend::ConnectTo(Clock::time_point deadline) {
    if (m_connected && TargetHost == m_peerHost && TargetPort == m_peerPort) return true;
    m_connected = false;
    sockaddr_in peer{};
    if (!ResolvePeer(deadline, peer)) return false;
    if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) return false;
    char discard = 0;
    while (::recv(m_socket, &discard, 1, MSG_DONTWAIT | MSG_TRUNC) >= 0) {
    }
    m_peerHost = TargetHost;
    m_peerPort = TargetPort;
    m_connected = true;
    return true;
}

// Sets the socket's receive time-out to wait (at least 1 us; zero would mean no time-out) unless the
// one set already lies within 1 ms of it: a walk's steps and the idle slices then wait without a call.
bool TSNMPSend::SetReceiveTimeout(std::chrono::microseconds wait) {
    constexpr std::chrono::microseconds kSlack{1000};
    wait = std::max(wait, std::chrono::microseconds{1});
    if (m_receiveTimeout.count() > 0 && wait - kSlack <= m_receiveTimeout &&
        m_receiveTimeout <= wait + kSlack)
        return true;
    timeval limit{};
    limit.tv_sec = static_cast<time_t>(wait.count() / 1000000);
    limit.tv_usec = static_cast<suseconds_t>(wait.count() % 1000000);
    if (::setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) != 0) return false;
    m_receiveTimeout = wait;
    return true;
}

bool TSNMPSend::AwaitReply(Clock::time_point deadline) {
    // Exactly one pending datagram per call: no UDP datagram over IPv4 is larger than the buffer, and
    // MSG_TRUNC reports its real length should one ever be.
    constexpr std::size_t kReceiveSize = 65536;
    if (!m_receive) m_receive.reset(new char[kReceiveSize]);
    while (true) {
        // The receive call itself waits (the socket's time-out), so that each answer costs one call.
        // Rounded up, so that the wait never ends before the deadline; once the deadline has passed, only
        // a datagram already pending is taken.
        const auto left = std::chrono::ceil<std::chrono::microseconds>(deadline - Clock::now());
        int flags = MSG_TRUNC;
        if (left.count() <= 0) {
            flags |= MSG_DONTWAIT;
        } else if (!SetReceiveTimeout(Idle ? std::min(left, std::chrono::microseconds{IdleSliceMs * 1000})
                                           : left)) {
            return false;
        }
        const ssize_t got = ::recv(m_socket, m_receive.get(), kReceiveSize, flags);
        if (got < 0) {
            // Interrupted, or an ICMP error taken off the socket: the wait goes on until the deadline.
            const bool timedOut = errno == EAGAIN || errno == EWOULDBLOCK;
            if (errno == EINTR) continue;
            if (Clock::now() >= deadline) return false;
            if (timedOut && Idle) Idle();
            continue;
        }
        if (static_cast<std::size_t>(got) > kReceiveSize) continue;
        if (Reply.DecodeBuf(std::string_view(m_receive.get(), static_cast<std::size_t>(got))) &&
            Reply.PDUType == ber::GetResponse && Reply.ID == Query.ID)
            return true;
    }
}

bool SnmpGetValue(const std::string& oid, const std::string& community, const std::string& host,
                  std::string& value, const std::function<void()>& idle, const SnmpSettings& settings) {
    value.clear();
    try {
        TSNMPSend snmp(settings);
        snmp.Idle = idle;
        snmp.TargetHost = host;
        snmp.Query.Clear();
        snmp.Query.Community = community;
        snmp.Query.PDUType = ber::GetRequest;
        snmp.Query.MIBAdd(oid, "", ber::Null);
        if (!snmp.SendRequest()) return false;
        // An agent that cannot give the object echoes the name (or another one) with an error status:
        // only a binding of exactly the requested name carries the value.
        for (const TSNMPMib& mib : snmp.Reply.MIBList) {
            if (mib.OID == oid) {
                value = mib.Value;
                break;
            }
        }
        return true;
    } catch (...) {
        value.clear();
        return false;
    }
}

bool SnmpSetValue(const std::string& oid, const std::string& community, const std::string& host,
                  const std::string& value, int valueType, const std::function<void()>& idle,
                  const SnmpSettings& settings) {
    try {
        TSNMPSend snmp(settings);
        snmp.Idle = idle;
        snmp.TargetHost = host;
        snmp.Query.Clear();
        snmp.Query.Community = community;
        snmp.Query.PDUType = ber::SetRequest;
        snmp.Query.MIBAdd(oid, value, valueType);
        return snmp.SendRequest();
    } catch (...) {
        return false;
    }
}

// Walks the subtree of baseOid by get-next, one object per exchange over one socket.
//
// A normal walk ends when the agent names an object outside the subtree (result true) or when an
// exchange fails (time-out, undecodable answer: result false, and the failed step adds an empty value
// to the row of the last name reached). Besides, the walk must never run forever on an agent that does
// not move on, so an answer that cannot continue the walk ends it without adding anything:
//  - a non-zero error status: noSuchName is how an SNMPv1 agent says there is nothing after the
//    requested name in its view, so the walk is complete (true); any other status means the agent
//    could not deliver the next object and the walk is incomplete (false);
//  - no binding, or a name inside the subtree that does not come after the requested one in get-next
//    order: the agent is going round in circles (false).
bool SnmpWalkTable(const std::string& baseOid, const std::string& community, const std::string& host,
                   std::vector<std::string>& lines, const std::function<void()>& idle,
                   const SnmpSettings& settings) {
    lines.clear();
    snmpwalk::WalkRows rows(baseOid);
    bool ok = false;
    try {
        TSNMPSend snmp(settings);
        snmp.Idle = idle;
        snmp.TargetHost = host;
        // One query serves every step: only its id and the name it asks after change.
        snmp.Query.Clear();
        snmp.Query.Community = community;
        snmp.Query.PDUType = ber::GetNextRequest;
        snmp.Query.MIBAdd(baseOid, "", ber::Null);
        std::string& name = snmp.Query.MIBList.front().OID;
        const std::size_t maxObjects = settings.walkMaxObjects;
        const Clock::time_point walkDeadline =
            Clock::now() + std::chrono::milliseconds(std::max(settings.walkTimeLimitMs, 0));
        std::size_t objects = 0;
        while (true) {
            // An agent whose subtree never ends (names that keep advancing) ends as a failed read.
            if (Clock::now() >= walkDeadline) {
                ok = false;
                break;
            }
            snmp.Query.ID += 1;
            ok = snmp.SendRequest();
            std::string_view value; // the reply's, valid until the next exchange
            if (ok) {
                if (snmp.Reply.ErrorStatus != ber::NoError) {
                    ok = snmp.Reply.ErrorStatus == ber::NoSuchName;
                    break;
                }
                if (snmp.Reply.MIBList.empty()) {
                    ok = false;
                    break;
                }
                const TSNMPMib& next = snmp.Reply.MIBList.front();
                if (!snmpwalk::InSubtree(baseOid, next.OID)) break;
                if (snmpwalk::CompareOids(next.OID, name) <= 0 || objects++ >= maxObjects) {
                    ok = false;
                    break;
                }
                name = next.OID;
                value = next.Value;
            }
            rows.Add(name, value);
            if (!ok) break;
        }
    } catch (...) {
        ok = false;
    }
    lines = rows.TakeLines();
    return ok;
}
