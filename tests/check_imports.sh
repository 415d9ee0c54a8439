#!/usr/bin/env bash
# The program must be one self-contained 32-bit GUI exe that imports system DLLs only.
set -eu
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
echo "$dump" | grep -q 'file format pei-i386' || { echo "not a 32-bit PE image"; exit 1; }
echo "$dump" | grep -qE 'Subsystem[[:space:]]+0*2[[:space:]]' || { echo "not a GUI subsystem exe"; exit 1; }
allowed='^(kernel32|user32|gdi32|advapi32|comdlg32|shell32|ole32|comctl32|msvcrt|ntdll|oleaut32|uxtheme|version)\.dll$'
bad=0
for dll in $(echo "$dump" | awk '/DLL Name:/ {print tolower($3)}'); do
  if ! echo "$dll" | grep -qE "$allowed"; then echo "unexpected import: $dll"; bad=1; fi
done
[ $bad -eq 0 ] && echo "imports: $(echo "$dump" | awk '/DLL Name:/ {printf "%s ", $3}')"
exit $bad
