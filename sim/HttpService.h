// The stand-in's web side: an HTTP listener standing for "the Internet" behind the router. Any request
// makes the router dial on demand (the PPP link comes up after a settable delay), and the update
// server's version file (at webconfig::updatePath()) is served with a settable content.
//
// Control commands it adds (ControlProtocol):
//   dial                        ok delay <ms> on|off dials <n>
//   dial delay <ms>             a request brings the link up this long after it arrives (default 2000)
//   dial on|off                 whether requests bring the link up at all (off: dialing fails)
//   version <text>              the version file's content; \r, \n and \\ stand for CR, LF and a backslash
//   version file <path>         the version file's content read from a file
//   http                        ok port <port> requests <n>
#pragma once

#include "sim/ControlProtocol.h"
#include "sim/RouterSim.h"

#include <cstdint>
#include <memory>
#include <string>

namespace sim {

class HttpService {
public:
    explicit HttpService(Router& router, std::string bindAddress = "127.0.0.1", std::uint16_t port = 0);
    ~HttpService(); // stops
    HttpService(const HttpService&) = delete;
    HttpService& operator=(const HttpService&) = delete;

    bool start(); // false when it cannot listen
    void stop();
    std::uint16_t port() const;
    std::string lastError() const;

    void setDialDelayMs(int ms);
    void setDialEnabled(bool enabled);
    void setVersionFile(const std::string& content);
    std::uint64_t requestCount() const;
    std::uint64_t dialCount() const; // times a request brought the link up

    void addCommands(ControlProtocol& protocol);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace sim
