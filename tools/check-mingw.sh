#!/usr/bin/env bash
# Compiles every engine/ and plot/ source with the MinGW-w64 cross compiler to
# object files, so that a Linux-only header or call shows up before a Windows
# build needs it. Nothing is linked: FFTW for Windows is not needed, only its header.
#   tools/check-mingw.sh            compiles and reports every failing file
set -euo pipefail
cd "$(dirname "$0")/.."

compiler=x86_64-w64-mingw32-g++-posix
if ! command -v "$compiler" >/dev/null; then
  echo "check-mingw: $compiler is missing; install the Debian package g++-mingw-w64-x86-64-posix." >&2
  exit 1
fi
fftw_header=$(echo '#include <fftw3.h>' | cpp -H -o /dev/null 2>&1 | sed -n 's/^\. //p' | head -n1)
if [ -z "$fftw_header" ]; then
  echo "check-mingw: fftw3.h not found; install libfftw3-dev." >&2
  exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Only fftw3.h, never the rest of the host's /usr/include, which would hide a
# Linux header that MinGW lacks.
mkdir "$work/include"
cp "$fftw_header" "$work/include/"

# The SLEEF kernels are built only where SLEEF is found on x86-64 (see
# engine/CMakeLists.txt); a build without them takes the scalar cosine.
sources=()
for source in engine/*.cpp engine/*/*.cpp plot/*.cpp; do
  case "$source" in engine/signal/VectorCosineAvx*.cpp) ;; *) sources+=("$source") ;; esac
done

failed=()
for source in "${sources[@]}"; do
  object="$work/$(echo "$source" | tr / _).o"
  if ! "$compiler" -std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror -I. -I"$work/include" \
       -c "$source" -o "$object" 2>"$work/log"; then
    failed+=("$source")
    sed 's/^/  /' "$work/log" | head -n 20 >&2
  fi
done

count=${#sources[@]}
if ((${#failed[@]})); then
  echo "check-mingw: ${#failed[@]} of $count files fail: ${failed[*]}" >&2
  exit 1
fi
echo "check-mingw: all $count engine/ and plot/ files compile with $compiler."
