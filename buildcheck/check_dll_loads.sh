#!/usr/bin/env bash
# No DLL of the program or the engine is loaded by a bare name: on Vista to
# 11 that searches the program's own folder first (a download folder), where
# a planted copy would run, elevated on a first start. Loads happen in two
# places only: the held-or-system-folder helper and the engine's binding,
# which loads a full path.
# usage: check_dll_loads.sh SOURCE_DIR
set -eu
cd "$1"
allowed='^(winutil/system_library\.h|skin_setup/win/dll_binding\.cpp):'
# Every layer's folder, as the layer table lists them: a new one is read too.
folders=$(awk '!/^#/ && NF { n = split($2, p, ",")
  for (i = 1; i <= n; i++) { sub(/\/.*/, "", p[i]); if (!seen[p[i]]++) print p[i] } }' buildcheck/layers.txt)
[ -n "$folders" ] || { echo "buildcheck/layers.txt names no folder"; exit 1; }
loads=$(grep -rsnE '\bLoadLibrary(Ex)?[AW]?\b' $folders \
  --include='*.cpp' --include='*.h' | grep -vE '^[^:]+:[0-9]+:\s*//' || true)
bad=$(echo "$loads" | grep -vE "$allowed" | grep . || true)
literal=$(echo "$loads" | grep -E 'LoadLibrary(Ex)?[AW]?\s*\(\s*(L?"|TEXT)' || true)
[ -z "$bad" ] || { echo "loads outside the two places that may load a DLL:"; echo "$bad"; }
[ -z "$literal" ] || { echo "loads of a name written in place:"; echo "$literal"; }
[ -z "$bad$literal" ] && echo "every run-time load goes through the system folder or a full path"
[ -z "$bad$literal" ]
