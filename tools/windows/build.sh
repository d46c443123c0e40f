#!/usr/bin/env bash
# Cross-builds Trelvano for 64-bit Windows on Debian and packs it: writes
# build-windows/trelvano-<version>-win64.zip and, with NSIS,
# build-windows/trelvano-<version>-win64-setup.exe. Qt, FFTW and SLEEF are
# built from Debian's sources once (tools/windows/deps.sh) and reused from the
# cache after that. Configure fails without FFTW's threads or SLEEF, so a build
# several times slower cannot pass unnoticed.
#   tools/windows/build.sh           CI=true makes warnings errors
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/install-deps.sh windows

source tools/windows/prefixes.sh
# FFTW's and SLEEF's pkg-config files, never the host's.
export PKG_CONFIG_LIBDIR="$FFTW_PREFIX/lib/pkgconfig:$SLEEF_PREFIX/lib/pkgconfig"
unset PKG_CONFIG_PATH

cmake -S . -B build-windows -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/tools/windows/mingw-w64.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$(IFS=';'; echo "${LIBRARY_PREFIXES[*]}")" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DTRELVANO_WINDOWS_DLL_DIRS="$(IFS=';'; echo "${MINGW_DLL_DIRS[*]}")" -DTRELVANO_REQUIRE_FAST_PATHS=ON \
  -DTRELVANO_BUILD_TESTS=ON -DTRELVANO_BUILD_BENCH=ON -DTRELVANO_GTEST_SOURCE_DIR=/usr/src/googletest \
  -DTRELVANO_WERROR="$([ "${CI:-}" = true ] && echo ON || echo OFF)"
cmake --build build-windows --parallel "$(nproc)"
rm -f build-windows/trelvano-*-win64*
(cd build-windows && cpack)
ls -l build-windows/trelvano-*-win64.zip build-windows/trelvano-*-win64-setup.exe
