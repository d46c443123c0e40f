#!/usr/bin/env bash
# Checks the include lines against the floors of the engine: each room of
# engine/ includes only its own floor and those below it (core, memory, state,
# then entries and signal side by side, never each other, the window tables of
# forms on the entries and the plots' colours, then the run and the session at
# the top of engine/), nothing in engine/ includes Qt or ui/, plot/ includes
# neither engine/ nor ui/, the browser's host in web/ stands on the engine and
# the plots, never on Qt or ui/, and neither front end includes the tests or
# the benchmarks.
# Exits 1 and lists every breach.
#   tools/check-layers.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# What each place may include with quotes, as path prefixes.
allowed_for() {
  case "$1" in
    engine/core/*)    echo "engine/core/" ;;
    engine/memory/*)  echo "engine/core/ engine/memory/" ;;
    engine/state/*)   echo "engine/core/ engine/memory/ engine/state/" ;;
    engine/entries/*) echo "engine/core/ engine/memory/ engine/state/ engine/entries/" ;;
    engine/signal/*)  echo "engine/core/ engine/memory/ engine/state/ engine/signal/" ;;
    engine/forms/*)   echo "engine/core/ engine/memory/ engine/state/ engine/entries/ engine/forms/ plot/" ;;
    engine/*)         echo "engine/ plot/" ;;
    plot/*)           echo "plot/" ;;
    web/*)            echo "engine/ plot/ web/" ;;
    ui/*)             echo "engine/ plot/ ui/" ;;
  esac
}

breaches=()
while IFS= read -r file; do
  allowed=$(allowed_for "$file")
  while IFS= read -r hit; do
    line=${hit%%:*}
    text=${hit#*:}
    if [[ $text =~ \#[[:space:]]*include[[:space:]]*\<(Q|ui/) ]]; then
      [[ $file == engine/* || $file == web/* ]] && breaches+=("$file:$line: $text (no Qt or ui/ here)")
      continue
    fi
    [[ $text =~ \#[[:space:]]*include[[:space:]]*\"([^\"]*)\" ]] || continue
    target=${BASH_REMATCH[1]}
    # A name found beside the including file is read as that file's neighbour.
    if [[ -e "$(dirname "$file")/$target" ]]; then
      target=$(realpath -m --relative-to=. "$(dirname "$file")/$target")
    fi
    ok=0
    for prefix in $allowed; do
      [[ $target == "$prefix"* ]] && ok=1
    done
    ((ok)) || breaches+=("$file:$line: $text (allowed: $allowed)")
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file" || true)
done < <(find engine plot web ui -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if ((${#breaches[@]})); then
  printf 'check-layers: %s\n' "${breaches[@]}" >&2
  echo "check-layers: ${#breaches[@]} include lines break the floors" >&2
  exit 1
fi
echo "check-layers: every include of engine/, plot/, web/ and ui/ keeps to its floor."
