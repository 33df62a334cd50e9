#!/usr/bin/env bash
# A week of use in minutes: runs the real program under Xvfb, in a private network namespace, against
# the router stand-in with every monitor on at its shortest interval, while the stand-in (scripted
# through its control socket) drops and restores the link, restarts, wraps counters, answers telnet
# slowly or not at all, serves an update file and uploads event logs. Then it kills the program with
# SIGKILL at random moments (some during the close) and checks the settings file each time. Prints a
# table at the end; exit status 0 when no check failed.
#
#   sudo scripts/soak.sh [MINUTES]        # default 2; an hour (60) before a release
#   KESTRUNE_BUILD_DIR=build-asan scripts/soak.sh 5
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-2}
build=$(realpath "${KESTRUNE_BUILD_DIR:-build}")
for bin in kestrune kestrune-router-sim; do
    [[ -x $build/$bin ]] || { echo "missing $build/$bin (cmake --build $build --target $bin)" >&2; exit 2; }
done
for tool in Xvfb xdotool python3 unshare; do
    command -v $tool >/dev/null || { echo "soak: $tool is missing" >&2; exit 2; }
done

if [[ ${1:-} != --inside && -z ${KESTRUNE_SOAK_INSIDE:-} ]]; then
    # A private network and mount namespace: the router address 192.168.0.1 and the web servers'
    # names (through a private /etc/hosts) exist only in there.
    if [[ $(id -u) -eq 0 ]]; then prefix=(unshare --net --mount); else prefix=(unshare --user --map-root-user --net --mount); fi
    if ! "${prefix[@]}" true 2>/dev/null; then
        echo "soak: skipped, this machine gives no private network namespace (${prefix[*]})" >&2
        exit 77
    fi
    exec env KESTRUNE_SOAK_INSIDE=1 KESTRUNE_BUILD_DIR="$build" "${prefix[@]}" bash "$0" "$minutes"
fi

work=$(mktemp -d /tmp/kestrune-soak.XXXXXX)
pids=()
cleanup() {
    set +e
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    umount /etc/hosts 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

ip link set lo up
if ip link add kestrune0 type dummy 2>/dev/null; then lan=kestrune0; else lan=lo; fi
ip addr add 192.168.0.1/24 dev "$lan"
ip link set "$lan" up
sysctl -qw net.ipv4.ip_unprivileged_port_start=0 || true
setting() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }
printf '127.0.0.1 localhost\n192.168.0.1 %s %s\n' "$(setting KESTRUNE_PROBE_HOST)" "$(setting KESTRUNE_UPDATE_HOST)" >"$work/hosts"
mount --bind "$work/hosts" /etc/hosts
http_port=$(setting KESTRUNE_PROBE_PORT)

"$build/kestrune-router-sim" --snmp 192.168.0.1:161 --telnet 192.168.0.1:23 --http "192.168.0.1:${http_port:-80}" \
    --control "$work/router.sock" >"$work/router.log" 2>&1 &
pids+=($!)
# Xvfb picks a free display and writes its number once it is ready.
Xvfb -displayfd 3 -nolisten tcp -screen 0 1280x1024x24 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
    "$build/kestrune-router-sim" ctl "$work/router.sock" ping >/dev/null 2>&1 && [[ -s $work/display ]] && break
    sleep 0.1
done
[[ -s $work/display ]] || { echo "soak: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 2; }

mkdir -p "$work/app" "$work/eventlog"
export DISPLAY=":$(head -n1 "$work/display")" SOAK_WORK=$work SOAK_BUILD=$build SOAK_MINUTES=$minutes
python3 "$(dirname "$0")/soak_driver.py"
