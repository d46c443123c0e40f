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

# The preset holds the toolchain and the options; the cache's prefixes are this machine's.
cmake --preset windows \
  -DCMAKE_PREFIX_PATH="$(IFS=';'; echo "${LIBRARY_PREFIXES[*]}")" \
  -DTRELVANO_WINDOWS_DLL_DIRS="$(IFS=';'; echo "${MINGW_DLL_DIRS[*]}")"
cmake --build build-windows --parallel "$(nproc)"
rm -f build-windows/trelvano-*-win64*
(cd build-windows && cpack)
ls -l build-windows/trelvano-*-win64.zip build-windows/trelvano-*-win64-setup.exe
