// The telnet client: one TCP conversation with the router's command line. Connect waits in short
// slices while window events run; a reading thread per connection filters what arrives and hands
// each chunk to the data handler on the thread that created the client (the GUI thread), waiting
// until the handler has returned.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>

class QObject;

enum class TelnetStatus { Resolving, Connecting, Connected, Disconnecting, Disconnected };

// Every failure of connect and write; what() is the text shown to the user.
class TelnetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The reading thread of one connection.
class TIdTelnetReadThread {
public:
    struct Link; // what the thread shares with its client
    TIdTelnetReadThread(std::shared_ptr<Link> link);
    ~TIdTelnetReadThread(); // asks it to stop and joins it
    TIdTelnetReadThread(const TIdTelnetReadThread&) = delete;
    TIdTelnetReadThread& operator=(const TIdTelnetReadThread&) = delete;
    void stop(); // ends every wait of the thread and joins it; never waits on the GUI thread

private:
    void run();
    std::shared_ptr<Link> m_link;
    std::thread m_thread;
};

class TIdTelnet {
public:
    static constexpr std::uint16_t DefaultPort = 23;
    static constexpr int DefaultReadTimeoutMs = 10000;
    static constexpr int BufferSize = 8192;
    static constexpr int ConnectSliceMs = 125;

    // Create on the GUI thread: handlers run on the creating thread.
    TIdTelnet();
    ~TIdTelnet(); // the reading thread is stopped and joined; no handler runs from here on
    TIdTelnet(const TIdTelnet&) = delete;
    TIdTelnet& operator=(const TIdTelnet&) = delete;

    void setHost(std::string host) { m_host = std::move(host); }
    const std::string& host() const { return m_host; }
    void setPort(std::uint16_t port) { m_port = port; }
    std::uint16_t port() const { return m_port; }
    void setReadTimeoutMs(int ms) { m_readTimeoutMs = ms; }
    void setTerminalType(std::string type) { m_terminalType = std::move(type); }
    // Called between connect slices (default: the anti-freeze's event processing).
    void setIdleHook(std::function<void()> hook) { m_idle = std::move(hook); }

    // Notifications, all on the creating thread.
    std::function<void(TelnetStatus, const std::string&)> onStatus;
    std::function<void(const std::string&)> onDataAvailable;
    std::function<void()> onDisconnected;

    // Throws TelnetError: "Already connected.", "Connect timed out.", "Socket Error # %d\r\n%s".
    void connect(int timeoutMs);
    // False once closed; notices a close by the peer still pending and reports it first.
    bool connected();
    // One send of the bytes, unchanged; throws TelnetError on a closed connection or a send error.
    void write(std::string_view text);
    void disconnect();
    // Why the last reading thread ended ("Read Timeout", "Connection Closed Gracefully.", ...).
    std::string readerError() const;

    static std::string socketErrorText(int code, const std::string& description);

private:
    void status(TelnetStatus code, const std::string& text);
    void deliver(const std::shared_ptr<TIdTelnetReadThread::Link>& link, const std::string& data);
    void peerClosed(const std::shared_ptr<TIdTelnetReadThread::Link>& link);
    int openSocket(const std::string& address, int timeoutMs);
    void release(); // joins the reader and closes the socket, silently

    std::string m_host;
    std::uint16_t m_port = DefaultPort;
    int m_readTimeoutMs = DefaultReadTimeoutMs;
    std::string m_terminalType = "dumb";
    std::function<void()> m_idle;
    bool m_open = false;
    std::unique_ptr<QObject> m_context;
    std::shared_ptr<TIdTelnetReadThread::Link> m_link;
    std::unique_ptr<TIdTelnetReadThread> m_reader;
    friend class TIdTelnetReadThread;
};
