#!/usr/bin/env bash
# Starts Tolvane in an Xvfb of our own, saves a screenshot of the virtual
# desktop, then ends that Wine and that Xvfb. With a second file name it also
# presses the "关于本程序" tab and saves the about page there.
# TOLVANE_SHOT_WINDOW=1 keeps only the window (it is centred on the desktop).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build/screenshot.png}")
about=${2:+$(realpath -m "$2")}
unset TOLVANE_USE_DISPLAY
"$root/scripts/wine-session" start
. "$root/scripts/wine-env.sh"
trap '"$root/scripts/wine-session" stop' EXIT
area=1024x768+0+0
[ -n "${TOLVANE_SHOT_WINDOW:-}" ] && area=392x262+316+253
cd "$TOLVANE_BUILD/bin"
wine explorer /desktop=Tolvane,1024x768 tolvane.exe >/dev/null 2>&1 &
sleep "${TOLVANE_SHOT_DELAY:-5}"
import -display "$DISPLAY" -window root -crop $area +repage "$out"
echo "screenshot: $out"
if [ -n "$about" ]; then
  # The window is centred on the 1024x768 desktop, so its second tab lies at a
  # fixed point. A tab press only switches the page: no web page is opened.
  xdotool mousemove 422 299 click 1 mousemove 600 700
  sleep 1
  import -display "$DISPLAY" -window root -crop $area +repage "$about"
  echo "screenshot: $about"
fi
