// Host name lookup on a helper thread, so that a slow resolver never holds the caller past its bound.
#pragma once

#include <chrono>
#include <memory>
#include <netinet/in.h>
#include <string>

class HostLookup {
public:
    using Clock = std::chrono::steady_clock;

    // Starts resolving host (to an IPv4 address) at once. The helper thread owns its share of the
    // state and finishes on its own when the lookup is abandoned.
    explicit HostLookup(const std::string& host);

    // Waits until the lookup has finished or `until` has come; true when it has finished.
    bool waitUntil(Clock::time_point until);
    // After a finished wait: whether an address was found, the address (network byte order), and the
    // resolver's error code (getaddrinfo's, 0 when found) with its description.
    bool found() const;
    in_addr address() const;
    int error() const;
    std::string errorText() const;

    struct Shared;

private:
    std::shared_ptr<Shared> m_shared;
};

// Resolves host within the deadline; false when it is not found or the deadline passes first.
bool LookupIPv4(const std::string& host, HostLookup::Clock::time_point deadline, in_addr& address);
