#!/usr/bin/env bash
# Builds tolvane.exe, only what is missing or out of date in $TOLVANE_BUILD
# (default: build/), and packs it with the users' read-me into
# $TOLVANE_DIST/tolvane-<version>.zip (default: dist/). Prints the zip's path
# and the exe's SHA-256. The zip, too, is the same bytes for the same commit:
# its entries in a fixed order, dated at the commit.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVANE_BUILD:-$root/build}
dist=${TOLVANE_DIST:-$root/dist}

version=$(awk '$1 == "#define" && $2 ~ /^TOLVANE_VERSION_(MAJOR|MINOR|PATCH|BUILD)$/ { v[$2] = $3 }
  END { print v["TOLVANE_VERSION_MAJOR"] "." v["TOLVANE_VERSION_MINOR"] "." v["TOLVANE_VERSION_PATCH"] "." v["TOLVANE_VERSION_BUILD"] }' \
  "$root/resources/version.h")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "release: no version in resources/version.h ($version)" >&2; exit 1; }

"$root/scripts/setup-deps.sh"
TOLVANE_BUILD=$build "$root/scripts/build.sh" tolvane >/dev/null
exe=$build/bin/tolvane.exe
sha=$(sha256sum "$exe" | cut -d' ' -f1)
# Zip times have no zone; the commit's time in UTC is the same everywhere.
# A tree without .git of its own (a source archive, perhaps unpacked inside
# another clone) has no commit to date it by.
epoch=${SOURCE_DATE_EPOCH:-$([ -e "$root/.git" ] && git -C "$root" log -1 --format=%ct 2>/dev/null || echo 315532800)}

mkdir -p "$dist"
zip=$dist/tolvane-$version.zip
python3 - "$root/resources/release_readme.txt" "$exe" "$version" "$sha" "$epoch" "$zip" <<'PY'
import os, sys, time, zipfile
readme, exe, version, sha, epoch, out = sys.argv[1:]
# Notepad on a Chinese Windows reads a file without a byte order mark in code
# page 936 and wants CR LF line ends.
text = open(readme, encoding="utf-8").read().replace("@VERSION@", version).replace("@SHA256@", sha)
text = text.replace("\r\n", "\n").replace("\n", "\r\n").encode("cp936")
stamp = time.gmtime(max(int(epoch), 315532800))[:6]
def entry(name):
    info = zipfile.ZipInfo(name, stamp)
    info.create_system = 0  # MS-DOS attributes, whoever packs it
    info.external_attr = 0x20
    info.compress_type = zipfile.ZIP_DEFLATED
    return info
# Written whole or not at all: a reader never finds half a zip under the name.
tmp = out + ".tmp"
with zipfile.ZipFile(tmp, "w") as z:
    z.writestr(entry("tolvane.exe"), open(exe, "rb").read(), compresslevel=9)
    z.writestr(entry("README.txt"), text, compresslevel=9)
os.replace(tmp, out)
PY
echo "$zip"
echo "$sha  tolvane.exe"
