// The stand-in's control socket: a Unix-domain stream socket (a path in the file system, so it works
// across network namespaces) that runs ControlProtocol, one answer line per command line. Several
// clients may be connected at once; their commands are run one at a time.
#pragma once

#include "sim/ControlProtocol.h"

#include <memory>
#include <optional>
#include <string>

namespace sim {

class ControlServer {
public:
    ControlServer(ControlProtocol& protocol, std::string path);
    ~ControlServer(); // stops and removes the socket file
    ControlServer(const ControlServer&) = delete;
    ControlServer& operator=(const ControlServer&) = delete;

    // Binds the path (a stale socket file left by an earlier run is replaced; any other file is not).
    bool start();
    void stop();
    std::string lastError() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Client side: connects to a control socket, sends one command and returns the answer line
// (nullopt when the socket cannot be reached or closes without an answer).
std::optional<std::string> controlRequest(const std::string& path, const std::string& command,
                                          int timeoutMs = 5000);

} // namespace sim
