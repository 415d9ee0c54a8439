#!/usr/bin/env bash
# Runs the input sweep (tests/e2e/sweep_test.cpp) with any seed for as long
# as asked, in the build's own Xvfb and Wine prefix, as ctest runs it:
#   scripts/sweep.sh [seed] [seconds]
# The seed defaults to one taken from the clock, the time to 600 seconds. A
# failure names the seed and the step; the same seed replays the same inputs,
# and TOLVANE_SWEEP_FROM=n (which a failure prints) replays them from the
# program's start before it, drawing the steps before n without sending them.
# TOLVANE_SWEEP_VERBOSE=1 prints every step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export TOLVANE_BUILD=${TOLVANE_BUILD:-$root/build}
export TOLVANE_SWEEP_SEED=${1:-$(date +%s)}
export TOLVANE_SWEEP_SECONDS=${2:-600}
"$root/scripts/build.sh" e2e_sweep_test
export TOLVANE_SOURCE=$root TOLVANE_EXE=$TOLVANE_BUILD/bin/tolvane.exe TOLVANE_TEST_BIN=$TOLVANE_BUILD/tests
trap '"$root/scripts/wine-session" stop' EXIT
"$root/scripts/wine-session" start
cd "$TOLVANE_BUILD/tests"
echo "sweep: seed $TOLVANE_SWEEP_SEED for $TOLVANE_SWEEP_SECONDS s"
"$root/scripts/wine-run" "$TOLVANE_BUILD/bin/e2e_sweep_test.exe" --gtest_brief=1
