#!/usr/bin/env bash
# Builds everything and runs every test: unit, widget, interop, sanitizer and fuzzing runs.
set -euo pipefail
cd "$(dirname "$0")"
scripts/setup.sh
jobs=$(nproc)

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
(cd build && ctest --output-on-failure -j"$jobs" --timeout 300)

echo "== fuzzing (libFuzzer, ASan+UBSan)"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKESTRUNE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$jobs"
scripts/run-fuzzers.sh build-fuzz "${KESTRUNE_FUZZ_SECONDS:-60}"

echo "== test suite under ASan+UBSan"
cmake -S . -B build-asan -G Ninja -DKESTRUNE_SANITIZE=ON -DKESTRUNE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j"$jobs" --timeout 600)
