// The SNMP transport's settings: port, time-out and walk bounds, and the defaults a client takes.
#pragma once

#include <cstddef>

// The transport's settings; the defaults are the program's: port 161, a 5000 ms time-out, and walk
// bounds far above any router's tables (100,000 objects and 120,000 ms in all; a walk that reaches
// either ends as a failed read).
struct SnmpSettings {
    unsigned short port = 161;
    int timeoutMs = 5000;
    std::size_t walkMaxObjects = 100000;
    int walkTimeLimitMs = 120000;
};
