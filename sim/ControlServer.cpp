#include "sim/ControlServer.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace sim {

namespace {

// A longer control line is refused and its connection closed.
constexpr std::size_t MaxLine = 64 * 1024;

bool makeAddress(const std::string& path, sockaddr_un& addr) {
    std::memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof addr.sun_path) return false;
    std::memcpy(addr.sun_path, path.data(), path.size());
    return true;
}

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            if (errno == EAGAIN) {
                pollfd p{fd, POLLOUT, 0};
                if (::poll(&p, 1, 5000) <= 0) return false;
                continue;
            }
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

struct ControlServer::Impl {
    ControlProtocol& protocol;
    std::string path;
    int listener = -1;
    int wake[2] = {-1, -1};
    std::thread thread;
    mutable std::mutex mutex;
    std::string error;
    bool bound = false;

    struct Client {
        int fd;
        std::string pending;
    };

    Impl(ControlProtocol& p, std::string s) : protocol(p), path(std::move(s)) {}

    void run() {
        std::vector<Client> clients;
        while (true) {
            std::vector<pollfd> fds;
            fds.push_back({wake[0], POLLIN, 0});
            fds.push_back({listener, POLLIN, 0});
            for (const Client& c : clients)
                fds.push_back({c.fd, POLLIN, 0});
            if (::poll(fds.data(), fds.size(), -1) < 0) {
                if (errno == EINTR) continue;
                break;
            }
            if (fds[0].revents) break;
            if (fds[1].revents & POLLIN) {
                const int fd = ::accept4(listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
                if (fd >= 0) clients.push_back({fd, {}});
            }
            std::vector<int> closed;
            for (std::size_t i = 2; i < fds.size(); ++i) {
                if (!fds[i].revents) continue;
                Client& c = clients[i - 2];
                if (!serve(c)) closed.push_back(c.fd);
            }
            for (int fd : closed) {
                ::close(fd);
                std::erase_if(clients, [fd](const Client& c) { return c.fd == fd; });
            }
        }
        for (const Client& c : clients)
            ::close(c.fd);
    }

    // Reads what the client sent and answers every complete line; false when the client is gone.
    bool serve(Client& c) {
        char buf[4096];
        const ssize_t n = ::recv(c.fd, buf, sizeof buf, 0);
        if (n < 0) return errno == EINTR || errno == EAGAIN;
        if (n == 0) return false;
        c.pending.append(buf, static_cast<std::size_t>(n));
        std::size_t nl;
        while ((nl = c.pending.find('\n')) != std::string::npos) {
            const std::string line = c.pending.substr(0, nl);
            c.pending.erase(0, nl + 1);
            std::string reply;
            if (line == "quit" || line == "quit\r") {
                writeAll(c.fd, "ok bye\n");
                return false;
            }
            try {
                reply = protocol.execute(line);
            } catch (const std::exception& e) {
                reply = std::string("error ") + e.what();
            }
            for (char& ch : reply) {
                if (ch == '\n' || ch == '\r') ch = ' '; // one answer, one line
            }
            if (!writeAll(c.fd, reply + "\n")) return false;
        }
        if (c.pending.size() > MaxLine) {
            writeAll(c.fd, "error line too long\n");
            return false;
        }
        return true;
    }
};

ControlServer::ControlServer(ControlProtocol& protocol, std::string path)
    : m_impl(std::make_unique<Impl>(protocol, std::move(path))) {}

ControlServer::~ControlServer() {
    stop();
}

bool ControlServer::start() {
    Impl& d = *m_impl;
    if (d.thread.joinable()) return true;
    auto failWith = [&](const std::string& what) {
        std::lock_guard lock(d.mutex);
        d.error = what;
        if (d.listener >= 0) ::close(d.listener);
        d.listener = -1;
        return false;
    };
    sockaddr_un addr;
    if (!makeAddress(d.path, addr)) return failWith("control socket path is empty or too long: " + d.path);
    struct stat st {};
    if (::lstat(d.path.c_str(), &st) == 0) {
        if (!S_ISSOCK(st.st_mode)) return failWith(d.path + " exists and is not a socket");
        // A live stand-in still listening there keeps it; a stale file from a dead one is replaced.
        if (controlRequest(d.path, "ping", 500))
            return failWith(d.path + " is in use by another running stand-in");
        ::unlink(d.path.c_str());
    }
    d.listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (d.listener < 0) return failWith(std::string("socket: ") + std::strerror(errno));
    if (::bind(d.listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) < 0)
        return failWith("bind " + d.path + ": " + std::strerror(errno));
    d.bound = true;
    if (::listen(d.listener, 16) < 0) return failWith(std::string("listen: ") + std::strerror(errno));
    if (::pipe2(d.wake, O_CLOEXEC) < 0) return failWith(std::string("pipe: ") + std::strerror(errno));
    d.thread = std::thread([&d] { d.run(); });
    return true;
}

void ControlServer::stop() {
    Impl& d = *m_impl;
    if (d.thread.joinable()) {
        const char byte = 'x';
        [[maybe_unused]] auto n = ::write(d.wake[1], &byte, 1);
        d.thread.join();
    }
    for (int* fd : {&d.listener, &d.wake[0], &d.wake[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    if (d.bound) {
        ::unlink(d.path.c_str());
        d.bound = false;
    }
}

std::string ControlServer::lastError() const {
    std::lock_guard lock(m_impl->mutex);
    return m_impl->error;
}

std::optional<std::string> controlRequest(const std::string& path, const std::string& command,
                                          int timeoutMs) {
    sockaddr_un addr;
    if (!makeAddress(path, addr)) return std::nullopt;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return std::nullopt;
    std::optional<std::string> answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 && writeAll(fd, command + "\n")) {
        std::string got;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (true) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            pollfd p{fd, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) break;
            char buf[4096];
            const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
            if (n <= 0) break;
            got.append(buf, static_cast<std::size_t>(n));
            if (const auto nl = got.find('\n'); nl != std::string::npos) {
                answer = got.substr(0, nl);
                break;
            }
        }
    }
    ::close(fd);
    return answer;
}

} // namespace sim
