#!/usr/bin/env bash
# Start-up time of the program against a bare Qt window, side by side in one run.
#
#   scripts/bench-startup.sh [BUILD_DIR] [STARTS]        (defaults: build, 7)
#
# Inside a private network namespace (its own loopback and a dummy interface holding the router's
# factory address 192.168.0.1), starts the router stand-in on 192.168.0.1:161 and then, STARTS times
# each and alternating, `kestrune-startup program` (the program as main() starts it: settings read,
# the System page filled from the router, the window shown and painted; telnet on start-up disabled
# in its settings file kestrune-startup.ini, as the start-up job waits behind its splash on purpose) and
# `kestrune-startup bare` (a QMainWindow holding a QTabWidget of four labels, shown and painted).
# Each start is the whole process's wall time, offscreen. Prints every start, the medians and the
# ratio program / bare (target: at most 1.5). Needs root or unprivileged user namespaces.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
starts=${2:-7}

if [[ ${KESTRUNE_BENCH_INSIDE:-0} != 1 ]]; then
    for target in kestrune-startup kestrune-router-sim; do
        [[ -x $build/bench/$target || -x $build/$target ]] || cmake --build "$build" --target "$target" >/dev/null
    done
    if [[ $(id -u) -eq 0 ]]; then
        isolate=(unshare --net)
    elif unshare --user --map-root-user --net true 2>/dev/null; then
        isolate=(unshare --user --map-root-user --net)
    else
        echo "bench-startup: needs root or unprivileged user namespaces for the private network" >&2
        exit 1
    fi
    exec env KESTRUNE_BENCH_INSIDE=1 "${isolate[@]}" "$0" "$build" "$starts"
fi

# ---- inside the private namespace
ip link set lo up
if ip link add kestrune0 type dummy 2>/dev/null; then
    ip addr add 192.168.0.1/24 dev kestrune0
    ip link set kestrune0 up
else
    ip addr add 192.168.0.1/32 dev lo
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrune-bench-startup.XXXXXX")
sim_pid=
cleanup() {
    [[ -n $sim_pid ]] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

"$build/kestrune-router-sim" --snmp 192.168.0.1:161 --control "$work/router.sock" >"$work/router.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
    "$build/kestrune-router-sim" ctl "$work/router.sock" ping >/dev/null 2>&1 && break
    sleep 0.05
done

mkdir "$work/run"
printf '[Options]\r\nTelnet on startup=Disabled\r\n' >"$work/run/kestrune-startup.ini"
cp -r "$build/help" "$work/run/" 2>/dev/null || true

cd "$work/run"
QT_QPA_PLATFORM=offscreen python3 - "$build/bench/kestrune-startup" "$starts" <<'PY'
import statistics, subprocess, sys, time

tool, starts = sys.argv[1], int(sys.argv[2])

def one(mode):
    began = time.monotonic()
    done = subprocess.run([tool, mode], stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    elapsed = (time.monotonic() - began) * 1000.0
    if done.returncode != 0:
        sys.exit(f"kestrune-startup {mode} ended with status {done.returncode}: {done.stderr.strip()}")
    return elapsed

# One start of each first, unmeasured: the libraries into the page cache.
one("bare"); one("program")
times = {"program": [], "bare": []}
for i in range(starts):
    order = ("program", "bare") if i % 2 == 0 else ("bare", "program")
    for mode in order:
        times[mode].append(one(mode))
for mode in ("program", "bare"):
    print(f"{mode:8s} " + " ".join(f"{t:6.1f}" for t in times[mode]) + " ms")
program, bare = statistics.median(times["program"]), statistics.median(times["bare"])
print(f"median start to a filled, painted System page: {program:6.1f} ms")
print(f"median start of a bare Qt window:              {bare:6.1f} ms")
print(f"ratio program / bare: {program / bare:.2f} (target: at most 1.5)")
PY
