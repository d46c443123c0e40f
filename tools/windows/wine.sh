# shellcheck shell=bash
# Sourced from the checkout's top by test.sh, smoke.sh and bench.sh: Wine in a
# prefix of the build's own, made once, so nothing of the user's ~/.wine is
# touched; no debug chatter, and no offer to install Mono or Gecko.
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
windows_path() { echo "Z:${1//\//\\}"; }
# The built programs, unlike the packed one, find their DLLs where they were
# built: WINDOWS_DLL_DIRS, from prefixes.sh.
wine_dll_path() {
  local dir dirs=()
  for dir in "${WINDOWS_DLL_DIRS[@]}"; do dirs+=("$(windows_path "$dir")"); done
  export WINEPATH
  WINEPATH=$(IFS=';'; echo "${dirs[*]}")
}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (unset DISPLAY; wineboot --init >/dev/null 2>&1) || true
  wineserver --wait
fi
