// SnmpAgent: the router's UDP port 161, answering Router::answer from a thread of its own.
#include "sim/RouterSim.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace sim {

struct SnmpAgent::Impl {
    Router& router;
    std::string address;
    std::uint16_t requestedPort;
    std::uint16_t boundPort = 0;
    int sock = -1;
    int wake[2] = {-1, -1};
    std::thread thread;
    mutable std::mutex mutex;
    std::string error;

    Impl(Router& r, std::string a, std::uint16_t p) : router(r), address(std::move(a)), requestedPort(p) {}

    void run() {
        std::string buffer(65536, '\0');
        pollfd fds[2] = {{sock, POLLIN, 0}, {wake[0], POLLIN, 0}};
        while (true) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            if (fds[1].revents) break;
            if (!(fds[0].revents & POLLIN)) continue;
            sockaddr_in peer{};
            socklen_t peerLen = sizeof peer;
            const ssize_t n = ::recvfrom(sock, buffer.data(), buffer.size(), 0,
                                         reinterpret_cast<sockaddr*>(&peer), &peerLen);
            if (n < 0) continue;
            std::optional<std::string> reply;
            try {
                reply = router.answer(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
            } catch (...) {
                reply.reset(); // whatever went wrong, a real agent would just not answer
            }
            if (reply) {
                if (const int delay = router.responseDelayMs(); delay > 0) waitOrStop(delay);
                for (const std::string& datagram : router.hostileSnmpReplies(*reply))
                    ::sendto(sock, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&peer),
                             peerLen);
            }
        }
    }

    // Sleeps up to ms, cut short when the agent is being stopped.
    void waitOrStop(int ms) {
        pollfd p{wake[0], POLLIN, 0};
        ::poll(&p, 1, ms);
    }
};

SnmpAgent::SnmpAgent(Router& router, std::string bindAddress, std::uint16_t port)
    : m_impl(std::make_unique<Impl>(router, std::move(bindAddress), port)) {}

SnmpAgent::~SnmpAgent() {
    stop();
}

bool SnmpAgent::start() {
    Impl& d = *m_impl;
    if (d.thread.joinable()) return true;
    auto failWith = [&](const std::string& what) {
        std::lock_guard lock(d.mutex);
        d.error = what + ": " + std::strerror(errno);
        if (d.sock >= 0) ::close(d.sock);
        d.sock = -1;
        return false;
    };
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(d.requestedPort);
    if (::inet_pton(AF_INET, d.address.c_str(), &addr.sin_addr) != 1) {
        errno = EINVAL;
        return failWith("bad address \"" + d.address + "\"");
    }
    d.sock = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (d.sock < 0) return failWith("socket");
    if (::bind(d.sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0)
        return failWith("bind " + d.address + ":" + std::to_string(d.requestedPort));
    socklen_t len = sizeof addr;
    if (::getsockname(d.sock, reinterpret_cast<sockaddr*>(&addr), &len) < 0) return failWith("getsockname");
    d.boundPort = ntohs(addr.sin_port);
    if (::pipe2(d.wake, O_CLOEXEC) < 0) return failWith("pipe");
    d.thread = std::thread([&d] { d.run(); });
    return true;
}

void SnmpAgent::stop() {
    Impl& d = *m_impl;
    if (d.thread.joinable()) {
        const char byte = 'x';
        [[maybe_unused]] auto n = ::write(d.wake[1], &byte, 1);
        d.thread.join();
    }
    for (int* fd : {&d.sock, &d.wake[0], &d.wake[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

std::uint16_t SnmpAgent::port() const {
    return m_impl->boundPort;
}

std::string SnmpAgent::lastError() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->error;
}

} // namespace sim
