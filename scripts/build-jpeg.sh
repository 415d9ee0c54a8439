#!/usr/bin/env bash
# Cross-compiles libjpeg-turbo from Debian's source package into a static
# library, once: later builds find the stamp and reuse it. The library only
# ever decodes the banner (one interleaved baseline Huffman scan, 4:2:0, to
# 32-bit BGRX at full size), so everything else the decoder can do is left
# out: it is most of the library's share of the executable. A banner made
# another way (progressive, arithmetic, multi-scan) would fail to decode
# and the picture box would stay empty, as for a corrupt one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
deps=$root/.deps
prefix=$deps/libjpeg-turbo-i686
# The stamp names the configuration: a change to it rebuilds existing trees.
stamp=$prefix/.built-banner-only-1
[ -f "$stamp" ] && exit 0

mkdir -p "$deps/src"
cd "$deps/src"
if ! ls -d libjpeg-turbo-*/ >/dev/null 2>&1; then
  apt-get source -qq libjpeg-turbo >/dev/null 2>&1 || apt-get source -q libjpeg-turbo
fi
src=$(ls -d "$deps"/src/libjpeg-turbo-*/ | head -n 1)
# Decoder options the banner never needs. Turning a "#define" into an
# "#undef" is idempotent, so an already patched tree is left as it is.
for option in D_MULTISCAN_FILES_SUPPORTED D_PROGRESSIVE_SUPPORTED \
    BLOCK_SMOOTHING_SUPPORTED SAVE_MARKERS_SUPPORTED IDCT_SCALING_SUPPORTED \
    UPSAMPLE_MERGING_SUPPORTED QUANT_1PASS_SUPPORTED QUANT_2PASS_SUPPORTED \
    DCT_IFAST_SUPPORTED DCT_FLOAT_SUPPORTED; do
  sed -i "s/^#define \( *\)$option\b/#undef  \1$option/" "$src/jmorecfg.h"
  grep -q "^#undef  *$option\b" "$src/jmorecfg.h"
done
rm -rf "$deps/jpeg-build"
cmake -S "$src" -B "$deps/jpeg-build" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw32.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_C_FLAGS_MINSIZEREL="-Os -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables -DNO_GETENV -DNO_PUTENV" -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
  -DWITH_ARITH_DEC=OFF -DWITH_ARITH_ENC=OFF \
  -DWITH_JAVA=OFF -DCMAKE_CROSSCOMPILING_EMULATOR= -Wno-dev >/dev/null
cmake --build "$deps/jpeg-build" --target jpeg-static >/dev/null
cmake --install "$deps/jpeg-build" >/dev/null 2>&1 || true
mkdir -p "$prefix/lib" "$prefix/include"
cp "$deps/jpeg-build/libjpeg.a" "$prefix/lib/"
cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$deps/jpeg-build/jconfig.h" "$prefix/include/"
touch "$stamp"
