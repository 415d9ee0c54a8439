#!/usr/bin/env bash
# A release is checked against a build of one's own, byte for byte.
#   binaries EXE DLL FOLDER...: no time stamp and none of the folders in
#     either image, the product's version block in each, every resource in
#     the language that block declares, the engine embedded as built, the
#     program terminal-server aware, both hardened;
#   zip BUILD: scripts/release.sh packs that build's exe, the same bytes in
#     any time zone.
set -eu
bad=0
fail() { echo "$1: $2"; bad=1; }
value() { i686-w64-mingw32-windres -i "$1" -O rc | awk -v k="\"$2\"," '$1 == "VALUE" && $2 == k { sub(/^[^,]*, */, ""); print }'; }

if [ "$1" = binaries ]; then
  exe=$2 dll=$3
  shift 3
  paths=("$@")
  for folder; do [ "$(realpath -m "$folder")" = "$folder" ] || paths+=("$(realpath -m "$folder")"); done
  for image in "$exe" "$dll"; do
    name=$(basename "$image")
    # The file header's, the export directory's and the resource tables' stamps.
    stamps=$(i686-w64-mingw32-objdump -p "$image" |
      awk '/^Time\/Date\t/ && !/ 1970$/ || /^Time\/Date stamp/ && $NF != 0 || /Time: / && !/Time: 00000000,/')
    [ -z "$stamps" ] || fail "$name" "carries a time stamp: $stamps"
    for path in "${paths[@]}"; do ! grep -qaF "$path" "$image" || fail "$name" "holds the path $path"; done
    [ "$(value "$image" OriginalFilename)" = "\"$name\"" ] || fail "$name" "no version block of its own"
    # A reader lists resources by language: each one under the language the
    # block's translation names (windres says LANGUAGE at each change).
    translation=$(value "$image" Translation)
    translation=${translation%%,*}
    langs=$(i686-w64-mingw32-windres -i "$image" -O rc | awk '$1 == "LANGUAGE"' | sort -u)
    [ -n "$translation" ] && [ "$langs" = "LANGUAGE $((translation & 0x3ff)), $((translation >> 10))" ] ||
      fail "$name" "resources not in the language its version block declares ($translation): $(echo $langs)"
    for key in CompanyName ProductName ProductVersion; do
      [ -n "$(value "$image" $key)" ] && [ "$(value "$image" $key)" = "$(value "$exe" $key)" ] ||
        fail "$name" "$key '$(value "$image" $key)' is not the program's"
    done
  done
  python3 -c 'import sys; sys.exit(open(sys.argv[2], "rb").read() not in open(sys.argv[1], "rb").read())' "$exe" "$dll" ||
    fail "$exe" "does not embed $dll as built"
  chars=$(i686-w64-mingw32-objdump -p "$exe" | awk '$1 == "DllCharacteristics" { print $2 }')
  (((16#$chars & 0x8000) != 0)) || fail "$exe" "not terminal-server aware (DllCharacteristics $chars)"
  # The hardening of CMakeLists.txt, in both: a dynamic base and no code run
  # from data (0x0140); no SEH handler (0x0400), and indeed none registered
  # through %fs:0 in the code; the stack guard, whose check after each
  # protected function's body subtracts the one guard variable from the
  # frame's copy and jumps on the result, dozens of times.
  for image in "$exe" "$dll"; do
    name=$(basename "$image")
    chars=$(i686-w64-mingw32-objdump -p "$image" | awk '$1 == "DllCharacteristics" { print $2 }')
    (((16#$chars & 0x0540) == 0x0540)) ||
      fail "$name" "DllCharacteristics $chars lacks dynamic base, NX compatibility or no SEH (0x0540)"
    code=$(i686-w64-mingw32-objdump -d "$image")
    ! echo "$code" | grep -qE ',%fs:0x0$' || fail "$name" "registers an SEH handler (writes %fs:0), yet says it has none"
    checks=$(echo "$code" | awk '/\tsub +0x[0-9a-f]+,%e[a-z]+$/ { split($NF, a, ","); guard = a[1]; next }
      guard != "" && /\tj(n)?e / { n[guard]++ } { guard = "" } END { for (g in n) if (n[g] > most) most = n[g]; print most + 0 }')
    ((checks >= 10)) || fail "$name" "$checks stack guard checks: built without -fstack-protector-strong?"
  done
  exit $bad
fi

build=$2 release=$(dirname "$0")/../scripts/release.sh
out=$(TOLVANE_BUILD=$build TOLVANE_DIST=$build/release-test "$release")
again=$(TZ=Asia/Shanghai TOLVANE_BUILD=$build TOLVANE_DIST=$build/release-test/again "$release")
cmp "${out%%$'\n'*}" "${again%%$'\n'*}" || fail release.sh "two runs give different zips"
python3 - "$out" "$build/bin/tolvane.exe" "$(value "$build/bin/tolvane.exe" FileVersion)" <<'PY' || bad=1
import hashlib, sys, zipfile
(zip_path, sha_line), exe, version = sys.argv[1].splitlines(), open(sys.argv[2], "rb").read(), sys.argv[3].strip('"')
sha, z = hashlib.sha256(exe).hexdigest(), zipfile.ZipFile(zip_path)
names = z.namelist()
readme = z.read("README.txt") if "README.txt" in names else b""
problems = [problem for problem, failed in [
        ("not named for the program's version " + version, not zip_path.endswith("/tolvane-%s.zip" % version)),
        ("holds %s, not tolvane.exe and README.txt" % names, names != ["tolvane.exe", "README.txt"]),
        ("its tolvane.exe is not the build's", "tolvane.exe" not in names or z.read("tolvane.exe") != exe),
        ("README.txt is not this version's read-me in code page 936",
         "Tolvane %s 使用说明" % version not in readme.decode("cp936", "replace")),
        ("README.txt has a line end other than CR LF", readme.count(b"\n") != readme.count(b"\r\n")),
        ("README.txt lacks the exe's SHA-256", sha.encode() not in readme),
        ("printed %r, not the exe's SHA-256" % sha_line, sha_line != sha + "  tolvane.exe")] if failed]
for problem in problems:
    print("release zip:", problem)
sys.exit(bool(problems))
PY
exit $bad
