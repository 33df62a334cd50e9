// Which IPv4 addresses count as public ones.
#include "net/core/AddressScope.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

namespace {
std::uint32_t ip(const char* text) {
    in_addr a{};
    EXPECT_EQ(inet_pton(AF_INET, text, &a), 1) << text;
    return ntohl(a.s_addr);
}
} // namespace

TEST(AddressScope, PublicAndNonPublicBlocks) {
    const std::pair<const char*, bool> cases[] = {
        {"0.0.0.0", false},         {"0.255.1.1", false},       {"10.1.2.3", false},
        {"100.64.0.1", false},      {"100.127.255.255", false}, {"100.128.0.1", true},
        {"127.0.0.1", false},       {"127.255.0.9", false},     {"169.254.10.1", false},
        {"172.15.255.255", true},   {"172.16.0.1", false},      {"172.31.255.255", false},
        {"172.32.0.1", true},       {"192.168.0.1", false},     {"192.169.0.1", true},
        {"192.0.2.5", false},       {"198.18.0.1", false},      {"224.0.0.1", false},
        {"239.255.255.250", false}, {"255.255.255.255", false}, {"8.8.8.8", true},
        {"93.184.216.34", true},    {"1.1.1.1", true},          {"223.255.255.255", true},
    };
    for (const auto& [text, isPublic] : cases)
        EXPECT_EQ(netscope::isPublicIPv4(ip(text)), isPublic) << text;
}
