#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each on a
# copy of its seed corpus.
#   tools/run-fuzz.sh             about a minute per target
#   FUZZ_SECONDS=3600 tools/run-fuzz.sh   longer; new inputs stay in build-fuzz/corpus/
# A failing input is written to build-fuzz/ (crash-*), and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."

if ! command -v clang++ >/dev/null; then
  echo "run-fuzz: clang++ not found; install clang and libclang-rt-dev (libFuzzer) to fuzz" >&2
  exit 1
fi
seconds=${FUZZ_SECONDS:-60}
# Every target has its seed folder, named as the target (tests/CMakeLists.txt).
targets=()
for seeds in tests/fuzz/corpus/*/; do targets+=("$(basename "$seeds")"); done

cmake --preset fuzz
cmake --build build-fuzz --parallel "$(nproc)" --target "${targets[@]}"

for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  # Only the seeds not there yet: a fuzzed input of the same name stays. (cp -n
  # fails on a skipped file from coreutils 9.2 on, which would end the script.)
  for seed in tests/fuzz/corpus/"$target"/*; do
    [ -e "$corpus/${seed##*/}" ] || cp "$seed" "$corpus/"
  done
  echo "== $target: ${seconds} s"
  # -rss_limit_mb: the press target caps N to stay far below it (PressFuzz.cpp).
  (cd build-fuzz && ./tests/fuzz/"$target" -max_total_time="$seconds" -rss_limit_mb=1024 -print_final_stats=1 \
    "corpus/$target" 2>"$target.log") || { tail -n 40 "build-fuzz/$target.log"; exit 1; }
  grep -E 'DONE|stat::number_of_executed_units|stat::peak_rss_mb' "build-fuzz/$target.log" || true
  echo "corpus: $(find "$corpus" -type f | wc -l) inputs"
done
