#!/usr/bin/env bash
# Builds host (tests, tools; with sanitizers), win32 (the product) and win64 (runs under wine64).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=$(nproc)
cmake -S . -B build/host -G Ninja -DCMAKE_BUILD_TYPE=Debug -DINSTALLER_SANITIZE=ON >/dev/null
ninja -C build/host -j "$jobs"
paypack=$root/build/host/tools/paypack/paypack
for arch in i686 x86_64; do
  dir=build/win32; [ "$arch" = x86_64 ] && dir=build/win64
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$arch-w64-mingw32.cmake" -DPAYPACK="$paypack" >/dev/null
  ninja -C "$dir" -j "$jobs"
done
