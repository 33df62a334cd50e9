// TFTP server side over UDP: wait for one request, receive an upload (octet mode) into memory, or
// answer a request with an error packet. Blocking calls on the caller's thread; never throws.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>

// Process-wide settings. The program keeps port 69 and the 5000 ms time-out; tests use free loopback
// ports and shorter waits.
namespace tftpconfig {
void setPort(unsigned short port);
unsigned short port();
void setTimeoutMs(int ms);
int timeoutMs();
} // namespace tftpconfig

class TTFTPSend {
public:
    TTFTPSend();
    ~TTFTPSend();
    TTFTPSend(const TTFTPSend&) = delete;
    TTFTPSend& operator=(const TTFTPSend&) = delete;

    std::string TargetHost = "127.0.0.1";   // not used by the server operations
    std::string TargetPort;                 // the port AwaitRequest binds; tftpconfig::port() at creation
    std::string LocalInterface = "0.0.0.0"; // the address AwaitRequest binds
    int Timeout;                            // ms, longest wait for any one packet; tftpconfig at creation
    int ErrorCode = 0;                      // code of the last error packet received, 0 if none
    std::string ErrorString;                // its text
    std::string Data;                       // the received file (partial after a failed upload)
    std::string RequestIP;                  // dotted IPv4 address of the last requester
    std::string RequestPort;                // its UDP port in decimal
    // Largest upload taken; a larger one is ended with error 3 (event logs are a few kilobytes).
    std::size_t MaxDataSize = 64u << 20;
    // Why the last socket could not be bound or opened ("" when it could): AwaitRequest's false answer
    // then means "cannot serve", not "nothing arrived".
    std::string SocketError;
    // When set, every wait ends early (as a time-out) once it turns true.
    const std::atomic<bool>* Abort = nullptr;

    // Binds LocalInterface:TargetPort anew and waits up to Timeout for one datagram of at least 4 bytes.
    // True when it is a request in octet mode (any letter case); opcode and fileName are handed back
    // for any request read. Records RequestIP and RequestPort.
    bool AwaitRequest(std::uint16_t& opcode, std::string& fileName);
    // Accepts the last request as a write request and receives the whole file into Data, acknowledging
    // every block. False on a time-out, a wrong block (answered with error 5 "Unexcepted serial#"),
    // the peer's error packet (kept in ErrorCode/ErrorString), or an upload above MaxDataSize.
    bool ReceiveUpload();
    // Sends one error packet to the last requester.
    void RejectRequest(std::uint16_t code, const std::string& message);

private:
    bool OpenToRequester();
    bool ReceiveBlock(std::uint16_t block);
    bool SendPacket(const std::string& packet);
    void CloseSocket();

    int m_socket = -1;
    std::uint32_t m_peerAddress = 0; // network byte order
    std::uint16_t m_peerPort = 0;    // network byte order
};
