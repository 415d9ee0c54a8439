#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine, as root.
# Idempotent: each step checks first, so a second run costs a few seconds.
set -euo pipefail

need_pkgs=()
want() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed" || need_pkgs+=("$1"); }

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

stale=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
  stale=1
fi

# Source entries (apt-get source, scripts/build-jpeg.sh) are derived from the
# machine's own binary entries, so no archive host is ever written down here:
# Debian's stanzas of the .sources files and Debian's lines of a classic
# sources.list, both written as stanzas into one file, checked for by that
# name. TOLVANE_APT_DIR stands for /etc/apt in a test of this step.
apt_dir=${TOLVANE_APT_DIR:-/etc/apt}
src_list=$apt_dir/sources.list.d/tolvane-src.sources
if [ ! -f "$src_list" ]; then
  entries=$(
    for f in "$apt_dir"/sources.list.d/*.sources; do
      [ -f "$f" ] && [ "$f" != "$src_list" ] || continue
      # keep only stanzas that point at Debian's own suites
      awk 'BEGIN{RS="";ORS="\n\n"} /Suites:[ \t]*bookworm/ && /debian-archive-keyring/ {print}' "$f" |
        sed -E 's/^Types:.*/Types: deb-src/'
    done
    # "deb [arch=.. signed-by=..] URI SUITE COMPONENT..." as a stanza
    [ ! -f "$apt_dir/sources.list" ] || grep -E '^deb[[:space:]]' "$apt_dir/sources.list" | grep -i debian |
      awk '{ sub(/\[ */, "["); sub(/ *\]/, "]"); o = ""; i = 2
             if ($2 ~ /^\[/) { while (i <= NF) { t = $i; gsub(/[][]/, "", t); split(t, kv, "=")
                 if (kv[1] == "arch") { gsub(/,/, " ", kv[2]); o = o "Architectures: " kv[2] "\n" }
                 if (kv[1] == "signed-by") o = o "Signed-By: " kv[2] "\n"
                 if (kv[1] == "trusted") o = o "Trusted: " kv[2] "\n"
                 if ($(i++) ~ /\]$/) break } }
             c = $(i + 2); for (j = i + 3; j <= NF && $j !~ /^#/; j++) c = c " " $j
             printf "Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\n%s\n", $i, $(i + 1), c, o }' || true
  )
  if [ -n "$entries" ]; then
    printf '%s\n' "$entries" | $SUDO tee "$src_list" >/dev/null
    # the name earlier versions wrote for a classic sources.list, every time
    $SUDO rm -f "$apt_dir/sources.list.d/tolvane-src.list"
    stale=1
  else
    echo "setup-deps: no Debian entry in $apt_dir to derive source entries from; apt-get source will fail" >&2
  fi
fi

for p in gcc-mingw-w64-i686 g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686 \
         cmake ninja-build make dpkg-dev xvfb x11-utils xdotool imagemagick fonts-wqy-zenhei fonts-arphic-uming locales \
         googletest libgtest-dev clang clang-format clang-tidy libclang-rt-14-dev llvm wine wine32:i386 python3; do
  want "$p"
done

# New architectures or source entries, or packages to fetch: the lists must be current.
if [ $stale -eq 1 ] || [ ${#need_pkgs[@]} -gt 0 ]; then
  $SUDO apt-get update -qq
fi
if [ ${#need_pkgs[@]} -gt 0 ]; then
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need_pkgs[@]}"
fi

# Wine is run with code page 936 as the ANSI code page.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf-\?8$'; then
  $SUDO localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
