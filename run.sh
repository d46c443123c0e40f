#!/usr/bin/env bash
# Installs what is missing, builds into build/ and starts Trelvano.
set -euo pipefail
cd "$(dirname "$0")"
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DTRELVANO_BUILD_TESTS=OFF -DTRELVANO_BUILD_BENCH=OFF
cmake --build build --parallel "$(nproc)" --target trelvano
exec ./build/ui/trelvano "$@"
