// Loopback web servers for client tests.
#include "support/HttpTestServer.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int listenLoopback(std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        if (fd >= 0) ::close(fd);
        return -1;
    }
    port = ntohs(addr.sin_port);
    return fd;
}

bool canConnect(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return ok;
}

} // namespace

ScriptedHttpServer::ScriptedHttpServer(Script script) : m_script(std::move(script)) {
    m_listen = listenLoopback(m_port);
    if (m_listen < 0 || ::pipe2(m_wake, O_CLOEXEC) != 0) return;
    m_thread = std::thread([this] { run(); });
}

ScriptedHttpServer::~ScriptedHttpServer() {
    if (m_thread.joinable()) {
        const char byte = 'x';
        [[maybe_unused]] auto n = ::write(m_wake[1], &byte, 1);
        m_thread.join();
    }
    for (int fd : m_held)
        ::close(fd);
    for (int fd : {m_listen, m_wake[0], m_wake[1]})
        if (fd >= 0) ::close(fd);
}

std::vector<std::string> ScriptedHttpServer::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void ScriptedHttpServer::run() {
    pollfd fds[2] = {{m_listen, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    while (::poll(fds, 2, -1) >= 0 || errno == EINTR) {
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        const int client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) continue;
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            pollfd p[2] = {{client, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
            if (::poll(p, 2, 5000) <= 0 || p[1].revents) break;
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) break;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(request.substr(0, request.find("\r\n\r\n")));
        }
        const Answer answer = m_script(request);
        if (answer.silent) {
            m_held.push_back(client);
            continue;
        }
        std::string_view out = answer.bytes;
        while (!out.empty()) {
            if (answer.trickleMs > 0) ::usleep(static_cast<useconds_t>(answer.trickleMs) * 1000);
            const ssize_t sent =
                ::send(client, out.data(), answer.trickleMs > 0 ? 1 : out.size(), MSG_NOSIGNAL);
            if (sent <= 0) break;
            out.remove_prefix(static_cast<std::size_t>(sent));
        }
        ::close(client);
    }
}

PythonHttpServer::PythonHttpServer(const std::string& directory) {
    for (int attempt = 0; attempt < 5 && m_port == 0; ++attempt) {
        std::uint16_t port = 0;
        const int probe = listenLoopback(port);
        if (probe < 0) return;
        ::close(probe);
        const std::string portText = std::to_string(port);
        m_pid = ::fork();
        if (m_pid == 0) {
            const int null = ::open("/dev/null", O_RDWR);
            ::dup2(null, 0);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execlp("python3", "python3", "-m", "http.server", "--bind", "127.0.0.1", "--directory",
                     directory.c_str(), portText.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 100 && m_pid > 0; ++i) {
            if (canConnect(port)) {
                m_port = port;
                break;
            }
            if (::waitpid(m_pid, nullptr, WNOHANG) == m_pid) {
                m_pid = -1;
                break;
            }
            ::usleep(50000);
        }
        if (m_port == 0 && m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
    }
}

PythonHttpServer::~PythonHttpServer() {
    if (m_pid <= 0) return;
    ::kill(m_pid, SIGTERM);
    ::waitpid(m_pid, nullptr, 0);
}
