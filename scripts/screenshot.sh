#!/usr/bin/env bash
# Starts Tolvane in an Xvfb of our own, saves a screenshot of the virtual
# desktop, then ends that Wine and that Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$root/build/screenshot.png}
unset TOLVANE_USE_DISPLAY
"$root/scripts/wine-session" start
. "$root/scripts/wine-env.sh"
trap '"$root/scripts/wine-session" stop' EXIT
cd "$TOLVANE_BUILD/bin"
wine explorer /desktop=Tolvane,1024x768 tolvane.exe >/dev/null 2>&1 &
sleep "${TOLVANE_SHOT_DELAY:-5}"
import -display "$DISPLAY" -window root -crop 1024x768+0+0 +repage "$out"
echo "screenshot: $out"
