// The web request that makes the router dial on demand.
#pragma once

#include <functional>

// Gets "/" from the public web server (net/WebServers.h) with redirects followed; the reply and every
// error are ignored. idle runs between the client's wait slices (the window's event processing).
void ReachabilityProbe(const std::function<void()>& idle = {});
