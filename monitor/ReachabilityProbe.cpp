// The dial-on-demand request: one GET whose outcome does not matter.
#include "monitor/ReachabilityProbe.h"

#include "net/HttpClient.h"
#include "net/WebServers.h"
#include "net/core/AddressScope.h"

void ReachabilityProbe(const HttpSettings& settings, const std::function<void()>& idle,
                       const RedirectCheck& allowed) {
    try {
        const webconfig::Server server = webconfig::probeServer();
        TIdHTTP http(settings);
        http.HandleRedirects = true;
        http.RedirectAllowed = allowed ? allowed : RedirectCheck(netscope::isPublicIPv4);
        http.Host = server.host;
        http.Port = server.port;
        http.OnIdle = idle;
        http.Get("/");
    } catch (...) {
        // Name not found, no connection, time-out, an error status or a refused redirect: the
        // attempt is over either way.
    }
}
