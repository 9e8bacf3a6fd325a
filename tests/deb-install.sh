#!/usr/bin/env bash
# The Debian packages, installed with apt and removed again. tolvane: its metadata validates,
# and its desktop entry starts it in ~/.config/tolvane, whose path.inf names the demo game.
# tolvane-cli: no GUI or X library, and it works with no display. Skipped (77) without root,
# and where Tolvane is installed already: the admin's own packages stay.
# Usage: deb-install.sh BUILD_FOLDER GAME_FOLDER DISPLAY_FOLDER
set -euo pipefail
build=$1 game=$2 display=$3
[ "$(id -u)" -eq 0 ] || exit 77
if dpkg-query -W -f='${Status}\n' tolvane tolvane-cli 2>/dev/null | grep -q "ok installed"; then
    echo "skipped: Tolvane is installed here, and this test would replace and remove it"
    exit 77
fi
deb=$(ls "$build"/tolvane_*.deb)
cli=$(ls "$build"/tolvane-cli_*.deb)
scratch=$(mktemp -d)
tolvane=
trap 'kill $tolvane 2>/dev/null; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

dpkg-deb -f "$deb" Depends | grep libqt6widgets6 | grep -q fonts-liberation2 || fail "no Qt, no fonts"
gui='libqt6(gui|widgets|printsupport)|libx11|libxcb|libgl|libegl|libfontconfig'
if dpkg-deb -f "$cli" Depends | grep -Eq "$gui"; then fail "tolvane-cli depends on a GUI library"; fi
dpkg-deb -x "$cli" "$scratch/cli"
readelf -d "$scratch/cli/usr/bin/tolvane-cli" | grep NEEDED | grep -Eq "$gui" \
    && fail "tolvane-cli links a GUI library"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --reinstall "$deb" "$cli" >/dev/null
entry=/usr/share/applications/org.tolvane.Tolvane.desktop
desktop-file-validate "$entry" && [ -s /usr/share/icons/hicolor/scalable/apps/org.tolvane.Tolvane.svg ] \
    && appstreamcli validate --no-net /usr/share/metainfo/org.tolvane.Tolvane.metainfo.xml >/dev/null \
    || fail "the desktop entry, the icon or the AppStream metadata"

export HOME="$scratch" DISPLAY=":$(cat "$display/display")" XDG_CONFIG_HOME=
mkdir -p "$HOME/.config/tolvane" && printf '%s\r\n' "$game" >"$HOME/.config/tolvane/path.inf"
$(sed -n 's/^Exec=//p' "$entry") &
tolvane=$!
shown() { xdotool search --all --onlyvisible --pid "$tolvane" --name "^$1\$" >/dev/null; }
for _ in $(seq 100); do shown Tolvane && break; sleep 0.1; done
sleep 0.3
shown Tolvane || fail "no window"
shown "Path Info For Tribes" && fail "path.inf was not found in ~/.config/tolvane"
[ "$(env -u DISPLAY tolvane-cli --game "$game" get Password pref::PacketSize)" = $'\n200' ] \
    && env -u DISPLAY tolvane-cli --game "$game" check >/dev/null || fail "tolvane-cli get, check"
# Bash completes a setting name, in any case, after --game DIR, from the installed tool.
completed=$(bash -c 'source /usr/share/bash-completion/bash_completion
    source /usr/share/bash-completion/completions/tolvane-cli
    COMP_LINE="tolvane-cli --game /srv get hostn" COMP_POINT=33 COMP_CWORD=4
    COMP_WORDS=(tolvane-cli --game /srv get hostn) && _tolvane_cli && echo "${COMPREPLY[*]}"')
[ -s /usr/share/man/man1/tolvane-cli.1.gz ] && [ "$completed" = HostName ] \
    || fail "no man page, or completion gave \"$completed\""
# With HOME unset, the launcher finds the home folder as the programs do, and gets as far as
# the program, which says it has no display.
config=$(getent passwd "$(id -u)" | cut -d: -f6)/.config
[ -e "$config/tolvane" ] || made=$config/tolvane
said=$(env -u HOME -u DISPLAY -u XDG_CONFIG_HOME "$(sed -n 's/^Exec=//p' "$entry")" 2>&1) || true
grep -q "no display to show a window on" <<<"$said" || fail "the launcher without HOME: $said"
[ -z "${made:-}" ] || rm -r "$made"
DEBIAN_FRONTEND=noninteractive apt-get remove -y -q tolvane tolvane-cli >/dev/null
[ ! -e /usr/bin/tolvane ] && [ ! -e "$entry" ] && [ ! -e /usr/bin/tolvane-cli ] || fail "left behind"
echo "package test passed: $(basename "$deb") and $(basename "$cli") installed, started, removed"
