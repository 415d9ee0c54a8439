#!/usr/bin/env bash
# Runs a test program whose rows make the prefix's system folder refuse new
# files: the program sets and clears the folder's immutable flag (chattr +i,
# root only) itself. Here it is checked first that the flag can be set on
# this file system; where it cannot, the program still runs, and its test
# says it was skipped. However the program ends, the flag is taken off
# again; a kill of this script too is undone by scripts/wine-session.
# usage: refused_system_folder.sh TEST.EXE ARGS...
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-env.sh"
sys="$WINEPREFIX/drive_c/windows/system"
if chattr +i "$sys" 2>/dev/null && chattr -i "$sys"; then
  trap 'chattr -i "$sys"' EXIT
  trap 'exit 1' HUP INT TERM
  export TOLVANE_REFUSABLE_SYSTEM_FOLDER=$sys
else
  echo "chattr +i on $sys was refused: the refused-folder test is skipped"
fi
"$here/../../scripts/wine-run" "$@"
