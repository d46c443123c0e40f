#!/usr/bin/env bash
# Installs what is missing, builds every target and runs every test with ctest.
# A run that finds no test fails.
#   SANITIZE=1 ./test.sh   the same tests built with AddressSanitizer + UBSan (build-sanitize/)
#   SANITIZE=thread ./test.sh   the engine tests built with ThreadSanitizer, on three threads (build-tsan/)
#   CI=true ./test.sh      warnings are errors
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh test

# Every option is given here, never taken from the cache: run.sh switches the
# tests off in the same build/.
build_dir=build
args=(-DCMAKE_BUILD_TYPE=Release -DTRELVANO_BUILD_TESTS=ON -DTRELVANO_BUILD_BENCH=ON -DTRELVANO_SANITIZE=OFF
      -DTRELVANO_TSAN=OFF -DTRELVANO_BUILD_UI=ON)
if [ "${SANITIZE:-0}" = 1 ]; then
  build_dir=build-sanitize
  args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANO_BUILD_TESTS=ON -DTRELVANO_BUILD_BENCH=OFF -DTRELVANO_SANITIZE=ON
        -DTRELVANO_TSAN=OFF -DTRELVANO_BUILD_UI=ON)
elif [ "${SANITIZE:-0}" = thread ]; then
  # The threads are the engine's; the windows only ever call it from one.
  build_dir=build-tsan
  args=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRELVANO_BUILD_TESTS=ON -DTRELVANO_BUILD_BENCH=OFF -DTRELVANO_SANITIZE=OFF
        -DTRELVANO_TSAN=ON -DTRELVANO_BUILD_UI=OFF)
  # More threads than cores, so that parts change hands unevenly.
  export TRELVANO_THREADS=3
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
