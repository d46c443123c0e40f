#!/usr/bin/env bash
# Installs the page's node tools, esbuild for the packing, puppeteer-core and
# selenium-webdriver for the tests and the benchmark, axe-core for the tests'
# accessibility checks, exactly as tests/web/e2e/package-lock.json
# pins them; skipped while the last install is newer than the lock, so that
# the build and the tests run after it do not install twice.
#   tools/web/npm-ci.sh
set -euo pipefail
cd "$(dirname "$0")/../../tests/web/e2e"
# npm ci installs exactly the lock file's versions and leaves the lock alone.
if [ ! node_modules/.package-lock.json -nt package-lock.json ] || [ package.json -nt node_modules/.package-lock.json ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi
