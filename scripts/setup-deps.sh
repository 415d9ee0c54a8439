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

# Source entries are derived from the machine's own binary entries, so no
# archive host is ever written down here.
src_list=/etc/apt/sources.list.d/tolvane-src.sources
if [ ! -f "$src_list" ]; then
  tmp=$(mktemp)
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$src_list" ] || continue
    # keep only stanzas that point at Debian's own suites
    awk 'BEGIN{RS="";ORS="\n\n"} /Suites:[ \t]*bookworm/ && /debian-archive-keyring/ {print}' "$f" >>"$tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    grep -E '^deb[[:space:]]' /etc/apt/sources.list | grep -i debian |
      sed -E 's/^deb[[:space:]]/deb-src /' >/etc/apt/sources.list.d/tolvane-src.list || true
  fi
  if [ -s "$tmp" ]; then
    sed -E 's/^Types:.*/Types: deb-src/' "$tmp" | $SUDO tee "$src_list" >/dev/null
  fi
  rm -f "$tmp"
  stale=1
fi

for p in gcc-mingw-w64-i686 g++-mingw-w64-i686 mingw-w64-i686-dev binutils-mingw-w64-i686 \
         cmake ninja-build make dpkg-dev xvfb x11-utils xdotool imagemagick fonts-wqy-zenhei fonts-arphic-uming locales \
         googletest libgtest-dev clang libclang-rt-14-dev llvm wine wine32:i386 python3; do
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
