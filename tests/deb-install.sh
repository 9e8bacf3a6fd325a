#!/usr/bin/env bash
# The Debian package, from the outside: its metadata validates, apt installs it with its
# dependencies, the installed desktop entry's Exec line starts Tolvane in its own working
# folder (~/.config/tolvane) until the window maps, and apt removes it again.
# Needs root (apt); without it the test is skipped (exit code 77).
set -euo pipefail
deb=$(realpath "$1")
demo=$(realpath "$2")
[ "$(id -u)" -eq 0 ] || exit 77

scratch=$(mktemp -d)
chmod 755 "$scratch"
xvfb=
trap 'pkill -f /usr/bin/tolvane 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
wait_for() {
    for _ in $(seq 100); do eval "$1" && return 0; sleep 0.1; done
    fail "$2"
}

dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "no Qt in the dependencies"
dpkg-deb -f "$deb" Depends | grep -q fonts-liberation2 || fail "no fonts-liberation2"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" >/dev/null
entry=/usr/share/applications/org.tolvane.Tolvane.desktop
[ -x /usr/bin/tolvane ] || fail "no /usr/bin/tolvane"
desktop-file-validate "$entry" || fail "the desktop entry does not validate"
appstreamcli validate --no-net /usr/share/metainfo/org.tolvane.Tolvane.metainfo.xml >/dev/null \
    || fail "the AppStream metadata does not validate"
[ -s /usr/share/icons/hicolor/scalable/apps/org.tolvane.Tolvane.svg ] || fail "no icon"

# Started as the menu starts it: the Exec line, with a home of the test's own whose
# Tolvane folder holds a path.inf that names the demo game, so no path dialog comes up.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wait_for '[ -s "$scratch/display" ]' "Xvfb did not start"
export DISPLAY=":$(cat "$scratch/display")" HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/run"
unset XDG_CONFIG_HOME
mkdir -p "$HOME/.config/tolvane" && mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '%s\r\n' "$demo" >"$HOME/.config/tolvane/path.inf"
exec_line=$(sed -n 's/^Exec=//p' "$entry")
$exec_line &
wait_for 'xdotool search --onlyvisible --name "^Tolvane\$" >/dev/null' "the window did not map"
sleep 0.3
if xdotool search --onlyvisible --name "^Path Info For Tribes\$" >/dev/null; then
    fail "path.inf was not found in ~/.config/tolvane"
fi
pkill -f /usr/bin/tolvane

DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tolvane >/dev/null
[ ! -e /usr/bin/tolvane ] && [ ! -e "$entry" ] || fail "apt did not remove the package"
echo "package test passed: $(basename "$deb") installed, started from its menu entry, removed"
