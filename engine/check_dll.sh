#!/usr/bin/env bash
# The engine must be a 32-bit DLL with exactly one export, SkinH_Attach_Ex,
# undecorated, that imports system DLLs only.
set -eu
dll=$1
dump=$(i686-w64-mingw32-objdump -p "$dll")
echo "$dump" | grep -q 'file format pei-i386' || { echo "not a 32-bit PE image"; exit 1; }
exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\[/ && !/Table/ {print $NF}')
[ "$exports" = "SkinH_Attach_Ex" ] || { echo "exports: '$exports'"; exit 1; }
allowed='^(kernel32|user32|gdi32|comctl32|msvcrt|ntdll)\.dll$'
bad=0
for dll_name in $(echo "$dump" | awk '/DLL Name:/ {print tolower($3)}'); do
  echo "$dll_name" | grep -qE "$allowed" || { echo "unexpected import: $dll_name"; bad=1; }
done
echo "export: $exports; size: $(stat -c %s "$dll") bytes"
exit $bad
