// Whether an IPv4 address is one of the public internet's: not loopback, private, link-local,
// shared (CGN), multicast, reserved or set aside for documentation and benchmarks.
#pragma once

#include <cstdint>

namespace netscope {

// `address` in host byte order (127.0.0.1 is 0x7F000001).
bool isPublicIPv4(std::uint32_t address);

} // namespace netscope
