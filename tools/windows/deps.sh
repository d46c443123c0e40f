#!/usr/bin/env bash
# Builds, for x86_64-w64-mingw32, the libraries the Windows build links: Qt's
# qtbase, FFTW and SLEEF, from Debian's source packages. Each goes into its own
# prefix under the cache, named by its version and a hash of its configure
# line, and is reused while that name stays the same: a new version or a
# changed line builds afresh, nothing else does.
#   tools/windows/deps.sh            builds what is missing, prints the prefixes
#   TRELVANO_WINDOWS_CACHE=DIR       where the prefixes live (default ~/.cache/trelvano-windows)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${TRELVANO_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/trelvano-windows}
jobs=$(nproc)
target=x86_64-w64-mingw32
mkdir -p "$cache"

# Debian's sources, from two lists: the machine's release, from which Qt
# (matching the host's Qt tools) and FFTW come, and unstable, consulted only
# for SLEEF, whose source the release may lack.
# shellcheck source=tools/debian-source.sh
source "$here/../debian-source.sh"

release_apt="$cache/apt" unstable_apt="$cache/apt-sid"
prepare_apt "$release_apt" "$(release_suite)"
qt_version=$(source_versions "$release_apt" qt6-base | head -n1)
fftw_version=$(source_versions "$release_apt" fftw3 | head -n1)
if [ -z "$qt_version" ] || [ -z "$fftw_version" ]; then
  echo "deps: Debian's index names no qt6-base or fftw3 source" >&2
  exit 1
fi

# --- FFTW: double precision with its SSE2/AVX/AVX2 kernels. MinGW's GCC
# spills AVX registers with aligned moves to a stack it does not align, hence
# the assembler flag; FFTW's own allocator keeps its arrays aligned.
fftw_cflags="-O3 -Wa,-muse-unaligned-vector-move"
# Its threads go inside the one DLL, as FFTW advises for Windows, where a
# second DLL depending on the first is trouble and threads need no extra library.
fftw_args=("--host=$target" --enable-shared --disable-static --enable-sse2 --enable-avx --enable-avx2
           --enable-threads --with-combined-threads --with-our-malloc --disable-fortran --disable-doc)
fftw_prefix="$cache/fftw-$fftw_version-$(key "${fftw_args[*]} $fftw_cflags")"
if [ ! -f "$fftw_prefix/.done" ]; then
  src=$(fetch_source fftw3 "$fftw_version" "$release_apt") || { echo "deps: cannot fetch the source of fftw3" >&2; exit 1; }
  build="$cache/build/fftw"
  rm -rf "$build" "$fftw_prefix" && mkdir -p "$build"
  (cd "$build" && "$src/configure" "${fftw_args[@]}" --prefix="$fftw_prefix" \
      CC=$target-gcc-posix CFLAGS="$fftw_cflags" >configure.log 2>&1 \
    && make -j"$jobs" >make.log 2>&1 && make install >install.log 2>&1) \
    || { echo "deps: FFTW failed; see $build/*.log" >&2; exit 1; }
  # The autotools install writes an FFTW3Config.cmake whose paths are wrong;
  # the build finds FFTW through its pkg-config file instead.
  rm -rf "$fftw_prefix/lib/cmake"
  touch "$fftw_prefix/.done"
  rm -rf "$build"
fi

# --- SLEEF: the newest version whose source downloads, from the release or
# from unstable (the mirror may lack the release's, as it does bookworm's),
# configured with 3.9's option names. Its build runs generators, so they are
# built for this machine first and handed to the cross-build. The vector
# cosines need it: without SLEEF deps.sh fails rather than let the program
# land several times slower. TLFLOAT and TESTER4 stay off, or its configure
# clones them from the network. Its AVX code gets FFTW's assembler flag.
prepare_apt "$unstable_apt" sid
sleef_args=(-DBUILD_SHARED_LIBS=ON -DSLEEF_BUILD_TESTS=OFF -DSLEEF_BUILD_DFT=OFF -DSLEEF_BUILD_QUAD=OFF
            -DSLEEF_BUILD_GNUABI_LIBS=OFF -DSLEEF_BUILD_INLINE_HEADERS=OFF -DSLEEF_SHOW_CONFIG=OFF
            -DSLEEF_ENABLE_TLFLOAT=OFF -DSLEEF_ENABLE_TESTER4=OFF)
