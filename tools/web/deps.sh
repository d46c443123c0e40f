#!/usr/bin/env bash
# Builds FFTW for WebAssembly with Debian's emscripten, from Debian's fftw3
# source package, into a prefix under the cache named by its version and a
# hash of its configure line; reused while that name stays the same.
#   tools/web/deps.sh             builds it when missing, prints FFTW_PREFIX=...
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

# Double precision only, no SIMD kernels (wasm has none FFTW knows) and no
# threads: the browser build runs the transform on one thread. The compiler's
# version is part of the key, since a new emscripten may build differently.
emcc_version=$(emcc --version | head -n1)
fftw_cflags="-O3"
fftw_args=(--disable-fortran --disable-shared --enable-static --disable-threads --disable-doc)
fftw_prefix="$cache/fftw-$fftw_version-$(key "${fftw_args[*]} $fftw_cflags $emcc_version")"
if [ ! -f "$fftw_prefix/.done" ]; then
  src=$(fetch_source fftw3 "$fftw_version" "$release_apt") || { echo "web-deps: cannot fetch the source of fftw3 (see $cache/fetch-fftw3.log)" >&2; exit 1; }
  build="$cache/build/fftw"
  rm -rf "$build" "$fftw_prefix" && mkdir -p "$build"
  echo "web-deps: building FFTW $fftw_version for WebAssembly (a few minutes)..." >&2
  (cd "$build" && emconfigure "$src/configure" "${fftw_args[@]}" --prefix="$fftw_prefix" CFLAGS="$fftw_cflags" \
      >configure.log 2>&1 \
    && emmake make -j"$(nproc)" >make.log 2>&1 && emmake make install >install.log 2>&1) \
    || { echo "web-deps: FFTW failed; see $build/*.log" >&2; exit 1; }
  # Its autotools install writes an FFTW3Config.cmake with wrong paths; the
  # build finds FFTW through its pkg-config file instead.
  rm -rf "$fftw_prefix/lib/cmake"
  touch "$fftw_prefix/.done"
  rm -rf "$build"
fi

# Older prefixes are dropped so the cache does not grow.
for old in "$cache"/fftw-*; do
  [ "$old" = "$fftw_prefix" ] || rm -rf "$old"
done
echo "FFTW_PREFIX=$fftw_prefix"
