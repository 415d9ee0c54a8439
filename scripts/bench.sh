#!/usr/bin/env bash
# Builds, then times the window's hot paths and a whole start under Wine.
# Prints a Markdown table; the numbers in the README come from here.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/build.sh" >/dev/null
export TOLVANE_BUILD=${TOLVANE_BUILD:-$root/build}
"$root/scripts/wine-session" start
trap '"$root/scripts/wine-session" stop' EXIT
. "$root/scripts/wine-env.sh"
export TOLVANE_EXE="$TOLVANE_BUILD/bin/tolvane.exe" TOLVANE_TEST_BIN="$TOLVANE_BUILD/tests"
echo "tolvane.exe: $(stat -c %s "$TOLVANE_EXE") bytes; Skin.dll: $(stat -c %s "$TOLVANE_BUILD/engine/Skin.dll") bytes"
wine "$TOLVANE_BUILD/bin/ui_bench.exe"
