#!/usr/bin/env bash
# Installs what is missing, builds the program into build/ and starts it.
#   TRELVANO_NO_START=1 ./run.sh   builds without starting (CI, or to install afterwards)
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh build

# test.sh's preset with the tests and benchmarks off, so that the program
# builds without GoogleTest: the compile flags stay the same, and test.sh
# reuses what this builds once it switches them on again.
cmake --preset default -DTRELVANO_BUILD_TESTS=OFF -DTRELVANO_BUILD_BENCH=OFF
cmake --build build --parallel "$(nproc)" --target trelvano
if [ "${TRELVANO_NO_START:-0}" = 1 ]; then
  echo "Built build/ui/trelvano."
  exit 0
fi
exec ./build/ui/trelvano "$@"
