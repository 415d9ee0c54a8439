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
cmake --build "$TOLVANE_BUILD" --target tolvane skin_engine ui_bench start_bench bench_floor bench_bare_window e2e_helpers >/dev/null
"$root/scripts/wine-session" start
trap '"$root/scripts/wine-session" stop' EXIT
. "$root/scripts/wine-env.sh"
export TOLVANE_EXE="$TOLVANE_BUILD/bin/tolvane.exe" TOLVANE_TEST_BIN="$TOLVANE_BUILD/tests"
echo "tolvane.exe: $(stat -c %s "$TOLVANE_EXE") bytes; Skin.dll: $(stat -c %s "$TOLVANE_BUILD/skin_engine/Skin.dll") bytes"
sys="$WINEPREFIX/drive_c/windows/system"
# The hot paths twice: with the skin engine, and with a stand-in engine that
# skins nothing, so that the engine's own cost shows as the difference.
echo; echo "With the skin engine attached:"
rm -f "$sys/Skin.dll" "$sys/QQ2009.she"
wine "$TOLVANE_BUILD/bin/ui_bench.exe"
echo; echo "Without a skin (a stand-in engine that attaches nothing):"
cp "$TOLVANE_BUILD/tests/test_engine_recording.dll" "$sys/Skin.dll"
wine "$TOLVANE_BUILD/bin/ui_bench.exe"
rm -f "$sys/Skin.dll" "$sys/QQ2009.she"
echo
wine "$TOLVANE_BUILD/tests/start_bench.exe" "${1:-15}"
