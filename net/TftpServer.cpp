// TFTP server side over UDP: one request, one upload or one refusal at a time.
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

namespace tftpconfig {
namespace {
std::atomic<unsigned short> g_port{69};
std::atomic<int> g_timeoutMs{5000};
} // namespace
void setPort(unsigned short port) {
    g_port = port;
}
unsigned short port() {
    return g_port;
}
void setTimeoutMs(int ms) {
    g_timeoutMs = ms;
}
int timeoutMs() {
    return g_timeoutMs;
}
} // namespace tftpconfig

namespace {

// Room for a whole data packet and one byte more (a datagram too long to be a block).
constexpr std::size_t ReceiveRoom = tftp::HeaderSize + tftp::BlockSize + 1;
// How often a wait looks at the abort flag.
constexpr int AbortSliceMs = 100;

// Waits until the socket is readable: false on time-out, abort or a poll error.
bool WaitReadable(int socket, int timeoutMs, const std::atomic<bool>* abort) {
    using SteadyClock = std::chrono::steady_clock;
    const auto deadline = SteadyClock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        if (abort && abort->load()) return false;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
        if (left <= 0) return false;
        pollfd fd{socket, POLLIN, 0};
        const int ready = ::poll(&fd, 1, static_cast<int>(std::min<long long>(left, AbortSliceMs)));
        if (ready > 0) return (fd.revents & POLLIN) != 0;
        if (ready < 0 && errno != EINTR) return false;
    }
}

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

} // namespace

TTFTPSend::TTFTPSend() : TargetPort(std::to_string(tftpconfig::port())), Timeout(tftpconfig::timeoutMs()) {}

TTFTPSend::~TTFTPSend() {
    CloseSocket();
}

void TTFTPSend::CloseSocket() {
    if (m_socket >= 0) ::close(m_socket);
    m_socket = -1;
}

bool TTFTPSend::AwaitRequest(std::uint16_t& opcode, std::string& fileName) {
    ErrorCode = 0;
    ErrorString.clear();
    CloseSocket();
    sockaddr_in local{};
    local.sin_family = AF_INET;
    std::uint16_t port = 0;
    if (!ParsePort(TargetPort, port) || ::inet_pton(AF_INET, LocalInterface.c_str(), &local.sin_addr) != 1) {
        SocketError = "bad local address " + LocalInterface + ":" + TargetPort;
        return false;
    }
    local.sin_port = htons(port);
    m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0 || ::bind(m_socket, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        SocketError = ErrnoText(m_socket < 0 ? "socket" : "bind");
        CloseSocket();
        return false;
    }
    SocketError.clear();
    if (!WaitReadable(m_socket, Timeout, Abort)) return false;
    char buffer[ReceiveRoom];
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t got =
        ::recvfrom(m_socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (got < static_cast<ssize_t>(tftp::HeaderSize)) return false;
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

bool TTFTPSend::OpenToRequester() {
    CloseSocket();
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_addr.s_addr = m_peerAddress;
    peer.sin_port = m_peerPort;
    m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0 || ::connect(m_socket, reinterpret_cast<sockaddr*>(&peer), sizeof peer) != 0) {
        SocketError = ErrnoText(m_socket < 0 ? "socket" : "connect");
        CloseSocket();
        return false;
    }
    SocketError.clear();
    return true;
}

bool TTFTPSend::SendPacket(const std::string& packet) {
    return ::send(m_socket, packet.data(), packet.size(), 0) == static_cast<ssize_t>(packet.size());
}

bool TTFTPSend::ReceiveUpload() {
    ErrorCode = 0;
    ErrorString.clear();
    Data.clear();
    if (!OpenToRequester() || !SendPacket(tftp::EncodeAck(0))) return false;
    for (std::uint16_t block = 1;; ++block) {
        const std::size_t before = Data.size();
        if (!ReceiveBlock(block)) return false;
        if (Data.size() - before != tftp::BlockSize) return true;
    }
}

bool TTFTPSend::ReceiveBlock(std::uint16_t block) {
    if (!WaitReadable(m_socket, Timeout, Abort)) return false;
    char buffer[ReceiveRoom];
    const ssize_t got = ::recv(m_socket, buffer, sizeof buffer, 0);
    if (got < 0) return false;
    const std::string_view datagram(buffer, static_cast<std::size_t>(got));
    if (const auto data = tftp::ParseData(datagram)) {
        if (data->block != block || data->bytes.size() > tftp::BlockSize) {
            SendPacket(tftp::EncodeError(tftp::UnknownTransferId, tftp::WrongBlockText));
            return false;
        }
        if (Data.size() + data->bytes.size() > MaxDataSize) {
            SendPacket(tftp::EncodeError(tftp::DiskFull, "Disk full or allocation exceeded."));
            return false;
        }
        Data.append(data->bytes);
        return SendPacket(tftp::EncodeAck(block));
    }
    if (const auto error = tftp::ParseError(datagram)) {
        ErrorCode = error->code;
        ErrorString = error->message;
    }
    return false;
}

void TTFTPSend::RejectRequest(std::uint16_t code, const std::string& message) {
    if (OpenToRequester()) SendPacket(tftp::EncodeError(code, message));
    CloseSocket();
}
