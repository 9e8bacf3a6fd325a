#!/usr/bin/env bash
# Takes pictures of the real windows on a virtual display with a window manager: each page
# of the main window on the demo game, the skin picker, the path dialog and the folder
# browser, each window with its frame. Usage: tools/screenshots.sh [--windows] [folder];
# SCALE=2 takes them at twice the size. With --windows: the Windows program that the
# ci-windows workflow built, under a Wine of its own.
source "$(dirname "$0")/common.sh"

windows=
[ "${1:-}" = --windows ] && windows=1 && shift
# Wine passes no QT_ variable: the Windows program cannot be scaled so.
[ -z "$windows" ] || [ "${SCALE:-1}" = 1 ] || { echo "SCALE works on Linux only" >&2; exit 1; }
install_missing build display bench ${windows:+windows}
[ -n "$windows" ] || build dev
out=$(realpath -m "${1:-$repo/build-dev/screenshots${windows:+/windows}}")
mkdir -p "$out"
scratch=$(mktemp -d)
tolvane=
trap 'kill $tolvane 2>/dev/null; [ -z "$windows" ] || bash "$repo/tests/wine.sh" stop "$scratch/wine"
    bash "$repo/tools/xdisplay.sh" stop "$scratch/x"; rm -rf "$scratch"' EXIT
scale=${SCALE:-1}
bash "$repo/tools/xdisplay.sh" start "$scratch/x" "$((1024 * scale))x$((768 * scale))"
export DISPLAY=":$(cat "$scratch/x/display")" XDG_RUNTIME_DIR="$scratch" QT_SCALE_FACTOR=$scale
program=("$repo/build-dev/src/tolvane/tolvane") game=$scratch/game
if [ -n "$windows" ]; then
    bash "$repo/tests/wine.sh" start "$scratch/wine" "$scratch/x"
    export XDISPLAY_FOLDER=$scratch/x
    program=(bash "$repo/tests/wine.sh" run "$scratch/wine" "$repo/build-ci-windows/src/tolvane/tolvane.exe")
    game="Z:${scratch//\//\\}\\game"
fi
# The demo game's 54 settings alone: its lines after them would bring a notice to the front.
mkdir -p "$scratch/game/config"
head -n 54 "$repo/examples/tribes/config/ServerPrefs.cs" >"$scratch/game/config/ServerPrefs.cs"
printf '\r\n' >>"$scratch/game/config/ServerPrefs.cs"
printf '%s\r\n' "$game" >"$scratch/path.inf"

# The window with this title, once it is on screen, and a picture of it with its frame.
window() { xdotool search --sync --onlyvisible --name "^$1\$" | head -n 1; }
shoot() {
    sleep 0.3
    import -frame -window "$(xdotool getwindowfocus -f)" "$out/$1.png"
}
(cd "$scratch" && exec "${program[@]}") &
tolvane=$!
main=$(window Tolvane)
xdotool windowactivate --sync "$main"
# The header of page N: four to a row, 20 pixels high, at the top of the client area.
pages=(server-info master-info player-info team-info server-settings ip-addresses)
for page in "${!pages[@]}"; do
    xdotool mousemove --window "$main" $((483 * scale * (2 * (page % 4) + 1) / 8)) \
        $((scale * (20 * (page / 4) + 10) + 20 * scale)) click 1
    shoot "main-${pages[$page]}"
done
# The skin picker, from the first team's button on the Team Info page.
xdotool mousemove --window "$main" $((483 * scale * 7 / 8)) $((30 * scale)) click 1 \
    mousemove --window "$main" $((432 * scale)) $((119 * scale)) click 1
sleep 1
shoot skin-picker
xdotool key Escape
xdotool windowactivate --sync "$main"
xdotool key ctrl+p
dialog=$(window "Path Info For Tribes")
xdotool windowactivate --sync "$dialog"
shoot path-dialog
xdotool key Tab key space # from the path box to Browse
xdotool windowactivate --sync "$(window Locate)"
shoot folder-browser
echo "Screenshots in $out"
