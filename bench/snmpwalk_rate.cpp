// Walks a subtree with the program's SNMP client and prints how many objects it read and how fast.
//
//   kestrune-snmpwalk-rate HOST PORT COMMUNITY BASE_OID [ROUNDS]
//
// Prints one line per round: "objects=<n> seconds=<s> objects_per_second=<r>"; the exit status is 0 when
// every walk ended normally. Used by scripts/bench-walk.sh.
#include "net/SnmpClient.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Values in walk lines: quoted texts separated by commas, quotes inside doubled.
std::size_t CountValues(const std::vector<std::string>& lines) {
    std::size_t values = 0;
    for (const std::string& line : lines) {
        std::size_t i = 0;
        while (i < line.size() && line[i] == '"') {
            ++i;
            while (i < line.size()) {
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        i += 2; // a doubled quote inside the value
                        continue;
                    }
                    ++i;
                    break;
                }
                ++i;
            }
            ++values;
            if (i < line.size() && line[i] == ',') ++i;
        }
    }
    return values;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s HOST PORT COMMUNITY BASE_OID [ROUNDS]\n", argv[0]);
        return 2;
    }
    const std::string host = argv[1];
    const int port = std::atoi(argv[2]);
    const std::string community = argv[3];
    const std::string base = argv[4];
    const int rounds = argc > 5 ? std::atoi(argv[5]) : 1;
    if (port <= 0 || port > 65535 || rounds <= 0) {
        std::fprintf(stderr, "%s: bad port or rounds\n", argv[0]);
        return 2;
    }
    SnmpSettings snmp;
    snmp.port = static_cast<unsigned short>(port);
    snmp.timeoutMs = 2000;
    int status = 0;
    for (int round = 0; round < rounds; ++round) {
        std::vector<std::string> lines;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = SnmpWalkTable(base, community, host, lines, {}, snmp);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const std::size_t objects = CountValues(lines);
        std::printf("objects=%zu seconds=%.6f objects_per_second=%.1f%s\n", objects, seconds,
                    seconds > 0 ? static_cast<double>(objects) / seconds : 0.0, ok ? "" : " (walk failed)");
        if (!ok) status = 1;
    }
    return status;
}
