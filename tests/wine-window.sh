#!/usr/bin/env bash
# The Windows program's real window under Wine, on the shared display: a value typed into the
# first field, Save and Exit chosen with the keys, the file then checked byte for byte.
# Usage: wine-window.sh WINE_FOLDER PROGRAM DISPLAY_FOLDER
set -euo pipefail
wine=$1 program=$(realpath "$2") display=$3
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d "$wine/window-XXXXXX")
tolvane=
trap 'kill $tolvane 2>/dev/null || true; wait; rm -rf "$scratch"; true' EXIT
fail() { echo "FAIL: $1"; exit 1; }
mkdir -p "$scratch/game/config" "$scratch/work"
game="$scratch/game/config/ServerPrefs.cs"
cp "$here/data/golden54.cs" "$game"
printf 'Z:%s\r\n' "${scratch//\//\\}\\game" >"$scratch/work/path.inf"
export DISPLAY=":$(cat "$display/display")"
(cd "$scratch/work" && XDISPLAY_FOLDER=$display exec bash "$here/wine.sh" run "$wine" "$program") &
tolvane=$!
for _ in $(seq 300); do # the first start of a new prefix makes its font cache
    window=$(xdotool search --onlyvisible --name '^Tolvane$' 2>/dev/null | head -n 1) && break
    sleep 0.2
done
[ -n "${window:-}" ] || fail "no window"
sleep 1
xdotool windowactivate --sync "$window" mousemove --window "$window" 204 89 click 1 \
    key ctrl+a type --delay 20 'Wine 1' # into the first field, Server Adress
xdotool key alt+r sleep 0.5 key Return
for _ in $(seq 50); do kill -0 $tolvane 2>/dev/null || break; sleep 0.2; done
kill -0 $tolvane 2>/dev/null && fail "Save and Exit did not end the program"
diff <(sed '1s/"[^"]*"/"Wine 1"/' "$here/data/golden54.cs") "$game" >/dev/null \
    || fail "the file is not what Save and Exit writes: $(head -c 300 "$game")"
echo "window test passed under Wine"
