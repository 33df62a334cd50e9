// The computer's own IPv4 addresses as the system knows them: those its host name resolves to, and the
// local address it would use to reach a given host. No packet is sent.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace localaddress {
// Every IPv4 address the host name resolves to, in the resolver's order, without repeats.
std::vector<std::string> HostNameAddresses();
// The source address of a UDP socket connected to host (dotted IPv4 or a name); "" when there is none.
std::string RouteTo(const std::string& host);
// The host's IPv4 address in dotted form (a dotted text as it is), or nothing.
std::optional<std::string> ResolveIPv4(const std::string& host);
} // namespace localaddress
