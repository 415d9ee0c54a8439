#!/usr/bin/env bash
# Runs a test program with a 128 KiB tmpfs mounted over the prefix's system
# folder: a real full disk for the program's writes there. Mounting needs
# root; where it is refused the program still runs, and its test says it
# was skipped.
# usage: small_system_folder.sh TEST.EXE ARGS...
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/wine-env.sh"
sys="$WINEPREFIX/drive_c/windows/system"
if mount -t tmpfs -o size=128k,mode=0755 tolvane-small "$sys" 2>/dev/null; then
  # Programs of the run may still hold the folder: wait for them first, and
  # never leave the mount behind.
  trap 'timeout 60 wineserver -w; umount "$sys" 2>/dev/null || umount -l "$sys"' EXIT
  export TOLVANE_SMALL_SYSTEM_FOLDER=1
else
  echo "mounting a tmpfs over $sys was refused: the full-folder test is skipped"
fi
"$here/../../scripts/wine-run" "$@"
