// The dial-on-demand request: one GET whose outcome does not matter.
#include "monitor/ReachabilityProbe.h"

#include "net/HttpClient.h"
#include "net/WebServers.h"

void ReachabilityProbe(const std::function<void()>& idle) {
    try {
        const webconfig::Server server = webconfig::probeServer();
        TIdHTTP http;
        http.HandleRedirects = true;
        http.Host = server.host;
        http.Port = server.port;
        http.OnIdle = idle;
        http.Get("/");
    } catch (...) {
        // Name not found, no connection, time-out or an error status: the attempt is over either way.
    }
}
