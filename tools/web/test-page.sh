#!/usr/bin/env bash
# The page end to end in three engines: Debian's headless chromium and
# firefox-esr, driven by puppeteer-core, and WebKitGTK's MiniBrowser under
# Xvfb, driven by selenium-webdriver (all pinned in
# tests/web/e2e/package-lock.json): each press, readout and image
# compared with the same calls made natively by trelvano_api_replay, built
# here into build-web-native/. Needs the site and the single file that
# tools/web/build.sh writes; it runs this after them. Screenshots go to
# build-web/shots/.
#   tools/web/test-page.sh              every test in every engine
#   tools/web/test-page.sh FILE...      only those files of tests/web/e2e/, e.g. panel.test.mjs
#   TRELVANO_BROWSERS="firefox webkit" ...   only those engines (chromium firefox webkit)
set -euo pipefail
cd "$(dirname "$0")/../.."
bash tools/install-deps.sh web

# Natively, without Qt: the replay tool is all the tests need from this build.
cmake --preset web-native >/dev/null
cmake --build build-web-native --parallel "$(nproc)" --target trelvano_api_replay

tools/web/npm-ci.sh

mkdir -p build-web/shots
cd tests/web/e2e
# emscripten's settings from tools/web/env.sh are not the tests'.
unset NODE_PATH NODE_OPTIONS
# One file at a time, each browser alone on the cores; a test that hangs
# fails after three minutes rather than holding up CI. Every engine runs
# even when one fails, and the script fails if any did.
(($#)) || set -- ./*.test.mjs
failed=()
for engine in ${TRELVANO_BROWSERS:-chromium firefox webkit}; do
  echo "web: the page in $engine"
  run=(node --test --test-concurrency=1 --test-timeout=180000 "$@")
  # MiniBrowser has no headless mode; the screen holds a window at ratio 2.
  [ "$engine" = webkit ] && run=(xvfb-run -a -s '-screen 0 2800x2200x24' "${run[@]}")
  TRELVANO_BROWSER=$engine "${run[@]}" || failed+=("$engine")
done
((${#failed[@]} == 0)) || { echo "web: the page's tests failed in: ${failed[*]}" >&2; exit 1; }
