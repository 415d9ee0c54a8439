#!/usr/bin/env bash
# Cross-compiles libjpeg-turbo from Debian's source package into a static
# library, once: later builds find the stamp and reuse it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/.deps
prefix=$deps/libjpeg-turbo-i686
[ -f "$prefix/.built" ] && exit 0

mkdir -p "$deps/src"
cd "$deps/src"
if ! ls -d libjpeg-turbo-*/ >/dev/null 2>&1; then
  apt-get source -qq libjpeg-turbo >/dev/null 2>&1 || apt-get source -q libjpeg-turbo
fi
src=$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n 1)
rm -rf "$deps/jpeg-build"
cmake -S "$src" -B "$deps/jpeg-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_C_FLAGS_MINSIZEREL="-Os -ffunction-sections -fdata-sections -DNO_GETENV -DNO_PUTENV" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
  -DWITH_JAVA=OFF -DCMAKE_CROSSCOMPILING_EMULATOR= -Wno-dev >/dev/null
cmake --build "$deps/jpeg-build" --target jpeg-static >/dev/null
cmake --install "$deps/jpeg-build" >/dev/null 2>&1 || true
mkdir -p "$prefix/lib" "$prefix/include"
cp "$deps/jpeg-build/libjpeg.a" "$prefix/lib/"
cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$deps/jpeg-build/jconfig.h" "$prefix/include/"
touch "$prefix/.built"
