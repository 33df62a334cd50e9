// Socket moves of the hostile cases.
#include "sim/HostileIo.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/socket.h>

namespace sim {

namespace {

constexpr int StallLimitMs = 5000;

// Waits until fd can take more bytes; false when it stays full, or wakeFd wakes first.
bool writable(int fd, int wakeFd) {
    pollfd p[2] = {{fd, POLLOUT, 0}, {wakeFd, POLLIN, 0}};
    const int n = ::poll(p, wakeFd >= 0 ? 2 : 1, StallLimitMs);
    return n > 0 && !(p[1].revents & POLLIN) && (p[0].revents & POLLOUT) &&
           !(p[0].revents & (POLLERR | POLLHUP));
}

} // namespace

bool sendAllOf(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            if (!writable(fd, -1)) return false;
            continue;
        }
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::size_t streamWithoutEnd(int fd, int wakeFd, std::string_view chunk, std::size_t maxBytes) {
    std::size_t sent = 0;
    while (sent < maxBytes) {
        if (!writable(fd, wakeFd)) break;
        const ssize_t n = ::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
    return sent;
}

void waitForPeerToLeave(int fd, int wakeFd, int ms) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now())
                .count();
        if (left <= 0) return;
        pollfd p[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
        const int n = ::poll(p, wakeFd >= 0 ? 2 : 1, static_cast<int>(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0 || (p[1].revents & POLLIN)) return;
        char buffer[4096];
        if (::recv(fd, buffer, sizeof buffer, 0) <= 0) return;
    }
}

} // namespace sim
