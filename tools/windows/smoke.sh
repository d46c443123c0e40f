#!/usr/bin/env bash
# Smoke run of the Windows program from its zip, on Wine's X11 display inside
# Xvfb, driven with the mouse as a student would: a press with no modulation
# chosen shows its message box, "AM" then "Grafici" draws the waveform,
# "Visualizza spettro" shows the spectrum, the mouse over a line brings its
# readout, and closing the windows ends the program. Screenshots of each step
# land in build-windows/smoke/. Without a window manager the keyboard focus is
# unreliable, so nothing is typed.
#   tools/windows/smoke.sh          after tools/windows/build.sh
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD
if [ -z "${TRELVANO_SMOKE_DISPLAY:-}" ]; then
  exec env TRELVANO_SMOKE_DISPLAY=1 xvfb-run -a -s '-screen 0 1920x1080x24' "$0" "$@"
fi

shots="$root/build-windows/smoke"
rm -rf "$shots" && mkdir -p "$shots"
# The zip alone, unpacked: no DLL may come from anywhere but the zip.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"; wineserver --kill >/dev/null 2>&1 || true' EXIT
unzip -q "$(ls build-windows/trelvano-*-win64.zip)" -d "$unpacked"
program=$(find "$unpacked" -name trelvano.exe | head -n1)
source tools/windows/wine.sh
unset WINEPATH WINEQT_QPA_PLATFORM

fail() { echo "windows-smoke: $*" >&2; shot failure; exit 1; }
shot() { import -window root "$shots/$1.png"; }
# The X window of a top-level window with this exact title, waiting up to 30 s.
window() {
  local id
  for _ in $(seq 60); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1 || true)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.5
  done
  return 1
}
# Clicks at (x, y) pixels of a window's client area.
click() {
  local id=$1 x=$2 y=$3 X Y
  eval "$(xdotool getwindowgeometry --shell "$id")"
  xdotool mousemove $((X + x)) $((Y + y)) click 1
  sleep 1
}
count_windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
# Waits up to 10 s for `count` visible windows titled $1; a search that meets a
# window being destroyed fails, so one reading is never enough.
await_count() {
  for _ in $(seq 20); do [ "$(count_windows "$1")" = "$2" ] && return 0; sleep 0.5; done
  return 1
}

# An Italian lab PC: Wine turns LANG into the Windows regional settings, and
# the readouts then show the decimal comma.
LANG=it_IT.UTF-8 LC_ALL=it_IT.UTF-8 wine "$program" &
wine_pid=$!
panel=$(window Trelvano) || fail "the panel \"Trelvano\" did not open"
sleep 2
shot 1-panel

# "Grafici" (Command2 at 336,232, 129 x 33 pixels) with the type box still on
# its prompt: the type check refuses it with a box captioned "Trelvano".
click "$panel" 400 248
await_count Trelvano 2 || fail "no message box after a press with no modulation chosen"
shot 2-message
box=$(xdotool search --onlyvisible --name '^Trelvano$' | grep -v "^$panel\$" | tail -n1)
eval "$(xdotool getwindowgeometry --shell "$box")"
# Its one button, OK, sits at the right of the grey strip along the bottom.
click "$box" $((WIDTH - 50)) $((HEIGHT - 24))
await_count Trelvano 1 || fail "the message box did not close on OK"

# The type box's list (Combo1 at 336,184, 209 x 28): its arrow, then "AM", the first item.
click "$panel" 535 198
shot 3-list
click "$panel" 370 224
click "$panel" 400 248
waveform=$(window "Forme d'onda reali") || fail "\"Grafici\" opened no waveform window"
sleep 2
shot 4-waveform

# "Visualizza spettro" (Command1 at 1024,32, 129 x 57).
click "$waveform" 1088 60
spectrum=$(window Spettro) || fail "\"Visualizza spettro\" showed no spectrum window"
sleep 2
shot 5-spectrum

# The carrier line stands at x = 50 of the plot (1009 pixels wide, 617 high)
# and reaches 90 % of its height; the readout comes as a tooltip.
eval "$(xdotool getwindowgeometry --shell "$spectrum")"
shot 6-before-readout
xdotool mousemove $((X + 504)) $((Y + 200))
sleep 0.3
xdotool mousemove $((X + 504)) $((Y + 201))
sleep 2
shot 6-readout
# The tooltip opens just below and right of the cursor.
changed=$(compare -metric AE -crop "300x60+$((X + 504))+$((Y + 201))" \
  "$shots/6-before-readout.png" "$shots/6-readout.png" null: 2>&1 || true)
[ "${changed%% *}" -gt 500 ] 2>/dev/null || fail "no readout appeared under the cursor ($changed pixels changed)"
rm "$shots/6-before-readout.png"

# Closing every window ends the program, as the last window's close does.
wine taskkill /IM trelvano.exe >/dev/null 2>&1 || true
for _ in $(seq 40); do kill -0 "$wine_pid" 2>/dev/null || break; sleep 0.5; done
kill -0 "$wine_pid" 2>/dev/null && fail "the program still runs after its windows were closed"
wait "$wine_pid" || true
echo "windows-smoke: panel, message box, waveform, spectrum and readout all appeared; screenshots in $shots"
