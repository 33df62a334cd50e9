// TFTP server side over UDP: the server port, kept bound between requests, and uploads (octet mode)
// each received through a socket of its own into a sink; or a request answered with an error packet.
// Never throws.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// The server's settings; the defaults are the program's: port 69 and a 5000 ms time-out.
struct TftpSettings {
    unsigned short port = 69;
    int timeoutMs = 5000; // longest wait for any one packet
};

// Where an upload's bytes go. append() takes each block in order; commit() makes the whole file
// final once the last block has arrived, before that block is acknowledged. A false answer ends the
// upload with the error packet the sink names.
class TftpSink {
public:
    virtual ~TftpSink() = default;
    virtual bool append(std::string_view bytes) = 0;
    virtual bool commit() = 0;
    virtual std::uint16_t errorCode() const;  // error 3 unless the sink says otherwise
    virtual std::string errorMessage() const; // "Disk full or allocation exceeded."
};

// One upload from one requester through its own socket (its own port, as each transfer has its own
// transfer ids). Driven by whoever waits on socket(): onReadable() when it can be read, expired() to
// see whether the peer has been silent longer than the time-out.
class TftpUpload {
public:
    enum class State { Receiving, Complete, Failed };

    TftpUpload(std::uint32_t peerAddress, std::uint16_t peerPort, TftpSink& sink, int timeoutMs);
    ~TftpUpload();
    TftpUpload(const TftpUpload&) = delete;
    TftpUpload& operator=(const TftpUpload&) = delete;

    // Opens the socket and accepts the request (acknowledgement 0); false when it cannot.
    bool open();
    int socket() const { return m_socket; }
    State state() const { return m_state; }
    bool from(std::uint32_t address, std::uint16_t port) const {
        return address == m_peerAddress && port == m_peerPort;
    }
    // The requester sent its write request again: acknowledgement 0 was lost.
    void requestRepeated();
    // Handles one datagram: the expected block is stored and acknowledged, the block before it
    // acknowledged again, any other block answered "Unexcepted serial#", the peer's error kept.
    State onReadable();
    bool expired(std::chrono::steady_clock::time_point now) const { return now >= m_deadline; }
    std::chrono::steady_clock::time_point deadline() const { return m_deadline; }

    std::uint64_t size() const { return m_size; }
    int ErrorCode = 0; // the peer's error packet
    std::string ErrorString;
    std::string SocketError;

private:
    bool send(const std::string& packet);
    void fail(std::uint16_t code, const std::string& message);

    const std::uint32_t m_peerAddress; // network byte order
    const std::uint16_t m_peerPort;    // network byte order
    TftpSink& m_sink;
    const int m_timeoutMs;
    int m_socket = -1;
    std::uint16_t m_expected = 1;
    std::uint64_t m_size = 0;
    State m_state = State::Receiving;
    std::chrono::steady_clock::time_point m_deadline;
};

class TTFTPSend {
public:
    explicit TTFTPSend(const TftpSettings& settings = {});
    ~TTFTPSend();
    TTFTPSend(const TTFTPSend&) = delete;
    TTFTPSend& operator=(const TTFTPSend&) = delete;

    std::string TargetHost = "127.0.0.1";   // not used by the server operations
    std::string TargetPort;                 // the port Listen binds; the settings' port
    std::string LocalInterface = "0.0.0.0"; // the address Listen binds
    int Timeout;                            // ms, longest wait for any one packet; the settings' time-out
    int ErrorCode = 0;                      // code of the last error packet received, 0 if none
    std::string ErrorString;                // its text
    std::string Data;                       // the file received by ReceiveUpload (partial after a failure)
    std::string RequestIP;                  // dotted IPv4 address of the last requester
    std::string RequestPort;                // its UDP port in decimal
    // Largest upload ReceiveUpload takes; a larger one is ended with error 3.
    std::size_t MaxDataSize = 64u << 20;
    // Why the server socket could not be bound ("" when it could): AwaitRequest's false answer then
    // means "cannot serve", not "nothing arrived".
    std::string SocketError;
    // When set, every wait ends early (as a time-out) once it turns true.
    const std::atomic<bool>* Abort = nullptr;

    // Binds LocalInterface:TargetPort unless already bound there; the socket stays bound until the
    // object goes or the address changes, so no request is lost between two waits.
    bool Listen();
    int ListenSocket() const { return m_socket; }
    // Reads one datagram waiting on the server socket without blocking. True when it is a request
    // in octet mode (any letter case); opcode and fileName are handed back for any request read.
    // Records RequestIP and RequestPort.
    bool ReadRequest(std::uint16_t& opcode, std::string& fileName);
    // Listen, then wait up to Timeout for one datagram and ReadRequest it.
    bool AwaitRequest(std::uint16_t& opcode, std::string& fileName);
    // An upload from the last requester into sink, not yet opened.
    std::unique_ptr<TftpUpload> UploadFromRequester(TftpSink& sink) const;
    bool RequesterIs(const TftpUpload& upload) const { return upload.from(m_peerAddress, m_peerPort); }
    // Accepts the last request as a write request and receives the whole file into Data, waiting
    // for it. False on a time-out, a wrong block (answered with error 5 "Unexcepted serial#"), the
    // peer's error packet (kept in ErrorCode/ErrorString), or an upload above MaxDataSize.
    bool ReceiveUpload();
    // Sends one error packet to the last requester.
    void RejectRequest(std::uint16_t code, const std::string& message);

private:
    void CloseSocket();

    int m_socket = -1;
    std::string m_boundTo;           // "address:port" of m_socket
    std::uint32_t m_peerAddress = 0; // network byte order
    std::uint16_t m_peerPort = 0;    // network byte order
};

// Waits until fd is readable: false on time-out, abort or a poll error.
bool TftpWaitReadable(int fd, int timeoutMs, const std::atomic<bool>* abort);
