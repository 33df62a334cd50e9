// TFTP server side over UDP: the server port, uploads through their own sockets, refusals.
#include "net/TftpServer.h"

#include "net/core/TftpPacket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Room for a whole data packet and one byte more (a datagram too long to be a block).
constexpr std::size_t ReceiveRoom = tftp::HeaderSize + tftp::BlockSize + 1;
// How often a wait looks at the abort flag.
constexpr int AbortSliceMs = 100;

bool ParsePort(const std::string& text, std::uint16_t& port) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long value = std::stoul(text);
    if (value > 65535) return false;
    port = static_cast<std::uint16_t>(value);
    return true;
}

std::string ErrnoText(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// Collects the upload in memory, up to a bound.
class MemorySink : public TftpSink {
public:
    MemorySink(std::string& data, std::size_t limit) : m_data(data), m_limit(limit) {}
    bool append(std::string_view bytes) override {
        if (m_data.size() + bytes.size() > m_limit) return false;
        m_data.append(bytes);
        return true;
    }
    bool commit() override { return true; }

private:
    std::string& m_data;
    const std::size_t m_limit;
};

} // namespace

bool TftpWaitReadable(int fd, int timeoutMs, const std::atomic<bool>* abort) {
    using SteadyClock = std::chrono::steady_clock;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (abort && abort->load()) return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
        if (left <= 0) return false;
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, static_cast<int>(std::min<long long>(left, AbortSliceMs)));
        if (ready > 0) return (entry.revents & POLLIN) != 0;
        if (ready < 0 && errno != EINTR) return false;
    }
}

std::uint16_t TftpSink::errorCode() const {
    return tftp::DiskFull;
}

std::string TftpSink::errorMessage() const {
    return "Disk full or allocation exceeded.";
}

// ---- one upload ---------------------------------------------------------------------------------

TftpUpload::TftpUpload(std::uint32_t peerAddress, std::uint16_t peerPort, TftpSink& sink, int timeoutMs)
    : m_peerAddress(peerAddress), m_peerPort(peerPort), m_sink(sink), m_timeoutMs(std::max(timeoutMs, 0)) {}

TftpUpload::~TftpUpload() {
    if (m_socket >= 0) ::close(m_socket);
}

bool TftpUpload::open() {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = m_peerAddress;
    peer.sin_port = m_peerPort;
    m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_socket < 0 || ::connect(m_socket, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        SocketError = ErrnoText(m_socket < 0 ? "socket" : "connect");
        m_state = State::Failed;
        return false;
    }
    m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timeoutMs);
    if (send(tftp::EncodeAck(0))) return true;
    m_state = State::Failed;
    return false;
}

bool TftpUpload::send(const std::string& packet) {
    if (::send(m_socket, packet.data(), packet.size(), 0) == static_cast<ssize_t>(packet.size())) return true;
    SocketError = ErrnoText("send");
    return false;
}

void TftpUpload::fail(std::uint16_t code, const std::string& message) {
    send(tftp::EncodeError(code, message));
    m_state = State::Failed;
}

void TftpUpload::requestRepeated() {
    if (m_state == State::Receiving && m_expected == 1 && m_size == 0) send(tftp::EncodeAck(0));
}

TftpUpload::State TftpUpload::onReadable() {
    if (m_state != State::Receiving) return m_state;
    char buffer[ReceiveRoom];
    const ssize_t got = ::recv(m_socket, buffer, sizeof buffer, 0);
    if (got < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return m_state;
        SocketError = ErrnoText("recv");
        return m_state = State::Failed;
    }
    const std::string_view datagram(buffer, static_cast<std::size_t>(got));
    if (const auto data = tftp::ParseData(datagram)) {
        const bool started = m_expected != 1 || m_size > 0;
        if (started && data->block == static_cast<std::uint16_t>(m_expected - 1) &&
            data->bytes.size() <= tftp::BlockSize) {
            // Our acknowledgement was lost and the peer sent the block again.
            m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timeoutMs);
            if (!send(tftp::EncodeAck(data->block))) m_state = State::Failed;
            return m_state;
        }
        if (data->block != m_expected || data->bytes.size() > tftp::BlockSize) {
            fail(tftp::UnknownTransferId, tftp::WrongBlockText);
            return m_state;
        }
        if (!m_sink.append(data->bytes)) {
            fail(m_sink.errorCode(), m_sink.errorMessage());
            return m_state;
        }
        m_size += data->bytes.size();
        const bool last = data->bytes.size() < tftp::BlockSize;
        // The last block is acknowledged only once the whole file is final.
        if (last && !m_sink.commit()) {
            fail(m_sink.errorCode(), m_sink.errorMessage());
            return m_state;
        }
        if (!send(tftp::EncodeAck(m_expected))) return m_state = State::Failed;
        ++m_expected; // block numbers wrap around after 65535
        m_deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_timeoutMs);
        if (last) m_state = State::Complete;
        return m_state;
    }
    if (const auto error = tftp::ParseError(datagram)) {
        ErrorCode = error->code;
        ErrorString = error->message;
    }
    return m_state = State::Failed;
}

