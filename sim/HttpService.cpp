// HttpService: the stand-in's HTTP listener, one connection at a time, and its dial on demand.
#include "sim/HttpService.h"

#include "net/WebServers.h"
#include "sim/HostileIo.h"
#include "sim/ServiceSocket.h"

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRequestWaitMs = 2000;
constexpr std::size_t kMaxRequestBytes = 16 * 1024;
const char* const kPage = "<html><head><title>Internet</title></head><body>Online.</body></html>\r\n";

std::string unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 'r' ? '\r' : c == 'n' ? '\n' : c;
    }
    return out;
}

constexpr int kHostileWaitMs = 60000;

// The answer head of a hostile case, with a body of the given size announced.
std::string head(const std::string& status, const std::string& lengthField) {
    return "HTTP/1.1 " + status + "\r\n" + lengthField + "Connection: close\r\n\r\n";
}

std::string highBitBody() {
    std::string body(64, '\0');
    for (std::size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<char>(0x80 | (i * 37 % 128));
    return body;
}

std::string reply(const char* status, const char* type, const std::string& body) {
    return std::string("HTTP/1.1 ") + status + "\r\nContent-Type: " + type +
           "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

} // namespace

struct HttpService::Impl {
    Router& router;
    ServiceEndpoint endpoint;
    mutable std::mutex mutex;
    std::string versionFile = "1.2.0.1\r\n17/03/2004\r\n";
    int dialDelayMs = 2000;
    bool dialEnabled = true;
    std::optional<Clock::time_point> dialAt;
    std::atomic<std::uint64_t> requests{0}, dials{0};

    Impl(Router& r, std::string a, std::uint16_t p) : router(r), endpoint(SOCK_STREAM, 16, std::move(a), p) {}

    void run() {
        pollfd fds[2] = {{endpoint.fd(), POLLIN, 0}, {endpoint.thread().wakeFd(), POLLIN, 0}};
        while (true) {
            if (::poll(fds, 2, nextDialWaitMs()) < 0 && errno != EINTR) break;
            if (fds[1].revents) break;
            dialIfDue();
            if (!(fds[0].revents & POLLIN)) continue;
            const int client = ::accept4(endpoint.fd(), nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            serve(client);
            ::close(client);
        }
    }

    int nextDialWaitMs() {
        std::lock_guard lock(mutex);
        if (!dialAt) return -1;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*dialAt - Clock::now()).count();
        return static_cast<int>(std::max<decltype(left)>(left, 0));
    }

    void dialIfDue() {
        std::lock_guard lock(mutex);
        if (!dialAt || Clock::now() < *dialAt) return;
        dialAt.reset();
        if (router.operStatus(PppIf) != 1) {
            router.setPppLink(true);
            ++dials;
        }
    }

    // A request of the router's LAN towards the Internet: the router dials unless the link is up.
    void requestSeen() {
        ++requests;
        std::lock_guard lock(mutex);
        if (!dialEnabled || dialAt || router.operStatus(PppIf) == 1) return;
        dialAt = Clock::now() + std::chrono::milliseconds(dialDelayMs);
    }

    void serve(int client) {
        std::string request;
        char buffer[4096];
        const auto until = Clock::now() + std::chrono::milliseconds(kRequestWaitMs);
        while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequestBytes) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(until - Clock::now()).count();
            pollfd p{client, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, static_cast<int>(left)) <= 0) return;
            const ssize_t n = ::recv(client, buffer, sizeof buffer, 0);
            if (n <= 0) return;
            request.append(buffer, static_cast<std::size_t>(n));
        }
        requestSeen();
        if (const std::string how = router.hostile(Service::Http); !how.empty()) {
            misbehave(client, how, request);
            return;
        }
        const std::string answer = answerTo(request);
        ::send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
        ::shutdown(client, SHUT_WR);
    }

    // Answers as the hostile case says; returns when the answer is over (or the client left).
    void misbehave(int client, const std::string& how, const std::string& request) {
        const std::string path = requestPath(request);
        if (how == "truncated") {
            sendAllOf(client, head("200 OK", "Content-Length: 1000\r\n") + "1.2.0.1\r\n17");
        } else if (how == "badstatus") {
            sendAllOf(client, "HTPT/9.x banana\r\n\r\n1.2.0.1\r\n");
        } else if (how == "badlength") {
            sendAllOf(client, head("200 OK", "Content-Length: -5\r\n") + "1.2.0.1\r\n17/03/2004\r\n");
        } else if (how == "endless") {
            if (sendAllOf(client, head("200 OK", "")))
                streamWithoutEnd(client, endpoint.thread().wakeFd(), std::string(8192, '7'),
                                 std::size_t{1} << 30);
        } else if (how == "huge") {
            sendAllOf(client, "HTTP/1.1 200 OK\r\nX-Filler: " + std::string(4u << 20, 'x') + "\r\n\r\n");
        } else if (how == "stall") {
            if (sendAllOf(client, head("200 OK", "Content-Length: 1000\r\n") + std::string(500, '1')))
                waitForPeerToLeave(client, endpoint.thread().wakeFd(), kHostileWaitMs);
        } else if (how == "highbit") {
            sendAllOf(client, reply("200 OK", "text/plain", highBitBody()));
        } else if (how == "redirectloop") {
            sendAllOf(client, head("302 Found", "Location: " + path + "\r\nContent-Length: 0\r\n"));
        } else if (how == "silent") {
            waitForPeerToLeave(client, endpoint.thread().wakeFd(), kHostileWaitMs);
        }
        ::shutdown(client, SHUT_WR);
    }

    static std::string requestPath(const std::string& request) {
        std::istringstream line(request.substr(0, request.find("\r\n")));
        std::string method, path;
        line >> method >> path;
        return path;
    }

    std::string answerTo(const std::string& request) {
        std::istringstream line(request.substr(0, request.find("\r\n")));
        std::string method, path;
        line >> method >> path;
        if (method != "GET") return reply("405 Method Not Allowed", "text/plain", "");
        if (path == webconfig::updatePath()) {
            std::lock_guard lock(mutex);
            return reply("200 OK", "text/plain", versionFile);
        }
        return reply("200 OK", "text/html", kPage);
    }
};

