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

# Debian's own sources, through a list of our own, so the machine's apt
# configuration is neither needed nor touched.
apt_dir="$cache/apt"
apt_opts=(-o APT::Sandbox::User=root -o "Dir::Etc::sourcelist=$apt_dir/sources.list" -o Dir::Etc::sourceparts=/dev/null
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache")
source_version() { # package -> version apt would fetch
  apt-cache "${apt_opts[@]}" showsrc "$1" | sed -n 's/^Version: //p' | sort -V | tail -n1
}
prepare_apt() {
  [ -n "${apt_ready:-}" ] && return
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  echo "deb-src http://deb.debian.org/debian $codename main" >"$apt_dir/sources.list"
  # The index is read afresh once a day: a new version is noticed by the
  # next day's build, and a warm cache builds without the network meanwhile.
  if ! find "$apt_dir/lists" -name '*Sources*' -mtime -1 2>/dev/null | grep -q .; then
    apt-get "${apt_opts[@]}" update -qq
  fi
  apt_ready=1
}
fetch_source() { # package version -> directory holding its unpacked source
  local package=$1 dir="$cache/src/$1-$2" unpacked
  if [ ! -d "$dir" ]; then
    rm -rf "$dir.tmp" && mkdir -p "$dir.tmp"
    (cd "$dir.tmp" && apt-get "${apt_opts[@]}" source -qq "$package=$2" >"$cache/fetch-$package.log" 2>&1) || return 1
    unpacked=$(find "$dir.tmp" -mindepth 1 -maxdepth 1 -type d | head -n1)
    [ -n "$unpacked" ] || return 1
    mv "$unpacked" "$dir" && rm -rf "$dir.tmp"
  fi
  echo "$dir"
}
key() { echo "$*" | sha256sum | cut -c1-12; }

prepare_apt
qt_version=$(source_version qt6-base)
fftw_version=$(source_version fftw3)
sleef_version=$(source_version sleef)

# --- FFTW: double precision with its SSE2/AVX/AVX2 kernels. MinGW's GCC
# spills AVX registers with aligned moves to a stack it does not align, hence
# the assembler flag; FFTW's own allocator keeps its arrays aligned.
fftw_cflags="-O3 -Wa,-muse-unaligned-vector-move"
fftw_args=(--host=$target --enable-shared --disable-static --enable-sse2 --enable-avx --enable-avx2
           --with-our-malloc --disable-fortran --disable-doc)
fftw_prefix="$cache/fftw-$fftw_version-$(key "${fftw_args[*]} $fftw_cflags")"
if [ ! -f "$fftw_prefix/.done" ]; then
  src=$(fetch_source fftw3 "$fftw_version") || { echo "deps: cannot fetch the source of fftw3" >&2; exit 1; }
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

# --- SLEEF: its build runs generators, so they are built for this machine
# first and handed to the cross-build. It is optional: without it the cosines
# are scalar. A source that cannot be fetched is tried again on the next run;
# a failed build is remembered until the configure line or version changes.
sleef_args=(-DBUILD_SHARED_LIBS=ON -DBUILD_TESTS=OFF -DBUILD_DFT=OFF -DBUILD_QUAD=OFF
            -DBUILD_GNUABI_LIBS=OFF -DBUILD_INLINE_HEADERS=OFF -DSLEEF_SHOW_CONFIG=OFF)
sleef_prefix="$cache/sleef-$sleef_version-$(key "${sleef_args[*]}")"
build_sleef() {
  local src native="$cache/build/sleef-native" cross="$cache/build/sleef-cross" status=0
  if ! src=$(fetch_source sleef "$sleef_version"); then
    echo "deps: the source of sleef $sleef_version cannot be fetched (see $cache/fetch-sleef.log);" \
      "cosines will be scalar." >&2
    return
  fi
  rm -rf "$native" "$cross" "$sleef_prefix" && mkdir -p "$sleef_prefix"
  { cmake -S "$src" -B "$native" -G Ninja "${sleef_args[@]}" \
      && cmake --build "$native" --parallel "$jobs" \
      && cmake -S "$src" -B "$cross" -G Ninja "${sleef_args[@]}" -DCMAKE_BUILD_TYPE=Release \
           -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64.cmake" -DNATIVE_BUILD_DIR="$native" \
           -DCMAKE_INSTALL_PREFIX="$sleef_prefix" \
      && cmake --build "$cross" --parallel "$jobs" \
      && cmake --install "$cross"; } >"$cache/sleef-build.log" 2>&1 || status=$?
  rm -rf "$native" "$cross"
  if [ "$status" = 0 ]; then
    touch "$sleef_prefix/.done"
  else
    echo "deps: SLEEF did not cross-build (see $cache/sleef-build.log); cosines will be scalar." >&2
    touch "$sleef_prefix/.failed"
  fi
}
[ -f "$sleef_prefix/.done" ] || [ -f "$sleef_prefix/.failed" ] || build_sleef

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
  src=$(fetch_source qt6-base "$qt_version") || { echo "deps: cannot fetch the source of qt6-base" >&2; exit 1; }
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
[ -f "$sleef_prefix/.done" ] && echo "SLEEF_PREFIX=$sleef_prefix"
exit 0
