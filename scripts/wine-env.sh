# Sourced: the Wine environment every run and test of Tolvane uses.
# TOLVANE_BUILD may point at another build folder; the prefix lives inside it.
_here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export TOLVANE_BUILD=${TOLVANE_BUILD:-$_here/build}
export WINEPREFIX=${TOLVANE_WINEPREFIX:-$TOLVANE_BUILD/wine}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# TOLVANE_DLLOVERRIDES adds overrides of a test run, e.g. "dwmapi=" for none.
export WINEDLLOVERRIDES="mscoree,mshtml=${TOLVANE_DLLOVERRIDES:+;$TOLVANE_DLLOVERRIDES}"
export LC_ALL=zh_CN.UTF-8
export FONTCONFIG_FILE=$_here/scripts/fonts.conf
# The display of our own Xvfb, when one was started for this build.
if [ -f "$TOLVANE_BUILD/xvfb.display" ]; then
  export DISPLAY=":$(cat "$TOLVANE_BUILD/xvfb.display")"
fi
