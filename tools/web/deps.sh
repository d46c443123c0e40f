#!/usr/bin/env bash
# Builds FFTW for WebAssembly with Debian's emscripten, from Debian's fftw3
# source package, into a prefix under the cache named by its version and a
# hash of its configure line; reused while that name stays the same.
#   tools/web/deps.sh             builds them when missing, prints FFTW_PREFIX=...
#                                 and FFTW_THREADS_PREFIX=... (the threaded module's)
#   TRELVANO_WEB_CACHE=DIR        where the prefix lives (default ~/.cache/trelvano-web)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cache=${TRELVANO_WEB_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/trelvano-web}
mkdir -p "$cache"
source "$here/../debian-source.sh"
source "$here/env.sh"

release_apt="$cache/apt"
prepare_apt "$release_apt" "$(release_suite)"
fftw_version=$(source_versions "$release_apt" fftw3 | head -n1)
[ -n "$fftw_version" ] || { echo "web-deps: apt offers no source of fftw3" >&2; exit 1; }

# Double precision only, no SIMD kernels (wasm has none FFTW knows). Two
# builds: one on one thread for the module every browser runs, and one with
# threads, compiled for shared memory, for the module of isolated pages. The
# compiler's version is part of the key, since a new emscripten may build
# differently.
# sed reads to the end: head would close the pipe on emcc, which fails
# writing the rest of its notice, and the pipeline fails with it.
emcc_version=$(emcc --version | sed -n 1p)

# Twiddle factors from FFTW's table of sqrt(n) factors multiplied in pairs,
# the way FFTW makes them where its trigonometry is wider than its data,
# instead of a sin and a cos for each one, its choice for double precision.
# In WebAssembly those are the C library's scalar calls: a first press at
# N = 10^7 spent about 250 ms planning, nearly all of it there, and half of
# that with the table. The spectra stay as close to the desktop's (2.4e-16 of
# their peak at 10^6 and 10^7) as the stock build's.
twiddles='if (sizeof(trigreal) > sizeof(R)) {'

# build_fftw NAME CFLAGS THREADS-OPTION: prints the prefix, building it when missing.
build_fftw() {
  local name=$1 cflags=$2
  local args=(--disable-fortran --disable-shared --enable-static "$3" --disable-doc)
  local prefix="$cache/fftw-$fftw_version-$(key "${args[*]} $cflags $emcc_version twiddles from the table")"
  if [ ! -f "$prefix/.done" ]; then
    src=$(fetch_source fftw3 "$fftw_version" "$release_apt") || { echo "web-deps: cannot fetch the source of fftw3 (see $cache/fetch-fftw3.log)" >&2; exit 1; }
    local build="$cache/build/fftw-$name"
    rm -rf "$build" "$prefix" && mkdir -p "$build"
    # The source is shared by both builds and kept: the change goes to a copy.
    cp -r "$src" "$build/src"
    grep -qF "$twiddles" "$build/src/api/apiplan.c" \
      || { echo "web-deps: FFTW $fftw_version no longer chooses its twiddles as this script expects (api/apiplan.c)" >&2; exit 1; }
    sed -i "s/$twiddles/if (1) {/" "$build/src/api/apiplan.c"
    echo "web-deps: building FFTW $fftw_version ($name) for WebAssembly (a few minutes)..." >&2
    (cd "$build" && emconfigure "$build/src/configure" "${args[@]}" --prefix="$prefix" CFLAGS="$cflags" \
        >configure.log 2>&1 \
      && emmake make -j"$(nproc)" >make.log 2>&1 && emmake make install >install.log 2>&1) \
      || { echo "web-deps: FFTW ($name) failed; see $build/*.log" >&2; exit 1; }
    # Its autotools install writes an FFTW3Config.cmake with wrong paths; the
    # build finds FFTW through its pkg-config file instead.
    rm -rf "$prefix/lib/cmake"
    touch "$prefix/.done"
    rm -rf "$build"
  fi
  echo "$prefix"
}

fftw_prefix=$(build_fftw single "-O3" --disable-threads)
fftw_threads_prefix=$(build_fftw threads "-O3 -pthread" --enable-threads)

# Older prefixes are dropped so the cache does not grow.
for old in "$cache"/fftw-*; do
  [ "$old" = "$fftw_prefix" ] || [ "$old" = "$fftw_threads_prefix" ] || rm -rf "$old"
done
echo "FFTW_PREFIX=$fftw_prefix"
echo "FFTW_THREADS_PREFIX=$fftw_threads_prefix"
