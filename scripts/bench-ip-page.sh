#!/usr/bin/env bash
# Times a full IP page refresh (statistics and the three table walks) against the router stand-in
# holding a large route table, next to `snmpwalk -v1` of the same three tables from the same agent,
# and prints both figures and their ratio.
#
#   scripts/bench-ip-page.sh [routes]        (default 300 routes; build dir: $KESTRUNE_BENCH_BUILD)
set -euo pipefail
cd "$(dirname "$0")/.."
routes=${1:-300}
build=${KESTRUNE_BENCH_BUILD:-build-bench}
command -v snmpwalk >/dev/null || { echo "snmpwalk is missing (Debian package snmp)" >&2; exit 1; }

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target ip_page_bench >/dev/null

out=$(mktemp)
trap 'rm -f "$out"' EXIT
KESTRUNE_BENCH_ROUTES=$routes QT_QPA_PLATFORM=offscreen "$build/bench/ip_page_bench" \
    --benchmark_out="$out" --benchmark_out_format=json --benchmark_min_time=2 >&2

python3 - "$out" "$routes" <<'PY'
import json, sys
data = json.load(open(sys.argv[1]))
times = {}
for b in data["benchmarks"]:
    if b.get("run_type", "iteration") != "iteration":
        continue
    unit = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    times[b["name"].split("/")[0]] = (b["real_time"] * unit, b)
page, pb = times["BM_IpPageRefresh"]
walk, wb = times["BM_SnmpwalkThreeTables"]
print(f"route table: {sys.argv[2]} routes, {int(pb.get('values', 0))} values walked per refresh")
print(f"IP page refresh (20 gets + 3 walks, panes written): {page:9.1f} ms")
print(f"snmpwalk -v1 of the three tables (3 processes):     {walk:9.1f} ms")
print(f"ratio page / snmpwalk: {page / walk:.2f}")
PY