HttpService::HttpService(Router& router, std::string bindAddress, std::uint16_t port)
    : m_impl(std::make_unique<Impl>(router, std::move(bindAddress), port)) {}

HttpService::~HttpService() {
    stop();
}

bool HttpService::start() {
    Impl& d = *m_impl;
    return d.endpoint.start([&d] { d.run(); });
}

void HttpService::stop() {
    m_impl->endpoint.stop();
}

std::uint16_t HttpService::port() const {
    return m_impl->endpoint.port();
}

std::string HttpService::lastError() const {
    return m_impl->endpoint.lastError();
}

void HttpService::setDialDelayMs(int ms) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->dialDelayMs = ms;
}

void HttpService::setDialEnabled(bool enabled) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->dialEnabled = enabled;
    if (!enabled) m_impl->dialAt.reset();
}

void HttpService::setVersionFile(const std::string& content) {
    std::lock_guard lock(m_impl->mutex);
    m_impl->versionFile = content;
}

std::uint64_t HttpService::requestCount() const {
    return m_impl->requests;
}

std::uint64_t HttpService::dialCount() const {
    return m_impl->dials;
}

void HttpService::addCommands(ControlProtocol& protocol) {
    protocol.addCommand(
        "dial", [this](const std::vector<std::string>& args, std::string_view) -> std::string {
            if (args.size() == 2 && args[0] == "delay") {
                const std::string& ms = args[1];
                if (ms.empty() || ms.size() > 6 || ms.find_first_not_of("0123456789") != std::string::npos)
                    return "error dial delay wants milliseconds (0 to 999999)";
                setDialDelayMs(std::stoi(ms));
            } else if (args.size() == 1 && (args[0] == "on" || args[0] == "off")) {
                setDialEnabled(args[0] == "on");
            } else if (!args.empty()) {
                return "error usage: dial [delay <ms>|on|off]";
            }
            std::lock_guard lock(m_impl->mutex);
            return "ok delay " + std::to_string(m_impl->dialDelayMs) +
                   (m_impl->dialEnabled ? " on" : " off") + " dials " + std::to_string(m_impl->dials);
        });
    protocol.addCommand("version",
                        [this](const std::vector<std::string>& args, std::string_view rest) -> std::string {
                            if (args.size() >= 2 && args[0] == "file") {
                                const std::string path(rest.substr(rest.find("file") + 5));
                                std::ifstream in(path, std::ios::binary);
                                if (!in) return "error cannot read " + path;
                                std::ostringstream content;
                                content << in.rdbuf();
                                setVersionFile(content.str());
                            } else {
                                setVersionFile(unescape(rest));
                            }
                            return "ok";
                        });
    protocol.addCommand("http", [this](const std::vector<std::string>&, std::string_view) {
        return "ok port " + std::to_string(port()) + " requests " + std::to_string(requestCount());
    });
}

} // namespace sim
