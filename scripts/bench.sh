#!/usr/bin/env bash
# Builds, then times under Wine: the window's hot paths in-process, and the
# start of tolvane.exe against its floor (OLE, the home page, a plain window)
# and a bare window, alternating. Prints Markdown tables; the README's numbers
# come from here. An argument sets the number of start runs (default 15).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export TOLVANE_BUILD=${TOLVANE_BUILD:-$root/build}
"$root/scripts/build-jpeg.sh"
if [ ! -f "$TOLVANE_BUILD/CMakeCache.txt" ]; then "$root/scripts/build.sh" >/dev/null; fi
cmake --build "$TOLVANE_BUILD" --target tolvane ui_bench start_bench bench_floor bench_bare_window e2e_helpers >/dev/null
"$root/scripts/wine-session" start
trap '"$root/scripts/wine-session" stop' EXIT
. "$root/scripts/wine-env.sh"
export TOLVANE_EXE="$TOLVANE_BUILD/bin/tolvane.exe" TOLVANE_TEST_BIN="$TOLVANE_BUILD/tests"
echo "tolvane.exe: $(stat -c %s "$TOLVANE_EXE") bytes; Skin.dll: $(stat -c %s "$TOLVANE_BUILD/engine/Skin.dll") bytes"
echo
wine "$TOLVANE_BUILD/bin/ui_bench.exe"
echo
wine "$TOLVANE_BUILD/tests/start_bench.exe" "${1:-15}"
