#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test with ctest.
# A run that finds no test fails.
#   SANITIZE=1 ./test.sh   the same tests built with AddressSanitizer + UBSan (build-sanitize/)
#   CI=true ./test.sh      warnings are errors
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh test

# Every option is given here, never taken from the cache: run.sh switches the
# tests off in the same build/.
build_dir=build
args=(-DCMAKE_BUILD_TYPE=Release -DTRELVANO_BUILD_TESTS=ON -DTRELVANO_BUILD_BENCH=ON -DTRELVANO_SANITIZE=OFF)
if [ "${SANITIZE:-0}" = 1 ]; then
  build_dir=build-sanitize
  args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANO_BUILD_TESTS=ON -DTRELVANO_BUILD_BENCH=OFF -DTRELVANO_SANITIZE=ON)
fi
if [ "${CI:-}" = true ]; then
  args+=(-DTRELVANO_WERROR=ON)
else
  args+=(-DTRELVANO_WERROR=OFF)
fi

cmake -S . -B "$build_dir" "${args[@]}"
cmake --build "$build_dir" --parallel "$(nproc)"
# GUI tests never need a display.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" --no-tests=error
