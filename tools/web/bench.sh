#!/usr/bin/env bash
# The page's speed beside the desktop's (bench/web/bench.mjs), in headless
# chromium and firefox-esr: a first and a second press at N = 10^6 and 10^7,
# on one thread and on every core, against build/'s own in fresh processes;
# the three-cosine loop in the same page, the time until the page is ready,
# and the largest N a press completes. Uses the site tools/web/build.sh wrote
# and build/'s press table (./test.sh builds it), and builds the loop's own
# module beside the site (bench/CMakeLists.txt); takes several minutes, most
# of them the search for the largest N.
#   TRELVANO_BROWSERS="chromium" tools/web/bench.sh   only those engines
set -euo pipefail
cd "$(dirname "$0")/../.."
[ -f build-web/site/index.html ] || { echo "bench: no build-web/site; run tools/web/build.sh first" >&2; exit 1; }
[ -x build/bench/trelvano_press_table ] || { echo "bench: no build/bench/trelvano_press_table; run ./test.sh first" >&2; exit 1; }
(source tools/web/env.sh && cmake --build build-web --target trelvano_cosine_loop)
tools/web/npm-ci.sh
unset NODE_PATH NODE_OPTIONS
for engine in ${TRELVANO_BROWSERS:-chromium firefox}; do
  TRELVANO_BROWSER=$engine node bench/web/bench.mjs
done
