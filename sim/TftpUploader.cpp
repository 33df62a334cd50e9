// The stand-in's TFTP client: the router's event-log upload.
#include "sim/TftpUploader.h"

#include "net/core/TftpPacket.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace sim {

namespace {

using SteadyClock = std::chrono::steady_clock;

// One upload's socket: the first answer fixes the server's transfer port; datagrams from elsewhere
// are ignored.
class Transfer {
public:
    Transfer(const sockaddr_in& server, const TftpUploadOptions& options)
        : m_server(server), m_options(options) {
        m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    }
    ~Transfer() {
        if (m_socket >= 0) ::close(m_socket);
    }
    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    // Sends packet and waits for the acknowledgement of block, sending again after each time-out.
    // "" when acknowledged, else the router's failure text.
    std::string exchange(const std::string& packet, std::uint16_t block) {
        if (m_socket < 0) return "tftp: unable to open connection: no socket";
        for (int attempt = 0; attempt < m_options.tries; ++attempt) {
            const sockaddr_in& to = m_tidKnown ? m_peer : m_server;
            ::sendto(m_socket, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                     sizeof to);
            const std::string answer = awaitAck(block);
            if (answer != "timeout") return answer;
        }
        return UploadTimedOutText;
    }

private:
    std::string awaitAck(std::uint16_t block) {
        const auto deadline = SteadyClock::now() + std::chrono::milliseconds(m_options.timeoutMs);
        for (;;) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
            pollfd fd{m_socket, POLLIN, 0};
            if (left <= 0 || ::poll(&fd, 1, static_cast<int>(left)) <= 0) return "timeout";
            char buffer[tftp::HeaderSize + tftp::BlockSize];
            sockaddr_in from{};
            socklen_t length = sizeof from;
            const ssize_t got =
                ::recvfrom(m_socket, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &length);
            if (got < 0 || from.sin_addr.s_addr != m_server.sin_addr.s_addr) continue;
            if (m_tidKnown && from.sin_port != m_peer.sin_port) continue;
            const std::string_view datagram(buffer, static_cast<std::size_t>(got));
            if (const auto error = tftp::ParseError(datagram))
                return "tftp: unable to open remote file: " + error->message;
            const auto ack = tftp::ParseAck(datagram);
            if (!ack || *ack != block) continue; // a duplicate acknowledgement is not answered
            m_peer = from;
            m_tidKnown = true;
            return "";
        }
    }

    const sockaddr_in m_server;
    const TftpUploadOptions& m_options;
    sockaddr_in m_peer{};
    bool m_tidKnown = false;
    int m_socket = -1;
};

} // namespace

std::string GenerateEventLog(std::size_t bytes) {
    static const char* const Events[] = {
        "ADSL line up: G.DMT 8000/800 kbps", "PPP link up, WAN address assigned", "DHCP lease granted on LAN",
        "PPP LCP echo timeout, link down", "Administrator logged on via telnet"};
    std::string log;
    for (unsigned n = 0; log.size() < bytes; ++n) {
        char line[96];
        std::snprintf(line, sizeof line, "%03u %02u:%02u:%02u  %s\r\n", n / 86400, n / 3600 % 24, n / 60 % 60,
                      n % 60, Events[n % 5]);
        log += line;
    }
    log.resize(bytes);
    return log;
}

namespace {

// The write request, as the hostile case has it.
std::string writeRequest(const std::string& fileName, const std::string& how) {
    if (how == "highbit")
        return tftp::EncodeRequest(tftp::WriteRequest, "\xe9v\xe9nement\xff\xfe.log", "octet");
    const std::string request = tftp::EncodeRequest(tftp::WriteRequest, fileName, "octet");
    if (how == "truncated") return request.substr(0, 2 + fileName.size() + 1); // no mode
    if (how == "badopcode") return std::string("\0\x09", 2) + request.substr(2);
    return request;
}

} // namespace

std::string uploadEventLog(const std::string& address, std::uint16_t port, const std::string& fileName,
                           const TftpUploadOptions& options, const std::string& hostile) {
    if (options.mode == TftpUploadMode::Nothing) return "";
    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(port);
    if (::inet_pton(AF_INET, address.c_str(), &server.sin_addr) != 1)
        return "tftp: unable to open connection to " + address;
    const std::string& how = hostile;
    Transfer transfer(server, options);
    std::string failure = transfer.exchange(writeRequest(fileName, how), 0);
    const bool endless = how == "endless";
    const std::string filler = endless ? GenerateEventLog(tftp::BlockSize) : std::string();
    const std::string_view bytes = endless ? std::string_view(filler) : std::string_view(options.content);
    const std::size_t blockSize = how == "oversize" ? 1400 : tftp::BlockSize;
    const std::size_t blocks = bytes.size() / blockSize + 1;
    for (std::size_t block = 1; failure.empty(); ++block) {
        const std::size_t offset = endless ? 0 : (block - 1) * blockSize;
        const std::string_view part = bytes.substr(std::min(offset, bytes.size()), blockSize);
        const auto number = static_cast<std::uint16_t>(how == "wrongblock" && block >= 2 ? block + 1 : block);
        failure = transfer.exchange(tftp::EncodeData(number, part), number);
        if (options.mode == TftpUploadMode::OneBlock || (how == "stall" && block >= blocks / 2))
            return failure;
        if (endless && block == 65535) return failure;
        if (failure.empty() && part.size() < tftp::BlockSize) return UploadDoneText;
    }
    return failure;
}

TftpUploader::TftpUploader(const Router* router) : m_router(router) {
    m_options.content = GenerateEventLog(3000);
}

void TftpUploader::setPort(std::uint16_t port) {
    std::lock_guard lock(m_mutex);
    m_port = port;
}

std::string TftpUploader::upload(const std::string& address, const std::string& fileName) {
    std::uint16_t port;
    TftpUploadOptions options;
    {
        std::lock_guard lock(m_mutex);
        port = m_port;
        options = m_options;
    }
    const std::string how = m_router ? m_router->hostile(Service::Tftp) : std::string();
    const std::string result = uploadEventLog(address, port, fileName, options, how);
    std::lock_guard lock(m_mutex);
    m_last = result;
    return result;
}

void TftpUploader::addControlCommands(ControlProtocol& protocol) {
    protocol.addCommand("tftpupload", [this](const auto& args, std::string_view) { return command(args); });
}

std::string TftpUploader::command(const std::vector<std::string>& args) {
    std::lock_guard lock(m_mutex);
    const std::string what = args.empty() ? "" : args[0];
    const std::string value = args.size() > 1 ? args[1] : "";
    const bool number =
        !value.empty() && value.size() < 10 && value.find_first_not_of("0123456789") == std::string::npos;
    if (what == "mode" && (value == "normal" || value == "nothing" || value == "oneblock")) {
        m_options.mode = value == "normal"    ? TftpUploadMode::Normal
                         : value == "nothing" ? TftpUploadMode::Nothing
                                              : TftpUploadMode::OneBlock;
        return "ok mode " + value;
    }
    if (what == "size" && number) {
        m_options.content = GenerateEventLog(std::stoul(value));
        return "ok size " + value;
    }
    if (what == "port" && value.empty()) return "ok " + std::to_string(m_port);
    if (what == "port" && number && std::stoul(value) <= 65535) {
        m_port = static_cast<std::uint16_t>(std::stoul(value));
        return "ok port " + value;
    }
    if (what == "last") return "ok " + m_last;
    return "error usage: tftpupload mode normal|nothing|oneblock | size N | port [N] | last";
}

} // namespace sim
