#!/usr/bin/env bash
# Takes pictures of the real windows under Xvfb: each page of the main window on the demo
# game, the path dialog and the folder browser. Usage: tools/screenshots.sh [folder]
# SCALE=2 takes them at twice the size (QT_SCALE_FACTOR).
source "$(dirname "$0")/common.sh"

install_missing "${build_packages[@]}" xvfb xauth xdotool imagemagick
build dev
out=$(realpath -m "${1:-$repo/build-dev/screenshots}")
mkdir -p "$out"
scratch=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$scratch"' EXIT

scale=${SCALE:-1}
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 $((800 * scale))x$((600 * scale))x24 -nolisten tcp >/dev/null 2>&1 &
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")" XDG_RUNTIME_DIR="$scratch" QT_SCALE_FACTOR=$scale
printf '%s\r\n' "$repo/examples/tribes" >"$scratch/path.inf"

# A picture of the area WIDTHxHEIGHT+LEFT+TOP of the screen, in unscaled pixels.
shoot() {
    sleep 0.3
    local w h x y
    IFS='x+' read -r w h x y <<<"$2"
    import -window root -crop "$((w * scale))x$((h * scale))+$((x * scale))+$((y * scale))" \
        +repage "$out/$1.png"
}
click() { xdotool mousemove $(($1 * scale)) $(($2 * scale)) click 1; }
(cd "$scratch" && exec "$repo/build-dev/src/tolvane") &
xdotool search --sync --onlyvisible --name '^Tolvane$' >/dev/null
# The header of page N: four to a row, 20 pixels high, above the client area at 139,120.
pages=(server-info master-info player-info team-info server-settings ip-addresses)
for page in "${!pages[@]}"; do
    column=$((page % 4)) row=$((page / 4))
    click $((139 + 483 * (2 * column + 1) / 8)) $((120 + 20 * row + 10))
    shoot "main-${pages[$page]}" 500x460+130+90
done
xdotool key ctrl+p
xdotool search --sync --onlyvisible --name '^Path Info For Tribes$' >/dev/null
shoot path-dialog 430x160+0+0
dialog=$(xdotool search --onlyvisible --name '^Path Info For Tribes$')
xdotool windowfocus --sync "$dialog" mousemove --window "$dialog" $((380 * scale)) $((84 * scale)) \
    click 1
xdotool search --sync --onlyvisible --name '^Locate$' >/dev/null
shoot folder-browser 355x215+0+0
echo "Screenshots in $out"
