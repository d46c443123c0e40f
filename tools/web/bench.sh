#!/usr/bin/env bash
# The page's speed in headless chromium (bench/web/bench.mjs): a first press
# at N = 10^6 and 10^7 against the three-cosine loop in the same page, the
# time until the page is ready, and the largest N a press completes. Uses the
# site tools/web/build.sh wrote, and builds the loop's own module beside it
# (bench/CMakeLists.txt); takes a few minutes, most of them the search for
# the largest N.
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -f build-web/site/index.html ] || { echo "bench: no build-web/site; run tools/web/build.sh first" >&2; exit 1; }
(source tools/web/env.sh && cmake --build build-web --target trelvano_cosine_loop)
tools/web/npm-ci.sh
unset NODE_PATH NODE_OPTIONS
node bench/web/bench.mjs
