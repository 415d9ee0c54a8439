#!/usr/bin/env bash
# The program and its engine must load on every Windows from XP SP3 on:
# 32-bit x86 PE images with headers XP's loader accepts, importing only
# functions listed in the allowlist (each with its documented minimum client,
# none later than XP), comctl32 by ordinal only, nothing delay-loaded. Both
# are GUI images (Windows ignores a DLL's subsystem; readers of it do not);
# the DLL, the engine, exports exactly SkinH_Attach_Ex, undecorated. Only
# known DLLs are imported statically.
# usage: check_imports.sh ALLOWLIST IMAGE...
set -eu
allow=$1
shift
bad=0
fail() { echo "$1: $2"; bad=1; }

while read -r dll import client _; do
  case "$dll" in '' | '#'*) continue ;; esac
  case "$client" in 2000 | XP) ;; *) fail "$(basename "$allow")" "$dll $import: client '$client' is not XP or earlier" ;; esac
done <"$allow"

all_imports=
static_dlls="advapi32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll"
for image in "$@"; do
  name=$(basename "$image")
  dump=$(i686-w64-mingw32-objdump -p "$image")
  field() { echo "$dump" | awk -v k="$1" '$1 == k { print $2; exit }'; }
  echo "$dump" | grep -q 'file format pei-i386' || fail "$name" "not a 32-bit x86 PE image"
  [ "$(field Magic)" = 010b ] || fail "$name" "not a PE32 header"

  # XP is Windows 5.1; its loader refuses an image that asks for more.
  os="$(field MajorOSystemVersion).$(field MinorOSystemVersion)"
  sub="$(field MajorSubsystemVersion).$(field MinorSubsystemVersion)"
  for v in "$os" "$sub"; do
    awk -v v="$v" 'BEGIN { split(v, p, "."); exit !(p[1] < 5 || (p[1] == 5 && p[2] <= 1)) }' ||
      fail "$name" "header asks for Windows $v; XP is 5.1 (OS $os, subsystem $sub)"
  done

  # Delay-loaded imports would escape the check below.
  delay=$(echo "$dump" | awk '/Delay Import Directory/ { print $4; exit }')
  [ "${delay:-0}" = 00000000 ] || [ -z "$delay" ] || fail "$name" "has delay-loaded imports"

  chars=$(field Characteristics)
  if (((chars & 0x2000) != 0)); then
    exports=$(echo "$dump" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\[/ && !/Table/ { print $NF }')
    [ "$exports" = SkinH_Attach_Ex ] || fail "$name" "exports '$exports', not SkinH_Attach_Ex alone"
    # XP's loader gives a DLL loaded at run time neither a TLS slot nor its
    # TLS callbacks (the runtime's own initialiser is run from its entry
    # point instead): the DLL must hold no thread-local data beyond the
    # runtime's two markers.
    tls=$(i686-w64-mingw32-objdump -h "$image" | awk '$2 == ".tls" { print $3 }')
    [ -z "$tls" ] || (((16#$tls) <= 8)) || fail "$name" "holds $((16#$tls)) bytes of thread-local data"
    # The engine is linked without the runtime's start-up code, so nothing
    # would run a static constructor or a TLS callback: it must have none.
    init=$(i686-w64-mingw32-objdump -h "$image" | awk '$2 ~ /^\.(ctors|dtors|CRT|tls)/ && $3 !~ /^0+$/ { print $2 }')
    [ -z "$init" ] || fail "$name" "holds start-up sections ($(echo $init)) that nothing runs"
  fi
  [ "$(field Subsystem)" = 00000002 ] || fail "$name" "not a GUI subsystem image"

  imports=$(echo "$dump" | awk '
    /DLL Name:/ { dll = tolower($3); next }
    /^$/ { dll = "" }
    dll != "" && /^\t[0-9a-f]+\t/ && NF >= 3 { print dll, ($3 == "<none>" ? "@" $2 : $3) }')
  all_imports+=$imports$'\n'
  # The loader resolves static imports before any code of ours runs, by a
  # search that starts in the program's own folder; only the known DLLs of
  # Windows 7 and 10 are taken from the system folder whatever lies there.
  for dll in $(echo "$imports" | awk '{ print $1 }' | sort -u); do
    case " $static_dlls " in *" $dll "*) ;; *) fail "$name" "imports $dll statically, which is no known DLL on Windows 7 and 10: load it at run time from the system folder" ;; esac
  done
  echo "$imports" | awk -v img="$name" '
    NR == FNR { if ($1 !~ /^#/ && NF >= 3) { known[tolower($1)] = 1; listed[tolower($1) " " $2] = 1 } next }
    $1 == "comctl32.dll" && $2 !~ /^@/ {
      print img ": imports comctl32.dll " $2 " by name; comctl32 5.82 has the subclass helpers by ordinal only"; bad = 1; next }
    !($1 in known) { print img ": imports " $1 " (" $2 "), a DLL not known on XP: load it at run time"; bad = 1; next }
    !(($1 " " $2) in listed) {
      print img ": imports " $1 " " $2 ", which the allowlist lacks: add it with its documented minimum client"; bad = 1 }
    END { exit bad }' "$allow" - || bad=1

  echo "$name: $(stat -c %s "$image") bytes, OS $os, subsystem $sub, imports:" \
    "$(echo "$imports" | awk '{ n[$1]++ } END { for (d in n) printf "%s(%d) ", d, n[d] }')"
done

# Lines nothing imports any more are noted, not failed.
echo "$all_imports" | awk 'NR == FNR { if (NF) seen[$1 " " $2] = 1; next }
  $1 !~ /^#/ && NF >= 3 && !((tolower($1) " " $2) in seen) { print "note: not imported any more: " $1 " " $2 }' - "$allow"
exit $bad
