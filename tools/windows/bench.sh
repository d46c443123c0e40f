#!/usr/bin/env bash
# The press on Linux and on Windows (under Wine) side by side, in one run on
# this machine: build/bench/trelvano_press_table (./test.sh builds it) against
# build-windows/trelvano_press_table.exe (tools/windows/build.sh), the latter
# in the environment tools/windows/test.sh gives the tests. Prints both
# tables, then each N's first presses and second presses, and the Windows
# second press over the Linux one. Medians of BENCH_REPEAT processes (3).
#   tools/windows/bench.sh                 N = 10^6 and 10^7
#   tools/windows/bench.sh 100000 2000000  other sizes
set -euo pipefail
cd "$(dirname "$0")/../.."
linux=build/bench/trelvano_press_table
windows=build-windows/trelvano_press_table.exe
for program in "$linux" "$windows"; do
  [ -f "$program" ] || { echo "windows-bench: no $program; run ./test.sh and tools/windows/build.sh first" >&2; exit 1; }
done
source tools/windows/prefixes.sh
source tools/windows/wine.sh
wine_built_env
unset DISPLAY
sizes=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(1000000 10000000)
repeat=${BENCH_REPEAT:-3}

# The figure under a column's header in the row of one N. Every column but N
# (the first) is right-aligned under its header, so a cell ends where its
# header does, whatever columns come before it.
figure() { # table, header, N
  awk -v name="$2" -v n="$3" '
    NR == 1 { at = index($0, name); if (!at) exit 1; end = at + length(name) - 1; next }
    $1 == n { cell = substr($0, 1, end); sub(/.*[ \t]/, "", cell); print cell; exit }' <<<"$1" | grep . \
    || { echo "windows-bench: no \"$2\" figure at N = $3 in the tables above" >&2; exit 1; }
}

echo "== Linux ($linux)"
linux_table=$("$linux" --repeat "$repeat" "${sizes[@]}")
echo "$linux_table"
echo "== Windows under $(wine --version) ($windows)"
windows_table=$(wine "$windows" --repeat "$repeat" "${sizes[@]}" | tr -d '\r')
echo "$windows_table"
echo
printf '%-9s %13s %13s %13s %13s %14s\n' N "1st Linux ms" "1st Win ms" "2nd Linux ms" "2nd Win ms" "2nd Win/Linux"
for n in "${sizes[@]}"; do
  cold_linux=$(figure "$linux_table" "cold ms" "$n")
  cold_windows=$(figure "$windows_table" "cold ms" "$n")
  warm_linux=$(figure "$linux_table" "warm ms" "$n")
  warm_windows=$(figure "$windows_table" "warm ms" "$n")
  printf '%-9s %13s %13s %13s %13s %14.2f\n' "$n" "$cold_linux" "$cold_windows" "$warm_linux" "$warm_windows" \
    "$(awk -v w="$warm_windows" -v l="$warm_linux" 'BEGIN { print w / l }')"
done
