// SnmpAgent: the router's UDP port 161, answering Router::answer from a thread of its own.
#include "sim/RouterSim.h"
#include "sim/ServiceSocket.h"
#include "sim/ServiceThread.h"

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
    ServiceThread thread;
    mutable std::mutex mutex;
    std::string error;

    Impl(Router& r, std::string a, std::uint16_t p) : router(r), address(std::move(a)), requestedPort(p) {}

    void run() {
        std::string buffer(65536, '\0');
        pollfd fds[2] = {{sock, POLLIN, 0}, {thread.wakeFd(), POLLIN, 0}};
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
                if (const int delay = router.responseDelayMs(); delay > 0) thread.sleep(delay);
                for (const std::string& datagram : router.hostileSnmpReplies(*reply))
                    ::sendto(sock, datagram.data(), datagram.size(), 0, reinterpret_cast<sockaddr*>(&peer),
                             peerLen);
            }
        }
    }
};

SnmpAgent::SnmpAgent(Router& router, std::string bindAddress, std::uint16_t port)
    : m_impl(std::make_unique<Impl>(router, std::move(bindAddress), port)) {}

SnmpAgent::~SnmpAgent() {
    stop();
}

bool SnmpAgent::start() {
    Impl& d = *m_impl;
    if (d.thread.running()) return true;
    std::string error;
    d.sock = openServiceSocket(SOCK_DGRAM, d.address, d.requestedPort, 0, d.boundPort, error);
    if (d.sock < 0 || !d.thread.open()) {
        std::lock_guard lock(d.mutex);
        d.error = d.sock < 0 ? error : std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    d.thread.start([&d] { d.run(); });
    return true;
}

void SnmpAgent::stop() {
    Impl& d = *m_impl;
    d.thread.stop();
    if (d.sock >= 0) ::close(d.sock);
    d.sock = -1;
}

std::uint16_t SnmpAgent::port() const {
    return m_impl->boundPort;
}

std::string SnmpAgent::lastError() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->error;
}

} // namespace sim