sleef_cflags="-Wa,-muse-unaligned-vector-move"
sleef_prefix=''
for sleef_version in $( (source_versions "$release_apt" sleef; source_versions "$unstable_apt" sleef) | sort -Vru); do
  candidate="$cache/sleef-$sleef_version-$(key "${sleef_args[*]} $sleef_cflags")"
  if [ -f "$candidate/.done" ]; then
    sleef_prefix=$candidate
    break
  fi
  src=$(fetch_source sleef "$sleef_version" "$release_apt") || src=$(fetch_source sleef "$sleef_version" "$unstable_apt") \
    || continue
  sleef_prefix=$candidate
  native="$cache/build/sleef-native" cross="$cache/build/sleef-cross"
  rm -rf "$native" "$cross" "$sleef_prefix"
  echo "deps: building sleef $sleef_version for Windows..." >&2
  { cmake -S "$src" -B "$native" -G Ninja "${sleef_args[@]}" \
      && cmake --build "$native" --parallel "$jobs" \
      && cmake -S "$src" -B "$cross" -G Ninja "${sleef_args[@]}" -DCMAKE_BUILD_TYPE=Release \
           -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" -DNATIVE_BUILD_DIR="$native" \
           -DCMAKE_C_FLAGS="$sleef_cflags" -DCMAKE_INSTALL_PREFIX="$sleef_prefix" \
      && cmake --build "$cross" --parallel "$jobs" \
      && cmake --install "$cross"; } >"$cache/sleef-build.log" 2>&1 \
    || { echo "deps: sleef $sleef_version did not cross-build; see $cache/sleef-build.log" >&2; tail -n 30 "$cache/sleef-build.log" >&2; exit 1; }
  rm -rf "$native" "$cross"
  touch "$sleef_prefix/.done"
  break
done
if [ -z "$sleef_prefix" ]; then
  echo "deps: no source of sleef downloads from Debian (release or unstable); see $cache/fetch-sleef.log" >&2
  exit 1
fi

# --- qtbase: Core, Gui, Widgets and Test with the windows and offscreen
# platforms, built with this machine's Qt tools (same version, from
# qt6-base-dev-tools). Third-party code is Qt's bundled copy throughout.
# Dynamic OpenGL stays on unless its input is switched off too; Debian's source
# drops wintab, which tablet events need; direct2d stays on because without it
# qwindows.dll fails to link.
qt_args=(-DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
         -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
         -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
         -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_network=OFF
         -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF
         -DFEATURE_concurrent=OFF -DFEATURE_icu=OFF -DFEATURE_tabletevent=OFF
         -DFEATURE_sql=OFF -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF
         -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF -DFEATURE_system_harfbuzz=OFF
         -DFEATURE_system_freetype=OFF -DFEATURE_system_doubleconversion=OFF)
qt_prefix="$cache/qtbase-$qt_version-$(key "${qt_args[*]}")"
if [ ! -f "$qt_prefix/.done" ]; then
  if [ ! -x /usr/lib/qt6/libexec/moc ]; then
    echo "deps: the host's Qt tools are missing; install qt6-base-dev and qt6-base-dev-tools." >&2
    exit 1
  fi
  host_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
  if [ "${host_qt%%+*}" != "${qt_version%%+*}" ]; then
    echo "deps: host Qt tools $host_qt differ from the Qt source $qt_version." >&2
    exit 1
  fi
  src=$(fetch_source qt6-base "$qt_version" "$release_apt") || { echo "deps: cannot fetch the source of qt6-base" >&2; exit 1; }
  build="$cache/build/qtbase"
  rm -rf "$build" "$qt_prefix"
  echo "deps: building qtbase $qt_version for Windows (about 20 minutes on 2 cores)..." >&2
  cmake -S "$src" -B "$build" -G Ninja "${qt_args[@]}" \
        -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
        >"$cache/qtbase-configure.log" 2>&1 \
    || { echo "deps: qtbase configure failed; see $cache/qtbase-configure.log" >&2; exit 1; }
  cmake --build "$build" --parallel "$jobs" >"$cache/qtbase-build.log" 2>&1 \
    || { echo "deps: qtbase build failed; see $cache/qtbase-build.log" >&2; tail -n 30 "$cache/qtbase-build.log" >&2; exit 1; }
  cmake --install "$build" >"$cache/qtbase-install.log" 2>&1
  touch "$qt_prefix/.done"
  rm -rf "$build"
fi

# Old prefixes of the same library are dropped so the cache does not grow.
for old in "$cache"/qtbase-* "$cache"/fftw-* "$cache"/sleef-*; do
  case "$old" in "$qt_prefix"|"$fftw_prefix"|"$sleef_prefix"|*.log) ;; *) [ -d "$old" ] && rm -rf "$old" ;; esac
done

echo "QT_PREFIX=$qt_prefix"
echo "FFTW_PREFIX=$fftw_prefix"
echo "SLEEF_PREFIX=$sleef_prefix"
