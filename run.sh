#!/usr/bin/env bash
# Runs Kestrune Utility against the router stand-in, with no router at hand and without any packet
# reaching the real network:
#   - installs missing packages (scripts/setup.sh) and builds the program and the stand-in (build/);
#   - creates a private network namespace holding only its loopback and an interface of its own with
#     the router's factory address 192.168.0.1/24;
#   - maps the public web server's and the update server's names (build settings) to 192.168.0.1 in
#     the namespace's own hosts file, so the web requests reach the stand-in's HTTP listener;
#   - starts the stand-in there on 192.168.0.1:161 (SNMP), 192.168.0.1:23 (its command line) and the
#     web port, keeping its saved configuration in ~/.kestrune/router-state, and the program in the
#     same namespace, on your display, both as the user who called sudo, the program in ~/.kestrune
#     (where kestrune.ini is kept);
#   - removes the namespace and stops the stand-in when the program ends (or on Ctrl-C).
#
#   sudo ./run.sh
#   sudo KESTRUNE_DEMO_HISTORY=1 ./run.sh    # the same, with line history recording on, every minute
set -euo pipefail
cd "$(dirname "$0")"
root=$PWD

if [[ $(id -u) -ne 0 ]]; then
    echo "run.sh needs root for the private network namespace: sudo ./run.sh" >&2
    exit 1
fi
# Packages first: on a fresh machine this also brings xvfb-run, which the hint below names.
scripts/setup.sh

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "No display: neither DISPLAY nor WAYLAND_DISPLAY is set, so the window cannot be shown." >&2
    echo "Run this from a desktop session (sudo keeps DISPLAY with: sudo --preserve-env=DISPLAY,XAUTHORITY ./run.sh)," >&2
    echo "or under a virtual display: xvfb-run -a ./run.sh" >&2
    exit 2
fi
case ${DISPLAY:-} in
localhost:* | [0-9]*.*:*)
    echo "DISPLAY=$DISPLAY is reached over the network, which the private namespace cannot do;" >&2
    echo "use a local display (for example :0) or xvfb-run." >&2
    exit 2
    ;;
esac

# The user the program runs as: the one who called sudo, else root.
user=${SUDO_USER:-root}
uid=$(id -u "$user")
gid=$(id -g "$user")
home=$(getent passwd "$user" | cut -d: -f6)
xauth=${XAUTHORITY:-}
if [[ -z $xauth && -n ${DISPLAY:-} && -r $home/.Xauthority ]]; then xauth=$home/.Xauthority; fi

echo "== building the program and the router stand-in (build/)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target kestrune kestrune-router-sim -j"$(nproc)"

