#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for a fixed time each, on a copy of its seed corpus.
#
#   scripts/run-fuzzers.sh [--total] BUILD_DIR SECONDS
#
# BUILD_DIR is a build configured with -DKESTRUNE_FUZZ=ON (clang); every executable named *_fuzz in it is
# run for SECONDS (with --total, SECONDS is shared evenly among the targets, at least 10 s each) with fuzz/corpus/<target>/ copied to a scratch directory (the checked-in seeds stay as
# they are). Any crash, leak, undefined behaviour, time-out or out-of-memory finding fails the script;
# the reproducer is kept under BUILD_DIR/fuzz-findings/<target>/. A summary line per target is printed.
set -uo pipefail

share=0
if [[ ${1:-} == --total ]]; then
    share=1
    shift
fi
if [[ $# -ne 2 || ! -d $1 || ! $2 =~ ^[0-9]+$ ]]; then
    echo "usage: $0 [--total] BUILD_DIR SECONDS" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
seconds=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)

mapfile -t targets < <(find "$build" -type f -name '*_fuzz' -perm -u+x | sort)
if ((${#targets[@]} == 0)); then
    echo "run-fuzzers: no fuzz targets in $build (configure it with -DKESTRUNE_FUZZ=ON and build it)" >&2
    exit 1
fi

if ((share)); then
    seconds=$((seconds / ${#targets[@]}))
    ((seconds >= 10)) || seconds=10
fi

scratch=$(mktemp -d "${TMPDIR:-/tmp}/kestrune-fuzz.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0:symbolize=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=0
summary=()
for target in "${targets[@]}"; do
    name=$(basename "$target")
    corpus="$scratch/$name/corpus"
    findings="$build/fuzz-findings/$name"
    mkdir -p "$corpus" "$findings"
    if [[ -d $source_dir/fuzz/corpus/$name ]]; then
        cp -R "$source_dir/fuzz/corpus/$name/." "$corpus/"
    fi
    seeds=$(find "$corpus" -type f | wc -l)
    log="$scratch/$name/log"
    echo "== $name: ${seconds}s from $seeds seed(s)"
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1
    status=$?
    runs=$(grep -Eo 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -Eo '[0-9]+$' | tail -1)
    cov=$(grep -Eo 'cov: [0-9]+' "$log" | tail -1 | grep -Eo '[0-9]+')
    units=$(find "$corpus" -type f | wc -l)
    if ((status != 0)) || grep -Eq 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:|SUMMARY: UndefinedBehaviorSanitizer' "$log"; then
        failed=1
        echo "---- $name failed (exit $status); the end of its log:"
        tail -n 60 "$log"
        summary+=("FAIL  $name  exit=$status runs=${runs:-?} coverage=${cov:-?} corpus=$units findings=$findings")
    else
        rmdir "$findings" 2>/dev/null
        summary+=("ok    $name  runs=${runs:-?} coverage=${cov:-?} corpus=$units (from $seeds seeds)")
    fi
done
rmdir "$build/fuzz-findings" 2>/dev/null

echo "== fuzzing summary (${seconds}s per target)"
printf '%s\n' "${summary[@]}"
if ((failed)); then
    echo "run-fuzzers: FAILED"
    exit 1
fi
echo "run-fuzzers: all ${#targets[@]} target(s) clean"
