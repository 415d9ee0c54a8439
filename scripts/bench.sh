#!/usr/bin/env bash
# Builds, then times under Wine: the window's hot paths in-process, and the
# start of tolvane.exe against its floor (OLE, the home page, a plain window)
# and a bare window, alternating. Prints Markdown tables; the README's numbers
# come from here. Last, the CPU that tolvane.exe takes while it only shows
# its clock, against the same form of system controls. Arguments: the number
# of start runs (default 15), the seconds of the idle measure (default 120).
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

# Idle: both on the one desktop, apart, doing nothing but their clocks. Each
# one's CPU over the same seconds is the kernel's run time of all its threads,
# to the nanosecond (process times count in 10 ms steps: a few steps a minute).
echo
idle=${2:-120}
cpu_ns() {
  local f run rest sum=0
  for f in /proc/"$1"/task/*/schedstat; do read -r run rest <"$f" && sum=$((sum + run)); done
  echo "$sum"
}
wine "$TOLVANE_BUILD/tests/bench_floor.exe" idle & floor=$!
wine "$TOLVANE_EXE" & program=$!
sleep 10  # both started, their first paints done
f0=$(cpu_ns "$floor") p0=$(cpu_ns "$program")
sleep "$idle"
f1=$(cpu_ns "$floor") p1=$(cpu_ns "$program")
kill "$floor" "$program" 2>/dev/null || true
wait "$floor" "$program" 2>/dev/null || true
awk -v s="$idle" -v f=$((f1 - f0)) -v p=$((p1 - p0)) 'BEGIN {
  printf "| idle, %d s on one desktop | CPU |\n|---|---|\n", s
  printf "| floor (the form in system controls, the clock line in a static) | %.1f ms |\n", f / 1e6
  printf "| tolvane.exe | %.1f ms (%.2f) |\n", p / 1e6, p / f
  printf "\nratio of tolvane.exe to the floor while idle: %.2f (goal <= 1.30)\n", p / f }'
