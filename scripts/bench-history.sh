#!/usr/bin/env bash
# Times the line history: one sample inserted, and a year of 5-minute samples (105,120 rows) loaded
# into the window's month and all-time views (read, thinned to the chart's width, drawn), next to
# Python's sqlite3 module reading the same year's rows from the same file, and prints the ratio.
#
#   scripts/bench-history.sh                 (build dir: $KESTRUNE_BENCH_BUILD, default build-bench)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${KESTRUNE_BENCH_BUILD:-build-bench}

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKESTRUNE_BENCH=ON >/dev/null
cmake --build "$build" -j2 --target line_history_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
KESTRUNE_BENCH_HISTORY_DB="$work/year.sqlite" "$build/bench/line_history_bench" \
    --benchmark_out="$work/out.json" --benchmark_out_format=json --benchmark_min_time=1 >&2

python3 - "$work/out.json" "$work/year.sqlite" <<'PY'
import json, sqlite3, sys, time
data = json.load(open(sys.argv[1]))
t = {}
for b in data["benchmarks"]:
    unit = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
    t[b["name"]] = (b["real_time"] * unit, b)
db = sqlite3.connect(sys.argv[2])
best = float("inf")
for _ in range(5):
    start = time.perf_counter()
    rows = db.execute("SELECT t, ok, down_rate, up_rate, down_atten, up_atten, down_power, up_power, "
                      "down_snr, up_snr, line_status, ppp_up, in_bytes, out_bytes FROM samples ORDER BY t").fetchall()
    best = min(best, (time.perf_counter() - start) * 1000)
month, mb = t["BM_LoadMonthView"]
year, yb = t["BM_LoadAllView"]
print(f"insert one sample:                         {t['BM_InsertSample'][0]:9.3f} ms")
print(f"month view ({int(mb['samples'])} samples, {int(mb['points'])} points drawn): {month:9.1f} ms")
print(f"all-time view ({int(yb['samples'])} samples, {int(yb['points'])} points drawn): {year:9.1f} ms")
print(f"python3 sqlite3 reading the year ({len(rows)} rows): {best:9.1f} ms")
print(f"ratio all-time view / plain read: {year / best:.2f}")
PY
