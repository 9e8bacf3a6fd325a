#!/usr/bin/env bash
# The Windows installer and zip that CPack made, under a 64-bit Wine of their own. The installer
# is a 64-bit program and runs for real, one line a step:
# - /S /PATH=user installs into C:\Program Files\Tolvane and puts that folder on the user's
#   PATH, where a new cmd finds tolvane-cli.exe; the Start menu shortcut is made;
# - the uninstaller is registered under Apps;
# - both programs carry the version, the manifest and the icon, and import system DLLs only;
# - Tolvane started from its shortcut (so in %APPDATA%\Tolvane) saves a value typed into the
#   first field with Save and Exit, byte for byte; tolvane-cli.exe lists the settings;
# - the next version, the same programs packed again, installs over it without a question;
# - /S uninstalls it all, the PATH entry too, but path.inf;
# - a user's PATH too long for NSIS's strings is left as it was by both;
# - then the zip's tolvane-cli.exe runs from its own folder.
# Usage: windows-install.sh BUILD_FOLDER GAME_FOLDER DISPLAY_FOLDER
set -euo pipefail
build=$(realpath "$1") demo=$2 display=$3
here=$(cd "$(dirname "$0")" && pwd)
installer=$(ls "$build"/Tolvane-*-win64.exe) zip=$(ls "$build"/Tolvane-*-win64.zip)
version=${installer##*/Tolvane-} version=${version%-win64.exe}
next=${version%.*}.$((${version##*.} + 1))
scratch=$(mktemp -d "$build/install-XXXXXX")
# The next version, as a new release would bring it: the same programs packed again, while the
# first is tried (zlib, since only its version matters here).
(cd "$build" && exec cpack -G NSIS -B "$scratch/next" -D CPACK_PACKAGE_VERSION="$next" \
    -D CPACK_PACKAGE_FILE_NAME="Tolvane-$next-win64" -D CPACK_NSIS_COMPRESSOR=zlib) \
    >"$scratch/next.log" 2>&1 &
repack=$!
trap 'kill $repack 2>/dev/null || true; wait; bash "$here/wine.sh" stop "$scratch"; rm -rf "$scratch"; true' EXIT
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

x86_64-w64-mingw32-objdump -f "$installer" | grep -q 'file format pei-x86-64' \
    || fail "the installer is no 64-bit program"
echo "step: the installer is a 64-bit program"
wine "$installer" /S /PATH=user
programs="$WINEPREFIX/drive_c/Program Files/Tolvane"
[ -f "$programs/tolvane.exe" ] && [ -f "$programs/tolvane-cli.exe" ] || fail "not installed"
echo "step: /S installed into C:\\Program Files\\Tolvane"
userPath() { wine reg query 'HKCU\Environment' /v PATH 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z_]*SZ *//p'; }
[ "$(userPath)" = 'C:\Program Files\Tolvane' ] || fail "/PATH=user gave the user's PATH: $(userPath)"
found=$(cd "$scratch" && wine cmd /c 'tolvane-cli.exe --version' 2>&1 | tr -d '\r') || true
[ "$found" = "tolvane-cli $version" ] || fail "a new cmd does not find tolvane-cli.exe on PATH: $found"
echo "step: /PATH=user put the folder on the user's PATH, where a new cmd finds tolvane-cli.exe"
shortcut=$(find "$WINEPREFIX/drive_c" -name 'Tolvane.lnk' | head -n 1)
[ -n "$shortcut" ] || fail "no Start menu shortcut"
echo "step: the Start menu shortcut is there"
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Tolvane' # for all users, or this one
registered=$({ wine reg query "HKLM\\$key" || true; wine reg query "HKCU\\$key" || true; } 2>/dev/null | tr -d '\r')
for value in DisplayName DisplayVersion Publisher DisplayIcon; do
    grep -q "$value" <<<"$registered" || fail "the uninstaller's $value is not registered: $registered"
done
echo "step: registered under Apps: $(grep -o 'DisplayVersion.*' <<<"$registered")"
start=(wine start /unix "$shortcut")
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
# Each program carries the project's version, its manifest and the icon (the bytes of the
# icon's first image, from its directory entry).
hex() { od -An -v -tx1 "$@" | tr -d ' \n'; }
icon=$here/../packaging/tolvane.ico
iconSize=$((0x$(hex -j 14 -N 4 "$icon" | sed -E 's/(..)(..)(..)(..)/\4\3\2\1/')))
iconStart=$((0x$(hex -j 18 -N 4 "$icon" | sed -E 's/(..)(..)(..)(..)/\4\3\2\1/')))
iconBytes=$(hex -j "$iconStart" -N "$((iconSize < 256 ? iconSize : 256))" "$icon")
[ "${#iconBytes}" -ge 64 ] || fail "no image read from $icon"
for program in "$programs"/tolvane*.exe; do
    # Whole outputs first: grep -q ends early, and pipefail would count its writer's SIGPIPE.
    name=$(basename "$program") texts=$(strings -el "$program") narrow=$(strings "$program")
    for text in "$version" 'The Tolvane developers' "$name"; do
        grep -qxF "$text" <<<"$texts" || fail "$name carries no version resource with $text"
    done
    for text in '<longPathAware' '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' 'level="asInvoker"'; do
        grep -qF "$text" <<<"$narrow" || fail "$name carries no manifest with $text"
    done
    hex "$program" >"$scratch/hex"
    grep -qF "$iconBytes" "$scratch/hex" || fail "$name carries no icon"
done
echo "step: both programs carry version $version, the manifest and the icon"
(cd "$programs" && exec "${start[@]}" >/dev/null 2>&1) &
for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name '^Tolvane$' 2>/dev/null | head -n 1) && break
    sleep 0.2
done
[ -n "${window:-}" ] || fail "no window from the shortcut"
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
echo "step: started from the shortcut, a value typed and saved byte for byte, tolvane-cli.exe listed"
wait $repack || fail "cpack of version $next: $(tail -n 5 "$scratch/next.log")"
wine "$scratch/next/Tolvane-$next-win64.exe" /S /PATH=user
registered=$(wine reg query "HKLM\\$key" /v DisplayVersion 2>/dev/null | tr -d '\r') || true
grep -q "REG_SZ *$next\$" <<<"$registered" || fail "the second install left Apps at: $registered"
[ -f "$programs/tolvane.exe" ] && [ "$(userPath)" = 'C:\Program Files\Tolvane' ] \
    || fail "the second install left the programs or PATH so: $(ls "$programs"), $(userPath)"
echo "step: version $next installed over $version without a question, PATH still one entry"
uninstall() {
    wine "$programs/Uninstall.exe" /S
    # It goes on in a copy of itself, which this wait follows: the prefix's wineserver stays.
    for _ in $(seq 300); do
        [ -e "$programs" ] || [ -e "$shortcut" ] || [[ $(userPath) == *Tolvane* ]] \
            || wine reg query "HKLM\\$key" >/dev/null 2>&1 || return 0
        sleep 0.2
    done
}
uninstall
[ -z "$(userPath)" ] || fail "the uninstaller left the user's PATH so: $(userPath)"
left=$(find "$WINEPREFIX" "$HOME" -iname '*tolvane*' ! -path "$appdata/Tolvane" \
    ! -path "$appdata/Tolvane/path.inf")
[ -z "$left" ] || fail "left behind: $left"
[ "$(ls "$appdata/Tolvane")" = path.inf ] || fail "left in %APPDATA%\\Tolvane: $(ls "$appdata/Tolvane")"
echo "step: /S uninstalled it all but path.inf, the PATH entry too"
# A PATH that NSIS's strings cannot hold with the folder added would be cut: it is left as it
# was, whether it is too long to read (1100) or only with the folder (1000).
for length in 1100 1000; do
    long="C:\\$(printf 'x%.0s' $(seq "$length"))"
    wine reg add 'HKCU\Environment' /v PATH /t REG_EXPAND_SZ /d "$long" /f >/dev/null 2>&1
    wine "$installer" /S /PATH=user
    [ -f "$programs/tolvane.exe" ] && [ "$(userPath)" = "$long" ] \
        || fail "with a PATH of $length characters: $(ls "$programs" | tr "\n" " "), PATH ending $(userPath | tail -c 60)"
    uninstall
    [ "$(userPath)" = "$long" ] || fail "the uninstaller changed a PATH of $length: $(userPath | tail -c 80)"
done
echo "step: PATHs of 1100 and 1000 characters, too long for NSIS's 1024 with the folder, left as they were"
unzip -q "$zip" -d "$scratch/zip"
zipped=$(dirname "$(find "$scratch/zip" -name tolvane-cli.exe)")
[ "$(cd "$zipped" && wine tolvane-cli.exe --game "Z:${scratch//\//\\}\\game" list | wc -l)" -eq 54 ] \
    || fail "the zip's tolvane-cli.exe list"
echo "step: the zip's tolvane-cli.exe lists the settings"
# A file that cannot be replaced nor written (chattr +i, for which Wine's ReplaceFile fails
# though nothing holds the file): refused with the reason, and nothing left beside it.
prefs=$scratch/game/config/ServerPrefs.cs
if chattr +i "$prefs" 2>/dev/null; then
    status=0
    message=$(cd "$zipped" && wine tolvane-cli.exe --game "Z:${scratch//\//\\}\\game" \
        set HostName=Other 2>&1) || status=$?
    chattr -i "$prefs"
    [ "$status" = 3 ] && [[ $message == *"Access denied"* ]] && [[ $message != *Success* ]] \
        || fail "a file that cannot be replaced gave $status: $message"
    [ "$(ls -A "$(dirname "$prefs")")" = ServerPrefs.cs ] \
        || fail "left beside the file: $(ls -A "$(dirname "$prefs")" | head -n 5)"
    echo "step: a file that cannot be replaced is refused with its reason, nothing left beside it"
else
    echo "step skipped: chattr +i needs root and a file system with the flag"
fi
echo "windows package test passed: $(basename "$installer"), $(basename "$zip")"
