// Reads one path ROUNDS times with the program's web client and prints how many bytes it read and how fast.
//
//   kestrune-http-rate HOST PORT PATH [ROUNDS]
//
// Prints "bytes=<n> seconds=<s> mib_per_second=<r>"; exit status 0 when every Get succeeded. Used by
// scripts/bench-http.sh.
#include "net/HttpClient.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: kestrune-http-rate HOST PORT PATH [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 1;
    std::size_t bytes = 0;
    const auto start = std::chrono::steady_clock::now();
    try {
        for (int i = 0; i < rounds; ++i) {
            TIdHTTP http;
            http.Host = argv[1];
            http.Port = static_cast<std::uint16_t>(std::atoi(argv[2]));
            bytes += http.Get(argv[3]).size();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrune-http-rate: %s\n", e.what());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("bytes=%zu seconds=%.6f mib_per_second=%.1f\n", bytes, seconds, bytes / 1048576.0 / seconds);
    return 0;
}
