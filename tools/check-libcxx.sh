#!/usr/bin/env bash
# Builds engine/ and plot/ and their tests with clang and LLVM's libc++ instead
# of g++ and libstdc++, and runs those tests, so that code leaning on one
# standard library's extras shows up here. GoogleTest is built from its source
# (Debian's googletest package): the packaged library speaks libstdc++.
#   tools/check-libcxx.sh            into build-libcxx/ (the libcxx preset)
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in clang clang++; do
  if ! command -v "$tool" >/dev/null; then
    echo "check-libcxx: $tool is missing; install the Debian package clang." >&2
    exit 1
  fi
done
if ! echo '#include <version>' | clang++ -stdlib=libc++ -x c++ -fsyntax-only - 2>/dev/null; then
  echo "check-libcxx: clang++ finds no libc++; install the Debian packages libc++-dev and libc++abi-dev." >&2
  exit 1
fi
gtest_source=/usr/src/googletest
if [ ! -f "$gtest_source/CMakeLists.txt" ]; then
  echo "check-libcxx: $gtest_source is missing; install the Debian package googletest." >&2
  exit 1
fi

build_dir=build-libcxx
cmake --preset libcxx
# ctest also lists the committed fuzz corpora replayed as ordinary tests.
cmake --build "$build_dir" --parallel "$(nproc)" --target engine_tests plot_tests web_tests fuzz_replays
ctest --test-dir "$build_dir" --output-on-failure --parallel "$(nproc)" --no-tests=error
echo "check-libcxx: engine, plot and web host tests pass with clang++ and libc++."
