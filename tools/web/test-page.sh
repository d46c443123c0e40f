#!/usr/bin/env bash
# The page end to end in Debian's headless chromium, driven by puppeteer-core
# (pinned in tests/web/e2e/package-lock.json): each press, readout and image
# compared with the same calls made natively by trelvano_api_replay, built
# here into build-web-native/. Needs the site and the single file that
# tools/web/build.sh writes; it runs this after them. Screenshots go to
# build-web/shots/.
#   tools/web/test-page.sh              every test
#   tools/web/test-page.sh FILE...      only those files of tests/web/e2e/, e.g. presses.test.mjs
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
# One file at a time, each chromium alone on the cores; a test that hangs
# fails after three minutes rather than holding up CI.
if (($#)); then
  node --test --test-concurrency=1 --test-timeout=180000 "$@"
else
  node --test --test-concurrency=1 --test-timeout=180000 ./*.test.mjs
fi
