#!/usr/bin/env bash
# The Windows installer and zip that CPack made, under a Wine of their own. Their programs
# import system DLLs only. Where Wine runs 32-bit programs (wine32; the installer is one):
# installed silently, Tolvane started from its Start menu shortcut (so in %APPDATA%\Tolvane),
# a value typed into the first field and Save and Exit chosen with the keys, the file then
# checked byte for byte, tolvane-cli.exe run, uninstalled, and nothing of Tolvane
# left but path.inf. Elsewhere: the installer's contents listed, and the zip's programs run
# the same way from their own folder.
# Usage: windows-install.sh BUILD_FOLDER GAME_FOLDER DISPLAY_FOLDER
set -euo pipefail
build=$(realpath "$1") demo=$2 display=$3
here=$(cd "$(dirname "$0")" && pwd)
installer=$(ls "$build"/Tolvane-*-win64.exe) zip=$(ls "$build"/Tolvane-*-win64.zip)
scratch=$(mktemp -d "$build/install-XXXXXX")
trap 'bash "$here/wine.sh" stop "$scratch"; rm -rf "$scratch"; true' EXIT
fail() { echo "FAIL: $*"; exit 1; }
bash "$here/wine.sh" start "$scratch" "$display"
export WINEPREFIX="$scratch/prefix" HOME="$scratch/home" WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d' DISPLAY=":$(cat "$display/display")"
mkdir -p "$scratch/game/config"
head -n 54 "$demo/config/ServerPrefs.cs" >"$scratch/game/config/ServerPrefs.cs"
printf '\r\n' >>"$scratch/game/config/ServerPrefs.cs"
cp "$scratch/game/config/ServerPrefs.cs" "$scratch/original.cs"
appdata=$(find "$WINEPREFIX/drive_c/users" -maxdepth 3 -name Roaming -path '*AppData*' | head -n 1)
mkdir -p "$appdata/Tolvane"
printf 'Z:%s\r\n' "${scratch//\//\\}\\game" >"$appdata/Tolvane/path.inf"

# wine32 may be installed on a machine whose kernel runs no 32-bit program: try it.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    way=installer
    wine "$installer" /S
    programs="$WINEPREFIX/drive_c/Program Files/Tolvane"
    [ -f "$programs/tolvane.exe" ] && [ -f "$programs/tolvane-cli.exe" ] || fail "not installed"
    shortcut=$(find "$WINEPREFIX/drive_c" -name 'Tolvane.lnk' | head -n 1)
    [ -n "$shortcut" ] || fail "no Start menu shortcut"
    start=(wine start /unix "$shortcut")
else
    way=zip
    listing=$(7z l "$installer")
    grep -q 'tolvane-cli.exe' <<<"$listing" || fail "the installer lacks tolvane-cli.exe"
    unzip -q "$zip" -d "$scratch/zip"
    programs=$(dirname "$(find "$scratch/zip" -name tolvane.exe)")
    start=(wine tolvane.exe) # as a double click does: in its own folder
fi
# Every DLL the programs import is found in Wine's system32 (an API set name is resolved by the
# loader itself): none of MinGW's or Qt's is shipped beside them.
for program in "$programs"/*.exe; do
    imports=$(x86_64-w64-mingw32-objdump -p "$program" | sed -n 's/^\s*DLL Name: //p')
    [ -n "$imports" ] || fail "no imports read from $(basename "$program")"
    for dll in $imports; do
        [[ ${dll,,} == api-ms-win-* ]] || [ -n "$(find "$WINEPREFIX/drive_c/windows/system32" \
            -maxdepth 1 -iname "$dll")" ] || fail "$(basename "$program") imports $dll"
    done
done
(cd "$programs" && exec "${start[@]}" >/dev/null 2>&1) &
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Tolvane$' 2>/dev/null | head -n 1) && break
    sleep 0.2
done
[ -n "${window:-}" ] || fail "no window from the $way's program"
sleep 1
xdotool windowactivate --sync "$window" mousemove --window "$window" 204 89 click 1 \
    key ctrl+a type --delay 20 'Installed' # into the first field, Server Adress
xdotool key alt+r sleep 0.5 key Return
for _ in $(seq 50); do xdotool search --onlyvisible --name '^Tolvane$' >/dev/null 2>&1 || break; sleep 0.2; done
! xdotool search --onlyvisible --name '^Tolvane$' >/dev/null 2>&1 || fail "Save and Exit did not end the program"
diff <(sed '1s/"[^"]*"/"Installed"/' "$scratch/original.cs") "$scratch/game/config/ServerPrefs.cs" \
    >/dev/null || fail "the file is not what Save and Exit writes: $(head -c 300 "$scratch/game/config/ServerPrefs.cs")"
[ "$(wine "$programs/tolvane-cli.exe" --game "Z:${scratch//\//\\}\\game" list | wc -l)" -eq 54 ] \
    || fail "tolvane-cli.exe list"
if [ $way = installer ]; then
    wine "$programs/Uninstall.exe" /S
    for _ in $(seq 50); do [ -e "$programs" ] || break; sleep 0.2; done
    wineserver -w
    left=$(find "$WINEPREFIX" "$HOME" -iname '*tolvane*' ! -path "$appdata/Tolvane" \
        ! -path "$appdata/Tolvane/path.inf")
    [ -z "$left" ] || fail "left behind: $left"
    [ "$(ls "$appdata/Tolvane")" = path.inf ] || fail "left in %APPDATA%\\Tolvane: $(ls "$appdata/Tolvane")"
fi
echo "windows package test passed by the $way: $(basename "$installer"), $(basename "$zip")"
