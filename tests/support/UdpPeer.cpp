// A raw UDP peer on loopback for protocol tests.
#include "UdpPeer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <random>

namespace {
sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}
} // namespace

UdpPeer::UdpPeer(std::uint16_t serverPort) : m_server(Loopback(serverPort)) {
    m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    const sockaddr_in local = Loopback(0);
    ::bind(m_fd, reinterpret_cast<const sockaddr*>(&local), sizeof local);
}

UdpPeer::~UdpPeer() {
    ::close(m_fd);
}

void UdpPeer::sendToServer(const std::string& datagram) {
    ::sendto(m_fd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&m_server),
             sizeof m_server);
}

void UdpPeer::reply(const std::string& datagram) {
    ::sendto(m_fd, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&m_last),
             sizeof m_last);
}

std::optional<std::string> UdpPeer::receive(int timeoutMs) {
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
    char buffer[2048];
    socklen_t length = sizeof m_last;
    const ssize_t got =
        ::recvfrom(m_fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&m_last), &length);
    if (got < 0) return std::nullopt;
    return std::string(buffer, static_cast<std::size_t>(got));
}

std::uint16_t UdpPeer::localPort() const {
    sockaddr_in a{};
    socklen_t length = sizeof a;
    ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &length);
    return ntohs(a.sin_port);
}

std::uint16_t UdpPeer::freePort() {
    // Below the kernel's ephemeral range (32768 and up), where no socket that binds port 0 lands: a
    // port handed out here stays free for its test even while other tests open sockets by the hundred.
    static std::minstd_rand next(static_cast<unsigned>(::getpid()) * 7919u +
                                 static_cast<unsigned>(::time(nullptr)));
    for (int attempt = 0; attempt < 200; ++attempt) {
        const auto port = static_cast<std::uint16_t>(20000 + next() % 12000);
        const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in a = Loopback(port);
        const bool free = ::bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
        ::close(s);
        if (free) return port;
    }
    return 0;
}

bool UdpPeer::portInUse(std::uint16_t port) {
    const int s = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a = Loopback(port);
    const bool taken = ::bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 && errno == EADDRINUSE;
    ::close(s);
    return taken;
}
