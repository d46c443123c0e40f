#!/usr/bin/env bash
# Builds engine/ and plot/ and their tests for WebAssembly with Debian's
# emscripten, into build-web/, and runs the tests under node through ctest:
# they meet the 32-bit size_t and the older libc++ that no native build sees.
# FFTW is built from Debian's source once (tools/web/deps.sh) and reused from
# the cache outside the clone after that. Then packs the page: the site for a
# web server and the single file for a disk (tools/web/package.py).
#   tools/web/build.sh               CI=true makes warnings errors
#   TRELVANO_WEB_CACHE=DIR ...       where FFTW's prefix lives (default ~/.cache/trelvano-web)
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/install-deps.sh web
source tools/web/env.sh

prefixes=$(tools/web/deps.sh)
fftw_prefix=$(sed -n 's/^FFTW_PREFIX=//p' <<<"$prefixes")
fftw_threads_prefix=$(sed -n 's/^FFTW_THREADS_PREFIX=//p' <<<"$prefixes")
[ -n "$fftw_prefix" ] && [ -n "$fftw_threads_prefix" ] || { echo "web: deps.sh named no FFTW prefix" >&2; exit 1; }

# configure PRESET PREFIX: a browser build against that FFTW.
# The emulator carries node's option itself, so that ctest run by hand, and
# the test listing it does first, work without tools/web/env.sh.
# FFTW's pkg-config file, never the host's, for this configure only: the
# native build of the page's tests below must find the host's. The toolchain
# looks for libraries only under its find roots, so the prefix becomes one.
# A build folder made against another prefix (an FFTW built anew, with
# other flags) starts afresh: the cache would keep the old prefix's paths,
# which deps.sh has removed.
configure() {
  local dir="build-$1" cached
  cached=$(sed -n 's/^CMAKE_FIND_ROOT_PATH:[A-Z]*=//p' "$dir/CMakeCache.txt" 2>/dev/null || true)
  [ -z "$cached" ] || [ "$cached" = "$2" ] || rm -f "$dir/CMakeCache.txt"
  PKG_CONFIG_LIBDIR="$2/lib/pkgconfig" PKG_CONFIG_PATH= cmake --preset "$1" \
    -DCMAKE_FIND_ROOT_PATH="$2" \
    -DCMAKE_CROSSCOMPILING_EMULATOR="$(command -v node);--no-experimental-fetch"
}
configure web "$fftw_prefix"
# The replays of the committed fuzz corpora too, bar the number format's
# (tests/CMakeLists.txt says why). The benchmark's own module, which the bench
# configuration adds, is left for tools/web/bench.sh to build.
cmake --build build-web --parallel "$(nproc)" --target engine_tests plot_tests web_tests trelvano_web NumberReaderFuzzReplay PressFuzzReplay
ctest --test-dir build-web --output-on-failure --no-tests=error --parallel "$(nproc)"
echo "web: the engine and plot tests pass in WebAssembly under node."

# The same module with WebAssembly's vectors, for the browsers that have
# them, and its tests under node, which has them too.
configure web-simd "$fftw_prefix"
cmake --build build-web-simd --parallel "$(nproc)" --target engine_tests plot_tests web_tests trelvano_web NumberReaderFuzzReplay PressFuzzReplay
ctest --test-dir build-web-simd --output-on-failure --no-tests=error --parallel "$(nproc)"
echo "web: the engine and plot tests pass in WebAssembly with vectors under node."

# The threaded module, with vectors too, and the engine's tests on threads
# under node: the plot and the page's tables have no threads of their own.
configure web-threads "$fftw_threads_prefix"
cmake --build build-web-threads --parallel "$(nproc)" --target engine_tests trelvano_web
ctest --test-dir build-web-threads --output-on-failure --no-tests=error --parallel "$(nproc)" -E 'NOT_BUILT|FuzzReplay'
echo "web: the engine tests pass in threaded WebAssembly under node."

# The page around the module: build-web/site/ and build-web/trelvano.html,
# its scripts bundled by the lock file's esbuild. Debian's python3, which the
# font tools are installed for (a python3 of one's own earlier on the PATH
# may lack them).
tools/web/npm-ci.sh
/usr/bin/python3 tools/web/package.py --module build-web/web --simd-module build-web-simd/web \
  --threads-module build-web-threads/web --out build-web

# The page itself, end to end in chromium, against the same calls made natively.
tools/web/test-page.sh
