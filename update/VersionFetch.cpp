// The version file's fetch: body or error text, never an exception.
#include "update/VersionFetch.h"

#include "net/HttpClient.h"
#include "net/WebServers.h"

VersionFetchResult FetchVersionFile(const HttpSettings& settings, const std::function<void()>& idle,
                                    std::size_t maxBytes) {
    VersionFetchResult result;
    try {
        const webconfig::Server server = webconfig::updateServer();
        TIdHTTP http(settings);
        http.Host = server.host;
        http.Port = server.port;
        http.OnIdle = idle;
        if (maxBytes > 0) http.MaxBodyBytes = maxBytes;
        result.body = http.Get(webconfig::updatePath());
        result.ok = true;
    } catch (const std::exception& e) {
        result.error = e.what();
    }
    return result;
}
