#!/usr/bin/env bash
# Walk rate of the program's SNMP client against net-snmp's snmpwalk, both walking MIB-II
# (1.3.6.1.2.1) of the same local snmpd, in the same run.
#
#   scripts/bench-walk.sh [BUILD_DIR] [ROUNDS]        (defaults: build, 7)
#
# Starts snmpd on a free UDP port of 127.0.0.1 with a private configuration (read-only community, no
# per-request connection log, no system configuration, private persistent store), then runs ROUNDS rounds; each round times one whole
# `snmpwalk -v1 -On -Oq` process and one whole kestrune-snmpwalk-rate process (the client's walk,
# SnmpWalkTable), alternating which goes first. Objects per second = objects walked / wall-clock
# seconds of the process. Prints every round, the median of each, and the ratio of the medians
# (target: the client at least 1.3 times snmpwalk's rate). Needs the snmpd and snmp packages and a
# build that has the bench/kestrune-snmpwalk-rate target (it is built when missing).
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
rounds=${2:-7}
base=1.3.6.1.2.1
community=kestrune-bench

for program in snmpd snmpwalk snmpget python3; do
    if ! command -v "$program" >/dev/null && [[ ! -x /usr/sbin/$program ]]; then
        echo "bench-walk: $program is not installed (scripts/setup.sh installs it)" >&2
        exit 1
    fi
done
snmpd_bin=$(command -v snmpd || echo /usr/sbin/snmpd)
tool=$build/bench/kestrune-snmpwalk-rate
if [[ ! -x $tool ]]; then
    cmake --build "$build" --target kestrune-snmpwalk-rate >/dev/null
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/kestrune-bench-walk.XXXXXX")
snmpd_pid=
cleanup() {
    if [[ -n $snmpd_pid ]]; then
        kill "$snmpd_pid" 2>/dev/null || true
        wait "$snmpd_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

port=$(python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$work/persist"
cat >"$work/snmpd.conf" <<CONF
agentaddress udp:127.0.0.1:$port
rocommunity $community 127.0.0.1
dontLogTCPWrappersConnects yes
CONF
SNMP_PERSISTENT_DIR=$work/persist SNMPCONFPATH=$work \
    "$snmpd_bin" -f -C -c "$work/snmpd.conf" -Lf "$work/snmpd.log" -m "" -M /dev/null &
snmpd_pid=$!
for _ in $(seq 50); do
    if snmpget -v1 -c "$community" -t 0.2 -r 0 -On "udp:127.0.0.1:$port" 1.3.6.1.2.1.1.3.0 >/dev/null 2>&1; then
        break
    fi
    sleep 0.1
done
snmpget -v1 -c "$community" -t 1 -r 0 -On "udp:127.0.0.1:$port" 1.3.6.1.2.1.1.3.0 >/dev/null

now() { date +%s%N; }
run_snmpwalk() {
    local start end objects
    start=$(now)
    snmpwalk -v1 -c "$community" -On -Oq "udp:127.0.0.1:$port" "$base" >"$work/snmpwalk.out"
    end=$(now)
    objects=$(grep -c '^\.' "$work/snmpwalk.out" || true)
    echo "$objects $((end - start))"
}
run_client() {
    local start end objects
    start=$(now)
    "$tool" 127.0.0.1 "$port" "$community" "$base" 1 >"$work/client.out"
    end=$(now)
    objects=$(sed -n 's/^objects=\([0-9]*\).*/\1/p' "$work/client.out")
    echo "$objects $((end - start))"
}
rate() { python3 -c "import sys; print(f'{$1 / ($2 / 1e9):.0f}')"; }

# One untimed walk each to warm snmpd's caches.
run_snmpwalk >/dev/null
run_client >/dev/null

walk_rates=()
client_rates=()
echo "round  snmpwalk(objects, ms, objects/s)  client(objects, ms, objects/s)"
for round in $(seq "$rounds"); do
    if ((round % 2)); then
        read -r wo wn < <(run_snmpwalk)
        read -r co cn < <(run_client)
    else
        read -r co cn < <(run_client)
        read -r wo wn < <(run_snmpwalk)
    fi
    wr=$(rate "$wo" "$wn")
    cr=$(rate "$co" "$cn")
    walk_rates+=("$wr")
    client_rates+=("$cr")
    printf '%5d  %8d %7.1f %9d          %8d %7.1f %9d\n' "$round" "$wo" "$(python3 -c "print($wn/1e6)")" "$wr" \
        "$co" "$(python3 -c "print($cn/1e6)")" "$cr"
done

median() { printf '%s\n' "$@" | sort -n | python3 -c 'import sys; v=[float(x) for x in sys.stdin]; print(f"{sorted(v)[len(v)//2]:.0f}")'; }
best() { printf '%s\n' "$@" | sort -n | tail -1; }
mw=$(median "${walk_rates[@]}")
mc=$(median "${client_rates[@]}")
bw=$(best "${walk_rates[@]}")
bc=$(best "${client_rates[@]}")
echo "median objects/s: snmpwalk $mw, client $mc; best: snmpwalk $bw, client $bc"
echo "ratio client/snmpwalk: median $(python3 -c "print(f'{$mc / $mw:.2f}')")x, best $(python3 -c "print(f'{$bc / $bw:.2f}')")x (target 1.3x: $(python3 -c "print('met' if $mc / $mw >= 1.3 else 'not met')"))"
