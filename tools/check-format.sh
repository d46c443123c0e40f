#!/usr/bin/env bash
# Fails when clang-format (the root .clang-format) would change any C++ file
# under engine, plot, ui, web, bench or tests, and names each such file.
#   CLANG_FORMAT=clang-format-14 tools/check-format.sh
set -euo pipefail
cd "$(dirname "$0")/.."

clang_format=${CLANG_FORMAT:-clang-format}
if ! command -v "$clang_format" >/dev/null; then
  echo "check-format: $clang_format not found; install clang-format" >&2
  exit 1
fi
status=0
while IFS= read -r -d '' file; do
  "$clang_format" --dry-run -Werror "$file" >/dev/null 2>&1 || { echo "$file"; status=1; }
done < <(find engine plot ui web bench tests \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)
exit "$status"
