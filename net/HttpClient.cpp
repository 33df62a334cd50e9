// HTTP/1.1 GET client over a non-blocking TCP socket, every wait bounded and sliced.
#include "net/HttpClient.h"

#include "net/HostLookup.h"
#include "net/core/ProgramVersion.h"
#include "net/core/SocketErrorText.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <netinet/in.h>
#include <poll.h>
#include <span>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kSlice = std::chrono::milliseconds(125);

constexpr const char* kRedirectRefused = "The redirect leads to an address that is not allowed.";

[[noreturn]] void raise(const std::string& message) {
    throw EIdHTTPError(message, 0);
}

struct Socket {
    int fd = -1;
    ~Socket() {
        if (fd >= 0) ::close(fd);
    }
};

// Runs the caller's hook at least once a slice while a request goes on, whether it waits for the
// peer or data keep flowing.
class Idle {
public:
    explicit Idle(const std::function<void()>& hook) : m_hook(hook), m_last(Clock::now()) {}
    void operator()() {
        if (m_hook) m_hook();
        m_last = Clock::now();
    }
    void ifDue() {
        if (Clock::now() - m_last >= kSlice) (*this)();
    }

private:
    const std::function<void()>& m_hook;
    Clock::time_point m_last;
};

// Waits for the events on fd in slices, running the idle hook between them. False at `until`.
bool waitFor(int fd, short events, Clock::time_point until, Idle& idle) {
    while (true) {
        const auto now = Clock::now();
        if (now >= until) return false;
        const auto slice = std::min<Clock::duration>(until - now, kSlice);
        pollfd p{fd, events, 0};
        const int ready =
            ::poll(&p, 1, static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(slice).count()));
        if (ready > 0) {
            idle.ifDue();
            return true;
        }
        if (ready < 0 && errno != EINTR) raise(socketerror::fromErrno(errno));
        idle();
    }
}

in_addr resolve(const std::string& host, Clock::time_point until, Idle& idle) {
    in_addr numeric{};
    if (inet_pton(AF_INET, host.c_str(), &numeric) == 1) return numeric;
    HostLookup lookup(host);
    while (!lookup.waitUntil(std::min(until, Clock::now() + kSlice))) {
        if (Clock::now() >= until) raise(socketerror::kConnectTimedOut);
        idle();
    }
    if (!lookup.found()) raise(socketerror::text(lookup.error(), lookup.errorText()));
    return lookup.address();
}

void connectTo(Socket& s, in_addr address, std::uint16_t port, Clock::time_point until, Idle& idle) {
    s.fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s.fd < 0) raise(socketerror::fromErrno(errno));
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr = address;
    if (::connect(s.fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) return;
    if (errno != EINPROGRESS) raise(socketerror::fromErrno(errno));
    if (!waitFor(s.fd, POLLOUT, until, idle)) raise(socketerror::kConnectTimedOut);
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(s.fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) error = errno;
    if (error != 0) raise(socketerror::fromErrno(error));
}

void sendAll(int fd, std::string_view data, Clock::time_point until, Idle& idle) {
    while (!data.empty()) {
        const ssize_t sent = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            data.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno != EAGAIN && errno != EINTR) {
            raise(socketerror::fromErrno(errno));
        } else if (!waitFor(fd, POLLOUT, until, idle)) {
            raise(socketerror::kReadTimedOut);
        }
    }
}

// Bytes asked for by one read; a body is received straight into the reply where the parser allows it.
constexpr std::size_t kReadBytes = 128 * 1024;
// After a large piece of a chunked body, the next chunk's size line is read in a small bite, so that
// the chunk's data after it is again received in place rather than copied out of the read buffer.
constexpr std::size_t kFramingBytes = 256;
constexpr std::size_t kLargePiece = 4096;

http::Reply receive(int fd, std::size_t maxBody, Clock::time_point until, Idle& idle) {
    http::ReplyParser parser(maxBody);
    const auto buffer = std::make_unique_for_overwrite<char[]>(kReadBytes);
    std::size_t framingRead = kReadBytes;
    while (!parser.complete() && !parser.failed()) {
        const std::span<char> room = parser.bodyRoom(kReadBytes);
        const bool inPlace = !room.empty();
        const ssize_t got =
            inPlace ? ::recv(fd, room.data(), room.size(), 0) : ::recv(fd, buffer.get(), framingRead, 0);
        const int error = errno;
        if (inPlace) {
            parser.bodyReceived(got > 0 ? static_cast<std::size_t>(got) : 0);
            if (got > 0) framingRead = room.size() >= kLargePiece ? kFramingBytes : kReadBytes;
        } else if (got > 0) {
            parser.feed(std::string_view(buffer.get(), static_cast<std::size_t>(got)));
        }
        if (got > 0) continue;
        if (got == 0)
            parser.close();
        else if (error != EAGAIN && error != EINTR)
            raise(socketerror::fromErrno(error));
        else if (!waitFor(fd, POLLIN, until, idle))
            raise(socketerror::kReadTimedOut);
    }
    if (parser.failed()) raise(parser.error());
    return parser.takeReply();
}

} // namespace

TIdHTTP::TIdHTTP(const HttpSettings& settings)
    : UserAgent(std::string(program::kName) + "/" + program::kVersion),
      ConnectTimeout(settings.connectTimeoutMs), RequestTimeout(settings.requestTimeoutMs) {}

http::Reply TIdHTTP::fetch(const http::Target& target, bool redirected, Clock::time_point deadline) {
    const auto connectUntil =
        std::min(deadline, Clock::now() + std::chrono::milliseconds(std::max(ConnectTimeout, 0)));
    Idle idle(OnIdle);
    const in_addr address = resolve(target.host, connectUntil, idle);
    if (redirected && RedirectAllowed && !RedirectAllowed(ntohl(address.s_addr))) raise(kRedirectRefused);
    Socket s;
    connectTo(s, address, target.port, connectUntil, idle);
    sendAll(s.fd,
            http::buildRequest(target.path, target.host, target.port, ProtocolVersion, Accept, UserAgent),
            deadline, idle);
    return receive(s.fd, MaxBodyBytes, deadline, idle);
}

std::string TIdHTTP::Get(const std::string& path) {
    ResponseCode = 0;
    ResponseText.clear();
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(RequestTimeout, 0));
    http::Target target{Host, Port, path};
    for (int redirects = 0;; ++redirects) {
        http::Reply reply = fetch(target, redirects > 0, deadline);
        ResponseCode = reply.status;
        ResponseText = reply.statusLine;
        if (reply.status >= 200 && reply.status < 300) return std::move(reply.body);
        const bool redirect = reply.status >= 300 && reply.status < 400;
        if (redirect && HandleRedirects && redirects < RedirectMaximum) {
            if (const auto next = http::resolveLocation(target, reply.header("Location"))) {
                target = *next;
                continue;
            }
        }
        throw EIdHTTPError(reply.statusLine, reply.status);
    }
}
