// Fetches the version file from the update server.
#pragma once

#include "net/HttpClient.h"

#include <cstddef>
#include <functional>
#include <string>

struct VersionFetchResult {
    bool ok = false;
    std::string body;  // the file's bytes when ok
    std::string error; // the client's error text when not ok
};

// One GET of the version file (net/WebServers.h) with the client's `settings` and redirects off; idle runs
// between the client's wait slices (the window's event processing). A body larger than maxBytes (0: the HTTP
// client's own limit) fails with the client's too-large text.
VersionFetchResult FetchVersionFile(const HttpSettings& settings, const std::function<void()>& idle = {},
                                    std::size_t maxBytes = 0);