// ---- the server port ----------------------------------------------------------------------------

TTFTPSend::TTFTPSend(const TftpSettings& settings)
    : TargetPort(std::to_string(settings.port)), Timeout(settings.timeoutMs) {}

TTFTPSend::~TTFTPSend() {
    CloseSocket();
}

void TTFTPSend::CloseSocket() {
    if (m_socket >= 0) ::close(m_socket);
    m_socket = -1;
    m_boundTo.clear();
}

bool TTFTPSend::Listen() {
    const std::string where = LocalInterface + ":" + TargetPort;
    if (m_socket >= 0 && m_boundTo == where) return true;
    CloseSocket();
    sockaddr_in local{};
    local.sin_family = AF_INET;
    std::uint16_t port = 0;
    if (!ParsePort(TargetPort, port) || ::inet_pton(AF_INET, LocalInterface.c_str(), &local.sin_addr) != 1) {
        SocketError = "bad local address " + where;
        return false;
    }
    local.sin_port = htons(port);
    m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        SocketError = ErrnoText(m_socket < 0 ? "socket" : "bind");
        CloseSocket();
        return false;
    }
    m_boundTo = where;
    SocketError.clear();
    return true;
}

bool TTFTPSend::ReadRequest(std::uint16_t& opcode, std::string& fileName) {
    if (m_socket < 0) return false;
    char buffer[ReceiveRoom];
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t got =
        ::recvfrom(m_socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got < static_cast<ssize_t>(tftp::HeaderSize) || from.sin_family != AF_INET) return false;
    m_peerAddress = from.sin_addr.s_addr;
    m_peerPort = from.sin_port;
    char dotted[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &from.sin_addr, dotted, sizeof dotted);
    RequestIP = dotted;
    RequestPort = std::to_string(ntohs(from.sin_port));
    const auto request = tftp::ParseRequest(std::string_view(buffer, static_cast<std::size_t>(got)));
    opcode = request->opcode;
    fileName = request->fileName;
    return tftp::IsOctetMode(request->mode);
}

bool TTFTPSend::AwaitRequest(std::uint16_t& opcode, std::string& fileName) {
    ErrorCode = 0;
    ErrorString.clear();
    if (!Listen()) return false;
    if (!TftpWaitReadable(m_socket, Timeout, Abort)) return false;
    return ReadRequest(opcode, fileName);
}

std::unique_ptr<TftpUpload> TTFTPSend::UploadFromRequester(TftpSink& sink) const {
    return std::make_unique<TftpUpload>(m_peerAddress, m_peerPort, sink, Timeout);
}

bool TTFTPSend::ReceiveUpload() {
    ErrorCode = 0;
    ErrorString.clear();
    Data.clear();
    MemorySink sink(Data, MaxDataSize);
    const auto upload = UploadFromRequester(sink);
    if (!upload->open()) return false;
    while (upload->state() == TftpUpload::State::Receiving) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            upload->deadline() - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !TftpWaitReadable(upload->socket(), static_cast<int>(left.count()), Abort))
            break;
        upload->onReadable();
    }
    ErrorCode = upload->ErrorCode;
    ErrorString = upload->ErrorString;
    return upload->state() == TftpUpload::State::Complete;
}

void TTFTPSend::RejectRequest(std::uint16_t code, const std::string& message) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = m_peerAddress;
    peer.sin_port = m_peerPort;
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return;
    const std::string packet = tftp::EncodeError(code, message);
    ::sendto(fd, packet.data(), packet.size(), 0, reinterpret_cast<sockaddr*>(&peer), sizeof peer);
    ::close(fd);
}
