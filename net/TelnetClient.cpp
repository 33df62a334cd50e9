// The telnet client: non-blocking connect in slices, blocking writes, and the reading thread.
#include "net/TelnetClient.h"

#include "net/AntiFreeze.h"
#include "net/core/TelnetOptions.h"

#include <QMetaObject>
#include <QObject>

#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

struct TIdTelnetReadThread::Link {
    int fd = -1;
    int wake[2] = {-1, -1};
    int readTimeoutMs = TIdTelnet::DefaultReadTimeoutMs;
    std::string terminalType;
    QObject* context = nullptr;
    TIdTelnet* owner = nullptr;

    std::mutex mutex;
    std::condition_variable cv;
    bool stopping = false; // set by the client's thread: no handler runs any more
    bool handoff = false;  // a chunk waits for the data handler
    std::string error;
    std::atomic<bool> peerGone{false}; // the peer closed and the last chunk was handed over
    bool closeReported = false;        // client's thread only

    bool stopped() {
        std::lock_guard lock(mutex);
        return stopping;
    }
    void finishHandoff() {
        std::lock_guard lock(mutex);
        handoff = false;
        cv.notify_all();
    }
    void end(const std::string& why) {
        std::lock_guard lock(mutex);
        if (error.empty()) error = why;
    }
};

namespace {

void closeFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

std::string describe(int code) {
    std::string text = std::strerror(code);
    return text + ".";
}

bool sendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

} // namespace

// ---- reading thread -----------------------------------------------------------------------------

TIdTelnetReadThread::TIdTelnetReadThread(std::shared_ptr<Link> link)
    : m_link(std::move(link)), m_thread([this] { run(); }) {}

TIdTelnetReadThread::~TIdTelnetReadThread() {
    stop();
}

void TIdTelnetReadThread::stop() {
    {
        std::lock_guard lock(m_link->mutex);
        m_link->stopping = true;
        m_link->cv.notify_all();
    }
    const char byte = 'x';
    [[maybe_unused]] auto n = ::write(m_link->wake[1], &byte, 1);
    if (m_thread.joinable()) m_thread.join();
}

void TIdTelnetReadThread::run() {
    Link& d = *m_link;
    telnet::OptionLayer options(d.terminalType);
    std::string input;
    std::string buffer(TIdTelnet::BufferSize, '\0');
    while (!d.stopped()) {
        pollfd fds[2] = {{d.fd, POLLIN, 0}, {d.wake[0], POLLIN, 0}};
        const int ready = ::poll(fds, 2, d.readTimeoutMs);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return d.end(describe(errno));
        if (fds[1].revents || d.stopped()) return;
        if (ready == 0) return d.end("Read Timeout");
        const ssize_t n = ::recv(d.fd, buffer.data(), buffer.size(), 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n < 0) return d.end(describe(errno));
        const std::string_view got(buffer.data(), static_cast<std::size_t>(n));
        // Bit 7 of every byte read is cleared before the option layer sees it.
        input += telnet::asciiFilter(got);
        auto result = options.process(input);
        input.clear();
        for (const auto& reply : result.replies)
            sendAll(d.fd, reply);
        // The data handler runs on the client's thread; this thread waits until it has returned.
        {
            std::unique_lock lock(d.mutex);
            if (d.stopping) return;
            d.handoff = true;
        }
        QMetaObject::invokeMethod(
            d.context, [link = m_link, data = std::move(result.data)] { link->owner->deliver(link, data); },
            Qt::QueuedConnection);
        {
            std::unique_lock lock(d.mutex);
            d.cv.wait(lock, [&] { return !d.handoff || d.stopping; });
            if (d.stopping) return;
        }
        if (n == 0) {
            d.peerGone = true;
            QMetaObject::invokeMethod(
                d.context, [link = m_link] { link->owner->peerClosed(link); }, Qt::QueuedConnection);
            return d.end("Connection Closed Gracefully.");
        }
    }
}

// ---- client -------------------------------------------------------------------------------------

TIdTelnet::TIdTelnet() : m_idle(TIdAntiFreeze::idleHook()), m_context(std::make_unique<QObject>()) {}

TIdTelnet::~TIdTelnet() {
    release();
}

std::string TIdTelnet::socketErrorText(int code, const std::string& description) {
    return "Socket Error # " + std::to_string(code) + "\r\n" + description;
}

