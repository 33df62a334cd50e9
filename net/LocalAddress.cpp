// The computer's own IPv4 addresses: host name lookup and the route's source address.
#include "net/LocalAddress.h"

#include <algorithm>
#include <arpa/inet.h>
#include <climits>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace localaddress {

namespace {

std::string Dotted(const in_addr& address) {
    char text[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

std::vector<std::string> Lookup(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* result = nullptr;
    std::vector<std::string> addresses;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &result) != 0) return addresses;
    for (const addrinfo* entry = result; entry; entry = entry->ai_next) {
        const std::string text = Dotted(reinterpret_cast<const sockaddr_in*>(entry->ai_addr)->sin_addr);
        if (std::find(addresses.begin(), addresses.end(), text) == addresses.end()) addresses.push_back(text);
    }
    ::freeaddrinfo(result);
    return addresses;
}

} // namespace

std::vector<std::string> HostNameAddresses() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return {};
    return Lookup(name);
}

std::optional<std::string> ResolveIPv4(const std::string& host) {
    in_addr address{};
    if (::inet_pton(AF_INET, host.c_str(), &address) == 1) return Dotted(address);
    const auto addresses = host.empty() ? std::vector<std::string>{} : Lookup(host);
    if (addresses.empty()) return std::nullopt;
    return addresses.front();
}

std::string RouteTo(const std::string& host) {
    const auto target = ResolveIPv4(host);
    if (!target) return {};
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_port = htons(9); // any port: connecting a UDP socket only picks the route
    ::inet_pton(AF_INET, target->c_str(), &remote.sin_addr);
    const int s = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (s < 0) return {};
    sockaddr_in local{};
    socklen_t length = sizeof local;
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0 &&
                    ::getsockname(s, reinterpret_cast<sockaddr*>(&local), &length) == 0;
    ::close(s);
    return ok ? Dotted(local.sin_addr) : std::string();
}

} // namespace localaddress
