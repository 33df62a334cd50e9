// The web servers' build settings (the configured header comes from CMake).
#include "net/WebServers.h"

#include "WebServersConfig.h"

#include <mutex>

namespace webconfig {

namespace {
std::mutex g_mutex;
Server g_probe{KESTRUNE_PROBE_HOST, KESTRUNE_PROBE_PORT};
Server g_update{KESTRUNE_UPDATE_HOST, KESTRUNE_UPDATE_PORT};

Server read(const Server& server) {
    std::lock_guard lock(g_mutex);
    return server;
}

void write(Server& to, const Server& server) {
    std::lock_guard lock(g_mutex);
    to = server;
}

} // namespace

Server probeServer() {
    return read(g_probe);
}

void setProbeServer(const Server& server) {
    write(g_probe, server);
}

Server updateServer() {
    return read(g_update);
}

void setUpdateServer(const Server& server) {
    write(g_update, server);
}

std::string updatePath() {
    return KESTRUNE_UPDATE_PATH;
}

} // namespace webconfig
