#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test with ctest.
# A run that finds no test fails.
#   SANITIZE=1 ./test.sh   the same tests built with AddressSanitizer + UBSan (build-sanitize/)
#   SANITIZE=thread ./test.sh   the engine tests built with ThreadSanitizer, on three threads (build-tsan/)
#   CI=true ./test.sh      warnings are errors
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh test

# The preset gives every option, whatever run.sh left in build/.
preset=default build_dir=build
if [ "${SANITIZE:-0}" = 1 ]; then
  preset=sanitize build_dir=build-sanitize
elif [ "${SANITIZE:-0}" = thread ]; then
  preset=tsan build_dir=build-tsan
  # More threads than cores, so that parts change hands unevenly.
  export TRELVANO_THREADS=3
fi

cmake --preset "$preset"
cmake --build "$build_dir" --parallel "$(nproc)"
# GUI tests never need a display.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" --no-tests=error
