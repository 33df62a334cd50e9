#!/usr/bin/env bash
# Builds everything and runs every test: the CTest suite in a normal build (gcc) and again under
# ASan+UBSan (clang, the same build holding the libFuzzer targets), a two-minute soak of the real
# program against the stand-in (run while the sanitizer build compiles), and the fuzz targets sharing
# one time budget (KESTRUNE_FUZZ_SECONDS, 120 s by default). Each phase's time is printed at the end.
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

echo "== layers"
python3 scripts/check-layers.py
phase_done "layer check"

echo "== build and test"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" >/dev/null
cmake --build build -j"$jobs"
phase_done "build"
(cd build && ctest --output-on-failure -j$((jobs + 1)) --timeout 300)
phase_done "tests"

# The soak mostly waits on its timers: it runs beside the sanitizer build, its output kept until the end.
echo "== soak (2 minutes, in the background)"
soak_log=$(mktemp /tmp/kestrune-soak-log.XXXXXX)
KESTRUNE_BUILD_DIR=build scripts/soak.sh 2 >"$soak_log" 2>&1 &
soak=$!

echo "== sanitizer build (ASan+UBSan, with the fuzz targets)"
CXX=clang++ cmake -S . -B build-asan -G Ninja -DKESTRUNE_SANITIZE=ON -DKESTRUNE_SANITIZE_FUZZ=ON -DKESTRUNE_BENCH=OFF \
    -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" >/dev/null
cmake --build build-asan -j"$jobs"
phase_done "sanitizer build"

soak_status=0
wait "$soak" || soak_status=$?
cat "$soak_log"
rm -f "$soak_log"
phase_done "soak (rest of it)"
if ((soak_status == 77)); then
    echo "== the soak was SKIPPED: it needs a private network namespace (see above)"
elif ((soak_status != 0)); then
    echo "the soak failed (exit status $soak_status)" >&2
    exit 1
fi

echo "== test suite under ASan+UBSan"
(cd build-asan && ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --output-on-failure -j$((jobs + 1)) --timeout 600)
phase_done "sanitizer tests"

echo "== fuzzing (libFuzzer, ASan+UBSan)"
scripts/run-fuzzers.sh --total build-asan "${KESTRUNE_FUZZ_SECONDS:-120}"
phase_done "fuzzing"
