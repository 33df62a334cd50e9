// The web servers the program contacts: the public server whose request makes the router dial, and
// the update server with the version file. Build settings, overridable at run time by tests.
#pragma once

#include <cstdint>
#include <string>

namespace webconfig {

struct Server {
    std::string host;
    std::uint16_t port = 80;
};

Server probeServer();
void setProbeServer(const Server& server);
Server updateServer();
void setUpdateServer(const Server& server);
// Path of the version file on the update server.
std::string updatePath();

} // namespace webconfig
