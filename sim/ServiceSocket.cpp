// The stand-in services' listening sockets and endpoints.
#include "sim/ServiceSocket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sim {

int openServiceSocket(int type, const std::string& address, std::uint16_t port, int backlog,
                      std::uint16_t& boundPort, std::string& error) {
    int fd = -1;
    auto fail = [&](const std::string& what) {
        error = what + ": " + std::strerror(errno);
        if (fd >= 0) ::close(fd);
        return -1;
    };
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &addr.sin_addr) != 1) {
        errno = EINVAL;
        return fail("bad address \"" + address + "\"");
    }
    fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0) return fail("socket");
    if (type == SOCK_STREAM) {
        const int on = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    }
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0)
        return fail("bind " + address + ":" + std::to_string(port));
    if (type == SOCK_STREAM && ::listen(fd, backlog) < 0) return fail("listen");
    socklen_t len = sizeof addr;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) < 0) return fail("getsockname");
    boundPort = ntohs(addr.sin_port);
    return fd;
}

ServiceEndpoint::ServiceEndpoint(int type, int backlog, std::string address, std::uint16_t port)
    : m_type(type), m_backlog(backlog), m_address(std::move(address)), m_requestedPort(port) {}

bool ServiceEndpoint::start(std::function<void()> run) {
    if (m_thread.running()) return true;
    std::string error;
    m_fd = openServiceSocket(m_type, m_address, m_requestedPort, m_backlog, m_boundPort, error);
    if (m_fd < 0 || !m_thread.open()) {
        std::lock_guard lock(m_mutex);
        m_error = m_fd < 0 ? error : std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    m_thread.start(std::move(run));
    return true;
}

void ServiceEndpoint::stop() {
    m_thread.stop();
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

std::string ServiceEndpoint::lastError() const {
    std::lock_guard lock(m_mutex);
    return m_error;
}

} // namespace sim