ns=kestrune-demo-$$
work=$(mktemp -d /tmp/kestrune-demo.XXXXXX)
sim_pid=
app_pid=
cleanup() {
    set +e
    if [[ -n $app_pid ]] && kill -0 "$app_pid" 2>/dev/null; then
        kill "$app_pid" 2>/dev/null
        wait "$app_pid" 2>/dev/null
    fi
    if [[ -n $sim_pid ]]; then
        kill "$sim_pid" 2>/dev/null
        wait "$sim_pid" 2>/dev/null
    fi
    ip netns del "$ns" 2>/dev/null
    rm -rf "/etc/netns/$ns"
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

echo "== private network namespace $ns: its own loopback and an interface holding 192.168.0.1/24"
ip netns add "$ns"
ip -n "$ns" link set lo up
# A dummy interface where the kernel has them, else a veth pair with both ends inside the namespace,
# else the loopback itself.
if ip -n "$ns" link add kestrune0 type dummy 2>/dev/null; then
    lan=kestrune0
elif ip -n "$ns" link add kestrune0 type veth peer name kestrune1 2>/dev/null; then
    ip -n "$ns" link set kestrune1 up
    lan=kestrune0
else
    lan=lo
fi
ip -n "$ns" addr add 192.168.0.1/24 dev "$lan"
# The event-log receiver's UDP port 69 without root, inside this namespace only.
ip netns exec "$ns" sysctl -qw net.ipv4.ip_unprivileged_port_start=0
ip -n "$ns" link set "$lan" up

# The web servers the program contacts are build settings; inside the namespace both names lead to
# the stand-in, whose HTTP listener makes it dial on demand and serves the version file.
setting() { sed -n "s/^$1:[A-Z]*=//p" build/CMakeCache.txt; }
probe_host=$(setting KESTRUNE_PROBE_HOST)
update_host=$(setting KESTRUNE_UPDATE_HOST)
http_port=$(setting KESTRUNE_PROBE_PORT)
if [[ $(setting KESTRUNE_UPDATE_PORT) != "$http_port" ]]; then
    echo "note: the update server's port differs from the probe server's; the stand-in serves $http_port only" >&2
fi
mkdir -p "/etc/netns/$ns"
printf '127.0.0.1 localhost\n192.168.0.1 %s %s\n' "$probe_host" "$update_host" >"/etc/netns/$ns/hosts"

# The settings file kestrune.ini lives in the working directory: ~/.kestrune of the user; the
# stand-in's saved configuration (router-state) beside it.
settings_dir=$home/.kestrune
install -d -o "$uid" -g "$gid" "$settings_dir"

# The stand-in runs as the user too (the namespace lets it bind its low ports), so the state file it
# writes in the user's directory is the user's own.
chown "$uid:$gid" "$work"
echo "== router stand-in on 192.168.0.1: 161 (SNMP), 23 (command line), $http_port (web, for $probe_host and $update_host)"
echo "   its saved configuration: $settings_dir/router-state (delete it to start from the factory settings)"
ip netns exec "$ns" setpriv --reuid="$uid" --regid="$gid" --init-groups \
    "$root/build/kestrune-router-sim" --snmp 192.168.0.1:161 --telnet 192.168.0.1:23 \
    --http "192.168.0.1:$http_port" --control "$work/router.sock" --drift \
    --state "$settings_dir/router-state" >"$work/router.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do
    "$root/build/kestrune-router-sim" ctl "$work/router.sock" ping >/dev/null 2>&1 && break
    if ! kill -0 "$sim_pid" 2>/dev/null; then
        echo "the router stand-in did not start:" >&2
        cat "$work/router.log" >&2
        exit 1
    fi
    sleep 0.1
done
"$root/build/kestrune-router-sim" ctl "$work/router.sock" ping >/dev/null

if [[ ${KESTRUNE_DEMO_HISTORY:-0} == 1 ]]; then
    # Recording on, one sample a minute: the [Line history] section replaced by those two keys.
    ini=$settings_dir/kestrune.ini
    touch "$ini"
    awk '{ line = $0; sub(/\r$/, "", line) } /^\[/ { skip = (line == "[Line history]") } !skip' "$ini" >"$ini.new"
    printf '[Line history]\r\nRecord=1\r\nInterval=1\r\n' >>"$ini.new"
    chown "$uid:$gid" "$ini.new"
    mv "$ini.new" "$ini"
fi

echo "== Kestrune Utility (settings in $settings_dir/kestrune.ini)"
echo "   The stand-in's control socket: $root/build/kestrune-router-sim ctl $work/router.sock help"
echo "   Drop the PPP link (the connection log shows it): ... ctl $work/router.sock link down"
echo "   A dip of the SNR margin (Options > Line history shows it): ... ctl $work/router.sock dip 6 180"
chmod 755 "$work"
env_args=(HOME="$home" USER="$user" LOGNAME="$user" PATH=/usr/local/bin:/usr/bin:/bin)
for var in DISPLAY WAYLAND_DISPLAY XDG_RUNTIME_DIR QT_QPA_PLATFORM LANG LC_ALL LC_NUMERIC LC_TIME; do
    if [[ -n ${!var:-} ]]; then env_args+=("$var=${!var}"); fi
done
if [[ -n $xauth ]]; then env_args+=(XAUTHORITY="$xauth"); fi
cd "$settings_dir"
ip netns exec "$ns" setpriv --reuid="$uid" --regid="$gid" --init-groups \
    env -i "${env_args[@]}" "$root/build/kestrune" &
app_pid=$!
set +e
wait "$app_pid"
status=$?
set -e
app_pid=
exit "$status"
