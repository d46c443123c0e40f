# shellcheck shell=bash
# Sourced from the checkout's top by test.sh, smoke.sh and bench.sh: Wine in a
# prefix of the build's own, made once, so nothing of the user's ~/.wine is
# touched; no debug chatter, and no offer to install Mono or Gecko.
export WINEPREFIX="$PWD/build-windows/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
windows_path() { echo "Z:${1//\//\\}"; }
# The built programs and tests, unlike the packed program, take their DLLs
# from where they were built (WINDOWS_DLL_DIRS, from prefixes.sh). Wine hands
# QT_* on to Qt only as WINEQT_*; Qt's off-screen platform reads its fonts
# from a folder, and Qt Test writes to the console only when told.
wine_built_env() {
  local dir dirs=()
  for dir in "${WINDOWS_DLL_DIRS[@]}"; do dirs+=("$(windows_path "$dir")"); done
  export WINEPATH WINEQT_QPA_FONTDIR WINEQT_FORCE_STDERR_LOGGING=1
  WINEPATH=$(IFS=';'; echo "${dirs[*]}")
  WINEQT_QPA_FONTDIR=$(windows_path /usr/share/fonts/truetype/dejavu)
}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  (unset DISPLAY; wineboot --init >/dev/null 2>&1) || true
  wineserver --wait
fi
