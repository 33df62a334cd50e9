// SnmpAgent: the router's UDP port 161, answering Router::answer from a thread of its own.
#include "sim/RouterSim.h"
#include "sim/ServiceSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace sim {

struct SnmpAgent::Impl {
    Router& router;
    ServiceEndpoint endpoint;

    Impl(Router& r, std::string a, std::uint16_t p) : router(r), endpoint(SOCK_DGRAM, 0, std::move(a), p) {}

    void run() {
        std::string buffer(65536, '\0');
        pollfd fds[2] = {{endpoint.fd(), POLLIN, 0}, {endpoint.thread().wakeFd(), POLLIN, 0}};
        while (true) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            if (fds[1].revents) break;
            if (!(fds[0].revents & POLLIN)) continue;
            sockaddr_in peer{};
            socklen_t peerLen = sizeof peer;
            const ssize_t n = ::recvfrom(endpoint.fd(), buffer.data(), buffer.size(), 0,
                                         reinterpret_cast<sockaddr*>(&peer), &peerLen);
            if (n < 0) continue;
            std::optional<std::string> reply;
            try {
                reply = router.answer(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
            } catch (...) {
                reply.reset(); // whatever went wrong, a real agent would just not answer
            }
            if (reply) {
                if (const int delay = router.responseDelayMs(); delay > 0) endpoint.thread().sleep(delay);
                for (const std::string& datagram : router.hostileSnmpReplies(*reply))
                    ::sendto(endpoint.fd(), datagram.data(), datagram.size(), 0,
                             reinterpret_cast<sockaddr*>(&peer), peerLen);
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
    return d.endpoint.start([&d] { d.run(); });
}

void SnmpAgent::stop() {
    m_impl->endpoint.stop();
}

std::uint16_t SnmpAgent::port() const {
    return m_impl->endpoint.port();
}

std::string SnmpAgent::lastError() const {
    return m_impl->endpoint.lastError();
}

} // namespace sim
