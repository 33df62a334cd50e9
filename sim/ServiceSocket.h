// The listening socket of a stand-in service: bound to an IPv4 address and port (0 picks a free one).
#pragma once

#include <cstdint>
#include <string>

namespace sim {

// A UDP (SOCK_DGRAM) or listening TCP (SOCK_STREAM, with `backlog`) socket bound to address:port, or -1
// with the reason in `error` ("bind 127.0.0.1:23: Address already in use"). `boundPort` gets the port.
int openServiceSocket(int type, const std::string& address, std::uint16_t port, int backlog,
                      std::uint16_t& boundPort, std::string& error);

} // namespace sim
