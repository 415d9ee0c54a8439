#!/usr/bin/env bash
# A release is checked against a build of one's own, byte for byte.
#   binaries EXE DLL FOLDER...: neither image carries a time stamp or any of
#     the folders, each carries the product's version block, the program
#     holds this very DLL and is terminal-server aware;
#   zip BUILD: scripts/release.sh packs that build's exe, twice the same bytes.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
bad=0
fail() { echo "$1: $2"; bad=1; }
value() { i686-w64-mingw32-windres -i "$1" -O rc | awk -v k="\"$2\"," '$1 == "VALUE" && $2 == k { sub(/^[^,]*, */, ""); print }'; }

if [ "$1" = binaries ]; then
  exe=$2 dll=$3
  shift 3
  paths=()
  for folder; do
    paths+=("$folder")
    [ "$(realpath -m "$folder")" = "$folder" ] || paths+=("$(realpath -m "$folder")")
  done
  for image in "$exe" "$dll"; do
    name=$(basename "$image")
    dump=$(i686-w64-mingw32-objdump -p "$image")
    # The file header's, the export directory's and the resource tables' stamps.
    stamps=$(echo "$dump" | awk '/^Time\/Date\t/ && !/ 1970$/ || /^Time\/Date stamp/ && $NF != 0 || /Time: / && !/Time: 00000000,/')
    [ -z "$stamps" ] || fail "$name" "carries a time stamp: $stamps"
    for path in "${paths[@]}"; do
      ! grep -qaF "$path" "$image" || fail "$name" "holds the path $path"
    done
    [ "$(value "$image" OriginalFilename)" = "\"$name\"" ] || fail "$name" "no version block of its own"
    for key in CompanyName ProductName ProductVersion; do
      [ -n "$(value "$image" $key)" ] && [ "$(value "$image" $key)" = "$(value "$exe" $key)" ] ||
        fail "$name" "$key '$(value "$image" $key)' is not the program's"
    done
  done
  python3 -c 'import sys; sys.exit(open(sys.argv[2], "rb").read() not in open(sys.argv[1], "rb").read())' "$exe" "$dll" ||
    fail "$(basename "$exe")" "does not embed $dll as built"
  chars=$(i686-w64-mingw32-objdump -p "$exe" | awk '$1 == "DllCharacteristics" { print $2 }')
  (((16#$chars & 0x8000) != 0)) || fail "$(basename "$exe")" "not terminal-server aware (DllCharacteristics $chars)"
  exit $bad
fi

build=$2
out=$(TOLVANE_BUILD=$build TOLVANE_DIST=$build/release-test "$root/scripts/release.sh")
again=$(TOLVANE_BUILD=$build TOLVANE_DIST=$build/release-test/again "$root/scripts/release.sh")
cmp "$(echo "$out" | sed -n 1p)" "$(echo "$again" | sed -n 1p)" || fail release.sh "two runs give different zips"
python3 - "$out" "$build/bin/tolvane.exe" "$(value "$build/bin/tolvane.exe" FileVersion)" <<'PY' || bad=1
import hashlib, os, sys, zipfile
out, exe, version = sys.argv[1:]
zip_path, sha_line = out.splitlines()
exe_bytes = open(exe, "rb").read()
sha = hashlib.sha256(exe_bytes).hexdigest()
problems = []
if os.path.basename(zip_path) != "tolvane-%s.zip" % version.strip('"'):
    problems.append("%s is not named for the program's version %s" % (zip_path, version))
z = zipfile.ZipFile(zip_path)
if z.namelist() != ["tolvane.exe", "README.txt"]:
    problems.append("holds %s" % z.namelist())
elif z.read("tolvane.exe") != exe_bytes:
    problems.append("its tolvane.exe is not the build's")
else:
    readme = z.read("README.txt")
    if readme.count(b"\n") != readme.count(b"\r\n") or sha not in readme.decode("cp936"):
        problems.append("README.txt: not CR LF lines, or not the exe's SHA-256")
if sha_line != sha + "  tolvane.exe":
    problems.append("printed %r, not the exe's SHA-256" % sha_line)
for p in problems:
    print("release zip:", p)
sys.exit(bool(problems))
PY
exit $bad
