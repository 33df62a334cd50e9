// A tiny scripted SNMP peer for client tests: a UDP socket on 127.0.0.1 (ephemeral port) and a thread
// that hands every datagram it receives to a script, then sends back whatever datagrams the script
// returns (none: silence). The script runs on the responder's thread.
#pragma once

#include "net/core/SnmpBer.h"

#include <arpa/inet.h>
#include <atomic>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

class ScriptedResponder {
public:
    // request: the datagram decoded (decoded is false when it could not be); raw: the datagram itself.
    using Script = std::function<std::vector<std::string>(const TSNMPRec& request, const std::string& raw)>;

    struct Seen {
        std::string raw;
        TSNMPRec request;
        std::uint16_t sourcePort = 0;
    };

    explicit ScriptedResponder(Script script) : m_script(std::move(script)) {
        m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("scripted responder cannot bind");
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { run(); });
    }

    ~ScriptedResponder() {
        m_stop = true;
        m_thread.join();
        ::close(m_socket);
    }

    std::uint16_t port() const { return m_port; }

    std::vector<Seen> seen() const {
        std::lock_guard lock(m_mutex);
        return m_seen;
    }

    // A GetResponse to request with the given bindings and error status (request id echoed).
    static std::string Response(const TSNMPRec& request, const std::vector<TSNMPMib>& bindings,
                                int errorStatus = 0, int errorIndex = 0) {
        TSNMPRec reply;
        reply.Community = request.Community;
        reply.PDUType = ber::GetResponse;
        reply.ID = request.ID;
        reply.ErrorStatus = errorStatus;
        reply.ErrorIndex = errorIndex;
        reply.MIBList = bindings;
        return reply.EncodeBuf();
    }

private:
    void run() {
        std::vector<char> buffer(70000);
        while (!m_stop) {
            pollfd wait{m_socket, POLLIN, 0};
            if (::poll(&wait, 1, 20) <= 0) continue;
            sockaddr_in from{};
            socklen_t fromLength = sizeof from;
            const ssize_t n = ::recvfrom(m_socket, buffer.data(), buffer.size(), 0,
                                         reinterpret_cast<sockaddr*>(&from), &fromLength);
            if (n < 0) continue;
            Seen seen;
            seen.raw.assign(buffer.data(), static_cast<std::size_t>(n));
            seen.request.DecodeBuf(seen.raw);
            seen.sourcePort = ntohs(from.sin_port);
            {
                std::lock_guard lock(m_mutex);
                m_seen.push_back(seen);
            }
            for (const std::string& reply : m_script(seen.request, seen.raw))
                ::sendto(m_socket, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from),
                         fromLength);
        }
    }

    Script m_script;
    int m_socket = -1;
    std::uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_mutex;
    std::vector<Seen> m_seen;
    std::thread m_thread;
};
