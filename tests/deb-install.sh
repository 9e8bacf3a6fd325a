#!/usr/bin/env bash
# The Debian package from the outside: apt installs it with its dependencies, its metadata
# validates, the desktop entry's Exec line starts Tolvane on the shared display in its own
# working folder (~/.config/tolvane, whose path.inf names the demo game, so no path dialog
# comes up), and apt removes it again. Skipped (exit code 77) without root.
# Usage: deb-install.sh BUILD_FOLDER GAME_FOLDER DISPLAY_FOLDER
set -euo pipefail
build=$1 game=$2 display=$3
[ "$(id -u)" -eq 0 ] || exit 77
deb=$(ls "$build"/tolvane_*.deb)
scratch=$(mktemp -d)
tolvane=
trap 'kill $tolvane 2>/dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no Qt in the dependencies"
dpkg-deb -f "$deb" Depends | grep -q fonts-liberation2 || fail "no fonts-liberation2"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >/dev/null
entry=/usr/share/applications/org.tolvane.Tolvane.desktop
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
appstreamcli validate --no-net /usr/share/metainfo/org.tolvane.Tolvane.metainfo.xml >/dev/null \
    || fail "the AppStream metadata does not validate"
[ -s /usr/share/icons/hicolor/scalable/apps/org.tolvane.Tolvane.svg ] || fail "no icon"

export HOME="$scratch" DISPLAY=":$(cat "$display/display")"
mkdir -p "$HOME/.config/tolvane"
printf '%s\r\n' "$game" >"$HOME/.config/tolvane/path.inf"
$(sed -n 's/^Exec=//p' "$entry") &
tolvane=$!
for _ in $(seq 100); do
    xdotool search --onlyvisible --pid "$tolvane" --name '^Tolvane$' >/dev/null && break
    sleep 0.1
done
sleep 0.3
xdotool search --onlyvisible --pid "$tolvane" --name '^Tolvane$' >/dev/null || fail "no window"
if xdotool search --onlyvisible --pid "$tolvane" --name '^Path Info For Tribes$' >/dev/null; then
    fail "path.inf was not found in ~/.config/tolvane"
fi
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tolvane >/dev/null
[ ! -e /usr/bin/tolvane ] && [ ! -e "$entry" ] || fail "apt did not remove the package"
echo "package test passed: $(basename "$deb") installed, started from its menu entry, removed"
