// The web servers' build settings (the configured header comes from CMake).
#include "net/WebServers.h"

#include "WebServersConfig.h"

#include <mutex>

namespace webconfig {

namespace {
std::mutex g_mutex;
Server g_probe{KESTRUNE_PROBE_HOST, KESTRUNE_PROBE_PORT};
Server g_update{KESTRUNE_UPDATE_HOST, KESTRUNE_UPDATE_PORT};
} // namespace

Server probeServer() {
    std::lock_guard lock(g_mutex);
    return g_probe;
}

void setProbeServer(const Server& server) {
    std::lock_guard lock(g_mutex);
    g_probe = server;
}

Server updateServer() {
    std::lock_guard lock(g_mutex);
    return g_update;
}

void setUpdateServer(const Server& server) {
    std::lock_guard lock(g_mutex);
    g_update = server;
}

std::string updatePath() {
    return KESTRUNE_UPDATE_PATH;
}

} // namespace webconfig
