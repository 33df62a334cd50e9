#!/usr/bin/env bash
# Builds everything and runs every test: unit, widget, interop, sanitizer and fuzzing runs.
# The fuzz targets share one time budget (KESTRUNE_FUZZ_SECONDS, 180 s by default); each phase's time
# is printed at the end.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)
phases=()
started=$SECONDS
phase_done() {
    phases+=("$(printf '%-32s %5d s' "$1" $((SECONDS - started)))")
    started=$SECONDS
}
report() {
    echo "== phase times"
    printf '%s\n' "${phases[@]}"
}
trap report EXIT

scripts/setup.sh
phase_done "set-up"

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
phase_done "build"
(cd build && ctest --output-on-failure -j"$jobs" --timeout 300)
phase_done "tests"

echo "== fuzzing (libFuzzer, ASan+UBSan)"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DKESTRUNE_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-fuzz -j"$jobs"
phase_done "fuzz build"
scripts/run-fuzzers.sh --total build-fuzz "${KESTRUNE_FUZZ_SECONDS:-180}"
phase_done "fuzzing"

echo "== test suite under ASan+UBSan"
cmake -S . -B build-asan -G Ninja -DKESTRUNE_SANITIZE=ON -DKESTRUNE_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-asan -j"$jobs"
phase_done "sanitizer build"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j"$jobs" --timeout 600)
phase_done "sanitizer tests"
