// The listening socket of a stand-in service: bound to an IPv4 address and port (0 picks a free one),
// and the endpoint that opens it together with the service's thread.
#pragma once

#include "sim/ServiceThread.h"

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

namespace sim {

// A UDP (SOCK_DGRAM) or listening TCP (SOCK_STREAM, with `backlog`) socket bound to address:port, or -1
// with the reason in `error` ("bind 127.0.0.1:23: Address already in use"). `boundPort` gets the port.
int openServiceSocket(int type, const std::string& address, std::uint16_t port, int backlog,
                      std::uint16_t& boundPort, std::string& error);

// A service's socket and thread: opened and started together, stopped and closed together.
class ServiceEndpoint {
public:
    // `type` and `backlog` as for openServiceSocket().
    ServiceEndpoint(int type, int backlog, std::string address, std::uint16_t port);
    ~ServiceEndpoint() { stop(); }
    ServiceEndpoint(const ServiceEndpoint&) = delete;
    ServiceEndpoint& operator=(const ServiceEndpoint&) = delete;

    // Binds the socket and runs `run` on the service thread; true at once when already running, false
    // with lastError() set when the socket or the thread's wake pipe cannot be had.
    bool start(std::function<void()> run);
    void stop(); // wakes and joins the thread, then closes the socket
    int fd() const { return m_fd; }
    std::uint16_t port() const { return m_boundPort; }
    std::string lastError() const;
    ServiceThread& thread() { return m_thread; }
    const ServiceThread& thread() const { return m_thread; }

private:
    const int m_type;
    const int m_backlog;
    const std::string m_address;
    const std::uint16_t m_requestedPort;
    std::uint16_t m_boundPort = 0;
    int m_fd = -1;
    ServiceThread m_thread;
    mutable std::mutex m_mutex; // guards m_error
    std::string m_error;
};

} // namespace sim
