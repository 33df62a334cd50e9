// The web request that makes the router dial on demand.
#pragma once

#include "net/HttpClient.h"

#include <cstdint>
#include <functional>

// Which addresses (IPv4, host byte order) a redirect of the probe may lead to.
using RedirectCheck = std::function<bool(std::uint32_t address)>;

// Gets "/" from the public web server (net/WebServers.h) with the client's `settings`; the reply and
// every error are ignored. idle runs between the client's wait slices (the window's event processing).
// Redirects are followed only to addresses `allowed` accepts: by default public ones, so that a redirect
// never turns the probe against the router, the LAN or the computer itself.
void ReachabilityProbe(const HttpSettings& settings, const std::function<void()>& idle = {},
                       const RedirectCheck& allowed = {});
