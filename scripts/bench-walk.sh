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
# seconds of the process; CPU per object = the process's own user + system time (getrusage of the
# ended child) / objects walked. Prints every round, the median of each, the ratios of the medians, and
# the least CPU per object of each with its ratio (the rounds least disturbed by other load). Targets:
# the client at least 1.3 times snmpwalk's rate, and at most 0.6 times its CPU per object (the walk's
# wall time is mostly the agent's). Needs the snmpd and snmp packages and a
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

# Runs a command with its output in FILE; prints its wall-clock and its own CPU (user + system)
# nanoseconds, taken from the ended process itself.
measure() { # FILE COMMAND...
    python3 - "$@" <<'PY'
import os, sys, time
out = sys.argv[1]
start = time.monotonic_ns()
pid = os.fork()
if pid == 0:
    fd = os.open(out, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o600)
    os.dup2(fd, 1)
    os.execvp(sys.argv[2], sys.argv[2:])
_, status, usage = os.wait4(pid, 0)
end = time.monotonic_ns()
print(end - start, round((usage.ru_utime + usage.ru_stime) * 1e9))
sys.exit(os.waitstatus_to_exitcode(status))
PY
}
run_snmpwalk() {
    local times objects
    times=$(measure "$work/snmpwalk.out" snmpwalk -v1 -c "$community" -On -Oq "udp:127.0.0.1:$port" "$base")
    objects=$(grep -c '^\.' "$work/snmpwalk.out" || true)
    echo "$objects $times"
}
run_client() {
    local times objects
    times=$(measure "$work/client.out" "$tool" 127.0.0.1 "$port" "$community" "$base" 1)
    objects=$(sed -n 's/^objects=\([0-9]*\).*/\1/p' "$work/client.out")
    echo "$objects $times"
}
rate() { python3 -c "import sys; print(f'{$1 / ($2 / 1e9):.0f}')"; }
per_object_us() { python3 -c "print(f'{$2 / 1e3 / max($1, 1):.2f}')"; } # OBJECTS CPU_NS

# One untimed walk each to warm snmpd's caches.
run_snmpwalk >/dev/null
run_client >/dev/null

walk_rates=()
client_rates=()
walk_cpus=()
client_cpus=()
echo "round  snmpwalk(objects, ms, objects/s, CPU us/object)  client(objects, ms, objects/s, CPU us/object)"
for round in $(seq "$rounds"); do
    if ((round % 2)); then
        read -r wo wn wc < <(run_snmpwalk)
        read -r co cn cc < <(run_client)
    else
        read -r co cn cc < <(run_client)
        read -r wo wn wc < <(run_snmpwalk)
    fi
    wr=$(rate "$wo" "$wn")
    cr=$(rate "$co" "$cn")
    wu=$(per_object_us "$wo" "$wc")
    cu=$(per_object_us "$co" "$cc")
    walk_rates+=("$wr")
    client_rates+=("$cr")
    walk_cpus+=("$wu")
    client_cpus+=("$cu")
    printf '%5d  %8d %7.1f %9d %8.2f          %8d %7.1f %9d %8.2f\n' "$round" "$wo" \
        "$(python3 -c "print($wn/1e6)")" "$wr" "$wu" "$co" "$(python3 -c "print($cn/1e6)")" "$cr" "$cu"
done

median() { printf '%s\n' "$@" | sort -n | python3 -c 'import sys; v=[float(x) for x in sys.stdin]; print(f"{sorted(v)[len(v)//2]:.0f}")'; }
median2() { printf '%s\n' "$@" | python3 -c 'import sys; v=sorted(float(x) for x in sys.stdin); print(f"{v[len(v)//2]:.2f}")'; }
best() { printf '%s\n' "$@" | sort -n | tail -1; }
least() { printf '%s\n' "$@" | sort -n | head -1; }
mw=$(median "${walk_rates[@]}")
mc=$(median "${client_rates[@]}")
bw=$(best "${walk_rates[@]}")
bc=$(best "${client_rates[@]}")
echo "median objects/s: snmpwalk $mw, client $mc; best: snmpwalk $bw, client $bc"
echo "ratio client/snmpwalk: median $(python3 -c "print(f'{$mc / $mw:.2f}')")x, best $(python3 -c "print(f'{$bc / $bw:.2f}')")x (target 1.3x: $(python3 -c "print('met' if $mc / $mw >= 1.3 else 'not met')"))"
uw=$(median2 "${walk_cpus[@]}")
uc=$(median2 "${client_cpus[@]}")
echo "median CPU per object: snmpwalk $uw us, client $uc us"
echo "CPU ratio client/snmpwalk: median $(python3 -c "print(f'{$uc / $uw:.2f}')")x (target at most 0.6x: $(python3 -c "print('met' if $uc / $uw <= 0.6 else 'not met')"))"
# The least CPU per object of each: the rounds least disturbed by other load on the machine.
lw=$(least "${walk_cpus[@]}")
lc=$(least "${client_cpus[@]}")
echo "least CPU per object: snmpwalk $lw us, client $lc us; ratio $(python3 -c "print(f'{$lc / $lw:.2f}')")x"
