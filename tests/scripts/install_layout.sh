#!/usr/bin/env bash
# The installed program: files where a Linux desktop expects them, a valid desktop entry and metainfo,
# help pages that the installed program finds, and a start from the desktop entry in the home directory.
set -euo pipefail
build=${KESTRUNE_BUILD_DIR:?KESTRUNE_BUILD_DIR is not set}
id=org.kestrune.Utility
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log"; exit 1; }

for f in bin/kestrune share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
         share/metainfo/$id.metainfo.xml share/kestrune/help/kestrune.html share/kestrune/help/index.html; do
    [[ -e $prefix/$f ]] || { echo "not installed: $f" >&2; exit 1; }
done
for n in 110 120 130 140 150 160 170 180 190 200 210; do
    [[ -f $prefix/share/kestrune/help/$n.html ]] || { echo "help page $n.html not installed" >&2; exit 1; }
done
[[ -x $prefix/bin/kestrune ]] || { echo "bin/kestrune is not executable" >&2; exit 1; }
# Only the program is installed: no test, benchmark or stand-in binaries.
extra=$(find "$prefix/bin" -type f ! -name kestrune)
[[ -z $extra ]] || { echo "unexpected files installed: $extra" >&2; exit 1; }

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
grep -qx 'Exec=kestrune' "$prefix/share/applications/$id.desktop"
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop"

# The installed program finds its pages by its own directory rule.
KESTRUNE_INSTALLED_BIN_DIR=$prefix/bin QT_QPA_PLATFORM=offscreen "$build/tests/kestrune_widget_tests" \
    --gtest_filter='HelpViewerTest.TheProgramsOwnLayoutFindsEveryPage' >"$work/help.log" 2>&1 ||
    { cat "$work/help.log"; exit 1; }
grep -q '\[  PASSED  \] 1 test' "$work/help.log" || { cat "$work/help.log"; exit 1; }

# Start it as the desktop does (the Exec line through PATH, working directory home) inside a private
# network namespace, so its first requests to the factory router address cannot leave the machine.
source "$(dirname "${BASH_SOURCE[0]}")/../support/isolate_net.sh"
if ! choose_net_isolation; then
    echo "installed tree checked; start from the desktop entry skipped (no private network namespace here)"
    exit 0
fi
home=$work/home
mkdir -p "$home"
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop")
(cd "$home" && HOME=$home PATH=$prefix/bin:$PATH QT_QPA_PLATFORM=offscreen \
    exec "${isolate[@]}" $exec_line) >"$work/run.log" 2>&1 &
pid=$!
for _ in $(seq 1 100); do
    [[ -e $home/kestrune.ini ]] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
alive=0
kill -0 "$pid" 2>/dev/null && alive=1
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
[[ $alive -eq 1 ]] || { echo "the installed program did not keep running"; cat "$work/run.log"; exit 1; }
[[ -e $home/kestrune.ini ]] || { echo "no settings file in the home directory"; cat "$work/run.log"; exit 1; }
echo "installed tree, desktop entry, metainfo and help pages checked; program started in the home directory"
