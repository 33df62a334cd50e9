#include "DroppingAgent.h"

#include "net/core/SnmpBer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>

DroppingAgent::DroppingAgent(sim::Router& router) : m_router(router) {}

DroppingAgent::~DroppingAgent() {
    stop();
}

bool DroppingAgent::start() {
    m_socket = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (m_socket < 0) return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(m_socket, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(m_socket);
        m_socket = -1;
        return false;
    }
    socklen_t len = sizeof addr;
    ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&addr), &len);
    m_port = ntohs(addr.sin_port);
    m_stop = false;
    m_thread = std::thread([this] { run(); });
    return true;
}

void DroppingAgent::stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_socket >= 0) ::close(m_socket);
    m_socket = -1;
}

void DroppingAgent::setRule(Rule rule) {
    std::lock_guard lock(m_mutex);
    m_rule = std::move(rule);
}

void DroppingAgent::silenceFrom(const std::string& name, int pduType) {
    auto silent = std::make_shared<bool>(false);
    setRule([silent, name, pduType](const std::string& n, int pdu) {
        if (n == name && pdu == pduType) *silent = true;
        return *silent;
    });
}

void DroppingAgent::dropName(const std::string& name, int pduType) {
    setRule([name, pduType](const std::string& n, int pdu) { return n == name && pdu == pduType; });
}

void DroppingAgent::clearRule() {
    setRule(nullptr);
}

void DroppingAgent::run() {
    char buffer[65536];
    while (!m_stop) {
        pollfd pfd{m_socket, POLLIN, 0};
        if (::poll(&pfd, 1, 20) <= 0) continue;
        sockaddr_in from{};
        socklen_t fromLen = sizeof from;
        const ssize_t n =
            ::recvfrom(m_socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
        if (n <= 0) continue;
        const std::string datagram(buffer, static_cast<std::size_t>(n));
        TSNMPRec request;
        if (request.DecodeBuf(datagram) && !request.MIBList.empty()) {
            std::lock_guard lock(m_mutex);
            if (m_rule && m_rule(request.MIBList.front().OID, request.PDUType)) {
                ++m_dropped;
                continue;
            }
        }
        const auto answer = m_router.answer(datagram);
        if (!answer) continue;
        ::sendto(m_socket, answer->data(), answer->size(), 0, reinterpret_cast<sockaddr*>(&from), fromLen);
    }
}