void TIdTelnet::status(TelnetStatus code, const std::string& text) {
    if (onStatus) onStatus(code, text);
}

void TIdTelnet::release() {
    m_reader.reset();
    if (m_link) {
        closeFd(m_link->fd);
        closeFd(m_link->wake[0]);
        closeFd(m_link->wake[1]);
    }
    m_open = false;
}

void TIdTelnet::connect(int timeoutMs) {
    if (m_open) throw TelnetError("Already connected.");
    release();
    status(TelnetStatus::Resolving, "Resolving hostname " + m_host + ".");
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (const int rc = ::getaddrinfo(m_host.c_str(), nullptr, &hints, &found); rc != 0 || !found)
        throw TelnetError(socketErrorText(rc, std::string(::gai_strerror(rc)) + "."));
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr, text, sizeof text);
    ::freeaddrinfo(found);
    const std::string address = text;
    status(TelnetStatus::Connecting, "Connecting to " + address + ".");

    auto link = std::make_shared<TIdTelnetReadThread::Link>();
    link->fd = openSocket(address, timeoutMs);
    if (::pipe2(link->wake, O_CLOEXEC) < 0) {
        const int e = errno;
        closeFd(link->fd);
        throw TelnetError(socketErrorText(e, describe(e)));
    }
    link->readTimeoutMs = m_readTimeoutMs;
    link->terminalType = m_terminalType;
    link->context = m_context.get();
    link->owner = this;
    m_link = link;
    m_open = true;
    status(TelnetStatus::Connected, "Connected.");
    m_reader = std::make_unique<TIdTelnetReadThread>(m_link);
}

int TIdTelnet::openSocket(const std::string& address, int timeoutMs) {
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    auto fail = [&](int code) -> int {
        closeFd(fd);
        throw TelnetError(socketErrorText(code, describe(code)));
    };
    if (fd < 0) return fail(errno);
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(m_port);
    ::inet_pton(AF_INET, address.c_str(), &peer.sin_addr);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&peer), sizeof peer) < 0 && errno != EINPROGRESS)
        return fail(errno);
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            closeFd(fd);
            throw TelnetError("Connect timed out.");
        }
        pollfd p{fd, POLLOUT, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, ConnectSliceMs)));
        if (ready > 0) break;
        if (ready < 0 && errno != EINTR) return fail(errno);
        if (m_idle) m_idle();
    }
    int error = 0;
    socklen_t len = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len);
    if (error != 0) return fail(error);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

bool TIdTelnet::connected() {
    if (m_open && m_link && m_link->peerGone) peerClosed(m_link);
    return m_open;
}

void TIdTelnet::write(std::string_view text) {
    if (!m_open || !m_link) throw TelnetError("Not Connected");
    if (!sendAll(m_link->fd, text)) {
        const int e = errno;
        throw TelnetError(socketErrorText(e, describe(e)));
    }
}

void TIdTelnet::disconnect() {
    if (!m_open) return release();
    if (m_reader) {
        std::lock_guard lock(m_link->mutex);
        m_link->stopping = true;
        m_link->cv.notify_all();
    }
    status(TelnetStatus::Disconnecting, "Disconnecting.");
    release();
    if (onDisconnected) onDisconnected();
    status(TelnetStatus::Disconnected, "Disconnected.");
}

std::string TIdTelnet::readerError() const {
    if (!m_link) return {};
    std::lock_guard lock(m_link->mutex);
    return m_link->error;
}

void TIdTelnet::deliver(const std::shared_ptr<TIdTelnetReadThread::Link>& link, const std::string& data) {
    if (link->stopped() || link != m_link) return link->finishHandoff();
    // The reader waits until the handler has returned, also when the handler throws.
    struct Release {
        TIdTelnetReadThread::Link& l;
        ~Release() { l.finishHandoff(); }
    } release{*link};
    if (onDataAvailable) onDataAvailable(data);
}

void TIdTelnet::peerClosed(const std::shared_ptr<TIdTelnetReadThread::Link>& link) {
    if (link != m_link || link->closeReported || !m_open || link->stopped()) return;
    link->closeReported = true;
    release();
    status(TelnetStatus::Disconnected, "Disconnected.");
    if (onDisconnected) onDisconnected();
}
