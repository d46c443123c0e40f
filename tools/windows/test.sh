#!/usr/bin/env bash
# Builds the Windows program and its tests (tools/windows/build.sh), then runs
# them under Wine: every engine, plot and UI test through ctest, the installer
# silently into Program Files with the installed program started, and the
# smoke run of the real program on Wine's display (tools/windows/smoke.sh).
# Fails when any of them fails.
#   tools/windows/test.sh
#   TRELVANO_SKIP_BUILD=1 tools/windows/test.sh    reuse build-windows/ as it is
#   TRELVANO_SKIP_CTEST=1 ...                       only the packages and the smoke run
set -euo pipefail
cd "$(dirname "$0")/../.."
[ "${TRELVANO_SKIP_BUILD:-0}" = 1 ] || tools/windows/build.sh

source tools/windows/prefixes.sh
source tools/windows/wine.sh
wine_built_env
unset DISPLAY

[ "${TRELVANO_SKIP_CTEST:-0}" = 1 ] || ctest --test-dir build-windows --output-on-failure --no-tests=error --parallel "$(nproc)"

# A windowed program (no console beside it) that carries its icon and version.
headers=$(x86_64-w64-mingw32-objdump -p build-windows/trelvano.exe)
grep -q '(Windows GUI)' <<<"$headers" || { echo "windows-test: trelvano.exe is not a windowed program" >&2; exit 1; }
strings -el build-windows/trelvano.exe | grep -qx 'Trelvano: modulazione AM, FM e PM' \
  || { echo "windows-test: trelvano.exe carries no version information" >&2; exit 1; }
x86_64-w64-mingw32-objdump -h build-windows/trelvano.exe | grep -q '\.rsrc' \
  || { echo "windows-test: trelvano.exe carries no resources (icon)" >&2; exit 1; }

# The captions against the fonts Windows (here Wine) really has: the windows
# platform on a display, not the off-screen one with Linux's fonts.
xvfb-run -a wine build-windows/UiTest.exe captionsFitTheirBoxes 2>&1 | grep -v "Dpi" \
  || { echo "windows-test: a caption does not fit its box with Windows' fonts" >&2; exit 1; }

# The installer, silently, as an administrator deploying to a lab would.
setup=$(ls build-windows/trelvano-*-win64-setup.exe)
program_files="$WINEPREFIX/drive_c/Program Files/Trelvano"
rm -rf "$program_files" "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Trelvano"
wine "$setup" /S
wineserver --wait
for file in trelvano.exe Qt6Core.dll Qt6Widgets.dll platforms/qwindows.dll LICENSE.txt LICENSE.LGPL-3.txt Uninstall.exe; do
  [ -f "$program_files/$file" ] || { echo "windows-test: the installer left no $file" >&2; exit 1; }
done
start_menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Trelvano"
[ -f "$start_menu/Trelvano.lnk" ] || { echo "windows-test: no Start-menu entry in $start_menu" >&2; exit 1; }
# The entry must lead to the program itself (a .lnk holds its target's path in UTF-16 or ANSI).
grep -aq 'Trelvano\\trelvano.exe' <(tr -d '\0' <"$start_menu/Trelvano.lnk") \
  || { echo "windows-test: the Start-menu entry does not lead to trelvano.exe" >&2; exit 1; }
# The installed program, on Wine's display in Xvfb, keeps running until
# stopped. No WINEPATH here: every DLL and plugin must come from its own folder.
status=0
env -u WINEPATH xvfb-run -a timeout 20 wine "$program_files/trelvano.exe" || status=$?
wineserver --kill || true
[ "$status" = 124 ] || { echo "windows-test: the installed trelvano.exe ended with $status instead of running" >&2; exit 1; }
# The uninstaller takes it all away again (it reruns itself from a temporary copy).
wine "$program_files/Uninstall.exe" /S
wineserver --wait
if [ -e "$program_files/trelvano.exe" ] || [ -e "$start_menu/Trelvano.lnk" ]; then
  echo "windows-test: the uninstaller left the program or its Start-menu entry" >&2
  exit 1
fi
echo "windows-test: the installer put the program, its DLLs and a Start-menu entry in place; it starts; the uninstaller removes it."

tools/windows/smoke.sh
