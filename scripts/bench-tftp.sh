#!/usr/bin/env bash
# Upload rate into the program's TFTP receiver against tftpd-hpa's in.tftpd, in the same run: tftp-hpa's
# client puts the same 16 MiB file (octet mode, 512-byte blocks) into each, on loopback ports.
#
#   scripts/bench-tftp.sh [BUILD_DIR] [ROUNDS]        (defaults: build, 5)
#
# Each round times one whole `tftp -c put` process into kestrune-tftp-receive (TTFTPSend storing the
# upload) and one into `in.tftpd -L -c -s DIR`, alternating which goes first, and checks both copies
# byte for byte. Prints every round, the median rate of each (MiB/s) and the ratio of the medians
# (target: at least 1.0, the receiver adding nothing measurable to the round trip).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rounds=${2:-5}
tftpd=$(command -v in.tftpd || echo /usr/sbin/in.tftpd)
for program in tftp python3 "$tftpd"; do
    if ! command -v "$program" >/dev/null; then
        echo "bench-tftp: $program is not installed (scripts/setup.sh installs it)" >&2
        exit 1
    fi
done
receiver=$build/bench/kestrune-tftp-receive
if [[ ! -x $receiver ]]; then
    cmake --build "$build" --target kestrune-tftp-receive >/dev/null
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrune-bench-tftp.XXXXXX")
server_pid=
cleanup() {
    if [[ -n $server_pid ]]; then
        kill "$server_pid" 2>/dev/null || true
        wait "$server_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

head -c $((16 << 20)) /dev/urandom >"$work/upload"
mkdir -p "$work/ours" "$work/tftpd"
chmod 777 "$work/tftpd"
free_port() {
    python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}
now() { date +%s.%N; }

# Starts one server ($1: ours|tftpd) on a fresh port, times one put, prints the rate in MiB/s.
run_one() {
    local which=$1 port name=r$2 start end
    port=$(free_port)
    if [[ $which == ours ]]; then
        "$receiver" "$port" "$work/ours" 1 &
    else
        local user_args=()
        if [[ $(id -u) -eq 0 ]]; then user_args=(-u root); fi
        "$tftpd" -L -c -s "$work/tftpd" --address "127.0.0.1:$port" "${user_args[@]}" &
    fi
    server_pid=$!
    sleep 0.2
    start=$(now)
    tftp -m binary 127.0.0.1 "$port" -c put "$work/upload" "$name"
    end=$(now)
    if [[ $which == ours ]]; then wait "$server_pid"; else kill "$server_pid"; wait "$server_pid" 2>/dev/null || true; fi
    server_pid=
    cmp -s "$work/upload" "$work/$which/$name" || { echo "bench-tftp: $which stored a different file" >&2; exit 1; }
    rm -f "$work/$which/$name"
    python3 -c "print(f'{16 / ($end - $start):.1f}')"
}

ours=() theirs=()
for round in $(seq "$rounds"); do
    if ((round % 2)); then
        a=$(run_one ours "$round"); b=$(run_one tftpd "$round")
    else
        b=$(run_one tftpd "$round"); a=$(run_one ours "$round")
    fi
    ours+=("$a") theirs+=("$b")
    echo "round $round: receiver $a MiB/s, in.tftpd $b MiB/s"
done
python3 - "${ours[*]}" "${theirs[*]}" <<'PY'
import statistics, sys
ours = [float(x) for x in sys.argv[1].split()]
theirs = [float(x) for x in sys.argv[2].split()]
a, b = statistics.median(ours), statistics.median(theirs)
print(f"median: receiver {a:.1f} MiB/s, in.tftpd {b:.1f} MiB/s, ratio {a / b:.2f} (target >= 1.0)")
PY
