// A raw UDP peer on loopback for protocol tests: sends datagrams, receives with a time-out, answers
// whoever spoke last.
#pragma once

#include <cstdint>
#include <netinet/in.h>
#include <optional>
#include <string>

class UdpPeer {
public:
    explicit UdpPeer(std::uint16_t serverPort); // an ephemeral port of 127.0.0.1
    ~UdpPeer();
    UdpPeer(const UdpPeer&) = delete;
    UdpPeer& operator=(const UdpPeer&) = delete;

    void sendToServer(const std::string& datagram);
    void reply(const std::string& datagram); // to the source of the last datagram received
    std::optional<std::string> receive(int timeoutMs);
    std::uint16_t localPort() const;

    // A UDP port of 127.0.0.1 that was free a moment ago.
    static std::uint16_t freePort();
    // Whether a socket holds the UDP port of 127.0.0.1 (a server started on another thread is bound).
    static bool portInUse(std::uint16_t port);

private:
    int m_fd = -1;
    sockaddr_in m_server{};
    sockaddr_in m_last{};
};
