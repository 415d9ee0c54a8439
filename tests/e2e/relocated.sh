#!/usr/bin/env bash
# Runs a test program against a copy of the program moved onto the engine's
# linked base: the program runs off its own base, its addresses moved through
# its relocation table, and the loader moves the engine, whose base is
# taken, through the engine's. Vista and later move both at every start.
# TOLVANE_RELOCATION_FAULT=1 leaves a block out of the copy's table.
# usage: relocated.sh ENGINE.DLL TEST.EXE ARGS...
set -eu
here=$(cd "$(dirname "$0")" && pwd) copy=$TOLVANE_BUILD/tests/relocated
base() { i686-w64-mingw32-objdump -p "$1" | awk '$1 == "ImageBase" { print "0x" $2 }'; }
engine=$(base "$1")
shift
mkdir -p "$copy"
python3 "$here/rebase_image.py" ${TOLVANE_RELOCATION_FAULT:+--drop-first-block} "$TOLVANE_EXE" "$copy/tolvane.exe" "$engine"
cp "${TOLVANE_EXE%.exe}.map" "$copy/tolvane.map"  # where the stack guard's row finds the guard
TOLVANE_LINKED_BASES="$(base "$TOLVANE_EXE") $engine" TOLVANE_EXE=$copy/tolvane.exe exec "$here/../../scripts/wine-run" "$@"
