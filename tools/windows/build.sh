#!/usr/bin/env bash
# Cross-builds Trelvano for 64-bit Windows on Debian and packs it: writes
# build-windows/trelvano-<version>-win64.zip and, with NSIS,
# build-windows/trelvano-<version>-win64-setup.exe. Qt, FFTW and SLEEF are
# built from Debian's sources once (tools/windows/deps.sh, about 25 minutes on
# 2 cores) and reused from the cache after that (3-6 minutes).
#   tools/windows/build.sh           CI=true makes warnings errors
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/install-deps.sh windows

source tools/windows/prefixes.sh
prefix_path="$QT_PREFIX;$FFTW_PREFIX${SLEEF_PREFIX:+;$SLEEF_PREFIX}"
# FFTW's and SLEEF's pkg-config files, never the host's.
export PKG_CONFIG_LIBDIR="$FFTW_PREFIX/lib/pkgconfig${SLEEF_PREFIX:+:$SLEEF_PREFIX/lib/pkgconfig}"
unset PKG_CONFIG_PATH

cmake -S . -B build-windows -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/windows/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix_path" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DTRELVANO_WINDOWS_DLL_DIRS="$MINGW_RUNTIME_DIR;/usr/x86_64-w64-mingw32/lib" \
  -DTRELVANO_BUILD_TESTS=ON -DTRELVANO_BUILD_BENCH=ON -DTRELVANO_GTEST_SOURCE_DIR=/usr/src/googletest \
  -DTRELVANO_WERROR="$([ "${CI:-}" = true ] && echo ON || echo OFF)"
cmake --build build-windows --parallel "$(nproc)"
rm -f build-windows/trelvano-*-win64*
(cd build-windows && cpack)
ls -l build-windows/trelvano-*-win64.zip build-windows/trelvano-*-win64-setup.exe
