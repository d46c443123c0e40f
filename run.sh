#!/usr/bin/env bash
# Installs what is missing, builds the program into build/ and starts it.
#   TRELVANO_NO_START=1 ./run.sh   builds without starting (CI, or to install afterwards)
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh build

# Tests and benchmarks are switched off here, and on again by test.sh, so that
# the program builds without GoogleTest; each script sets every option itself,
# whatever the other left in build/. The compile flags match test.sh's, so
# that test.sh reuses what this builds.
werror=OFF
if [ "${CI:-}" = true ]; then werror=ON; fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTRELVANO_BUILD_TESTS=OFF -DTRELVANO_BUILD_BENCH=OFF \
  -DTRELVANO_SANITIZE=OFF -DTRELVANO_WERROR="$werror"
cmake --build build --parallel "$(nproc)" --target trelvano
if [ "${TRELVANO_NO_START:-0}" = 1 ]; then
  echo "Built build/ui/trelvano."
  exit 0
fi
exec ./build/ui/trelvano "$@"
