#!/usr/bin/env bash
# Runs a test program against a copy of the program moved onto the engine's
# linked base: the program runs away from its own linked base, every address
# moved through its relocation table, and the engine, finding its base
# taken, is moved by the loader through its own. Vista and later move both
# at every start; Wine, left alone, moves neither.
# usage: relocated.sh ENGINE.DLL TEST.EXE ARGS...
# TOLVANE_RELOCATION_FAULT=1 leaves a block out of the copy's table, to see
# the test program fail on it.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
engine=$1
shift
copy=$TOLVANE_BUILD/tests/relocated
mkdir -p "$copy"
base=$(i686-w64-mingw32-objdump -p "$engine" | awk '$1 == "ImageBase" { print "0x" $2 }')
python3 "$here/rebase_image.py" ${TOLVANE_RELOCATION_FAULT:+--drop-first-block} "$TOLVANE_EXE" "$copy/tolvane.exe" "$base"
# The stack guard's row finds the guard through the map beside the program.
cp "${TOLVANE_EXE%.exe}.map" "$copy/tolvane.map"
TOLVANE_LINKED_EXE=$TOLVANE_EXE TOLVANE_EXE=$copy/tolvane.exe exec "$here/../../scripts/wine-run" "$@"
