#!/usr/bin/env bash
# First start without a settings file: the program then uses its default router address
# 192.168.0.1, so the widget test that checks every default runs inside a private network namespace
# where no packet can leave the process (only a loopback interface, down).
set -euo pipefail
build=${KESTRUNE_BUILD_DIR:?KESTRUNE_BUILD_DIR is not set}
tests=$build/tests/kestrune_widget_tests
[[ -x $tests ]] || { echo "missing $tests" >&2; exit 1; }

source "$(dirname "${BASH_SOURCE[0]}")/../support/isolate_net.sh"
if ! choose_net_isolation; then
    echo "cannot create a private network namespace here (needs root or user namespaces); skipped"
    exit 77
fi

out=$(mktemp)
trap 'rm -f "$out"' EXIT
QT_QPA_PLATFORM=offscreen "${isolate[@]}" "$tests" \
    --gtest_filter='AppSettings.FirstStartWithoutSettingsFileUsesEveryDefaultAndLeavesAnEmptyFile' >"$out" 2>&1 || {
    cat "$out"
    exit 1
}
cat "$out"
# The test skips itself when it sees any interface but lo; inside the namespace it must have run.
if grep -q '\[  SKIPPED \]' "$out" || ! grep -q '\[  PASSED  \] 1 test' "$out"; then
    echo "the defaults test did not run inside the namespace" >&2
    exit 1
fi
