// The IPv4 blocks that are not reachable on the public internet.
#include "net/core/AddressScope.h"

namespace netscope {

namespace {

struct Block {
    std::uint32_t base;
    int prefix;
};

constexpr std::uint32_t ip(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d) {
    return a << 24 | b << 16 | c << 8 | d;
}

constexpr Block kNotPublic[] = {
    {ip(0, 0, 0, 0), 8},       // "this network"
    {ip(10, 0, 0, 0), 8},      // private
    {ip(100, 64, 0, 0), 10},   // shared address space (carrier-grade NAT)
    {ip(127, 0, 0, 0), 8},     // loopback
    {ip(169, 254, 0, 0), 16},  // link-local
    {ip(172, 16, 0, 0), 12},   // private
    {ip(192, 0, 0, 0), 24},    // protocol assignments
    {ip(192, 0, 2, 0), 24},    // documentation
    {ip(192, 168, 0, 0), 16},  // private
    {ip(198, 18, 0, 0), 15},   // benchmarking
    {ip(198, 51, 100, 0), 24}, // documentation
    {ip(203, 0, 113, 0), 24},  // documentation
    {ip(224, 0, 0, 0), 4},     // multicast
    {ip(240, 0, 0, 0), 4},     // reserved, and the limited broadcast address
};

bool inBlock(std::uint32_t address, const Block& b) {
    const std::uint32_t mask = ~std::uint32_t(0) << (32 - b.prefix);
    return (address & mask) == b.base;
}

} // namespace

bool isPublicIPv4(std::uint32_t address) {
    for (const Block& b : kNotPublic)
        if (inBlock(address, b)) return false;
    return true;
}

} // namespace netscope
