#!/usr/bin/env bash
# Builds everything into $TOLVANE_BUILD (default: build/): the static
# libjpeg-turbo once, then the program, the engine, the tests; or, given
# target names, only those and what they need.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TOLVANE_BUILD:-$root/build}
"$root/scripts/build-jpeg.sh"
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" >/dev/null
fi
cmake --build "$build" ${1:+--target "$@"}
