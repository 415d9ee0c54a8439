#!/usr/bin/env bash
# Starts Tolvane in an Xvfb of our own, saves a screenshot of the virtual
# desktop, then ends that Wine and that Xvfb. With a second file name it also
# presses the "关于本程序" tab and saves the about page there.
# TOLVANE_SHOT_WINDOW=1 keeps only the window, with 6 pixels of desktop
# around it. TOLVANE_SHOT_TIMEOUT: seconds to wait for each step (60).
# TOLVANE_SHOT_DPI: the display scale in dots per inch (96, the default; 144
# is 150 %). Wine reads it from the registry when a program starts; the
# prefix gets 96 back at the end.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-$root/build/screenshot.png}")
about=${2:+$(realpath -m "$2")}
limit=${TOLVANE_SHOT_TIMEOUT:-60}
dpi=${TOLVANE_SHOT_DPI:-96}
unset TOLVANE_USE_DISPLAY
fail() { echo "screenshot: $*" >&2; exit 1; }
set_dpi() { wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
# A length of the window's design (96-dpi pixels) at this scale, rounded as MulDiv rounds.
px() { echo $((($1 * dpi + 48) / 96)); }
scaled=''
trap '[ -z "$scaled" ] || set_dpi 96; "$root/scripts/wine-session" stop' EXIT
"$root/scripts/wine-session" start
. "$root/scripts/wine-env.sh"
if [ "$dpi" != 96 ]; then
  scaled=1
  set_dpi "$dpi" || fail "cannot set the display scale to $dpi dpi"
fi
cd "$TOLVANE_BUILD/bin"
wine explorer /desktop=Tolvane,1024x768 tolvane.exe >/dev/null 2>&1 &

# A digest of the desktop's pixels in an area WxH+X+Y.
pixels() { import -display "$DISPLAY" -window root -crop "$1" +repage rgb:- | md5sum; }
# Waits until an area looks the same for a second: the window is mapped
# before it is painted, and a page switch paints after the click.
settle() {
  local last='' now same=0 i
  for ((i = 0; i < limit * 5; i++)); do
    now=$(pixels "$1")
    if [ "$now" = "$last" ]; then
      same=$((same + 1))
      [ "$same" -ge 5 ] && return 0
    else
      same=0
    fi
    last=$now
    sleep 0.2
  done
  fail "the window did not settle within ${limit}s"
}

# In the virtual desktop each top-level window is an X window of its own, so
# X tells where the main window lies (its title, from toolkit/control_table.cpp).
win=''
for ((i = 0; i < limit * 5; i++)); do
  win=$(xdotool search --onlyvisible --name '^TolvaneV1\.0$' 2>/dev/null | head -n 1) || true
  [ -n "$win" ] && break
  sleep 0.2
done
[ -n "$win" ] || fail "no window \"TolvaneV1.0\" within ${limit}s"
read -r x y w h < <(xwininfo -id "$win" | awk -F: '
  /Absolute upper-left X/ {x = $2} /Absolute upper-left Y/ {y = $2}
  /Width/ {w = $2} /Height/ {h = $2} END {print x, y, w, h}')
# The clock line at the bottom changes every second; the rest must settle.
above_clock="${w}x$((h - $(px 40)))+$x+$y"
settle "$above_clock"

area=1024x768+0+0
[ -n "${TOLVANE_SHOT_WINDOW:-}" ] && area="$((w + 12))x$((h + 12))+$((x - 6))+$((y - 6))"
import -display "$DISPLAY" -window root -crop "$area" +repage "$out"
echo "screenshot: $out"
if [ -n "$about" ]; then
  # A point of the second tab, from the window's corner: the frame's left
  # border (3) and its border and caption (22 at 96 dpi: 4 and a caption of
  # 18 that Wine scales) in this prefix, the page control at (8, 8) of the
  # client area (toolkit/control_table.cpp), and in it the tab row from 2 to 22,
  # where the second tab spans about 54 to 125 (controls/tab_layout.cpp), all
  # at the display scale. A tab press only switches the page: no web page is
  # opened. The mouse then leaves the window, so nothing shows hot.
  before=$(pixels "$above_clock")
  xdotool mousemove $((x + 3 + $(px 8) + $(px 89))) $((y + 4 + $(px 18) + $(px 8) + $(px 10))) click 1 mousemove 0 0
  for ((i = 0; ; i++)); do
    [ "$(pixels "$above_clock")" != "$before" ] && break
    [ "$i" -lt $((limit * 5)) ] || fail "the about page did not show within ${limit}s"
    sleep 0.2
  done
  settle "$above_clock"
  import -display "$DISPLAY" -window root -crop "$area" +repage "$about"
  echo "screenshot: $about"
fi
