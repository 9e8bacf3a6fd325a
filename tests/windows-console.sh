#!/usr/bin/env bash
# tolvane-cli.exe in a real console under Wine, as a batch file runs it on Windows: Wine gives
# its programs a console only on a terminal, which script(1) lends it. Pipes and files then take
# the console's code page. One line a step.
# Usage: windows-console.sh WINE_FOLDER TOLVANE_CLI GAME_FOLDER
set -euo pipefail
wineFolder=$(realpath "$1") cli=$2 demo=$3
export WINEPREFIX="$wineFolder/prefix" HOME="$wineFolder/home" WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
scratch=$(mktemp -d "$wineFolder/console-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
prefs=$scratch/game/config/ServerPrefs.cs
mkdir -p "$(dirname "$prefs")"
# In the game's code page, Windows-1252: the host name "Zwölf Café" and the info "Zwölf €".
head -n 54 "$demo/config/ServerPrefs.cs" \
    | sed -e 's/^\$Server::HostName = "[^"]*"/$Server::HostName = "Zw\xf6lf Caf\xe9"/' \
        -e 's/^\$Server::Info = "[^"]*"/$Server::Info = "Zw\xf6lf \x80"/' >"$prefs"
cp "$cli" "$scratch/tolvane-cli.exe"
tool="tolvane-cli.exe --game Z:${scratch//\//\\}\\game"
sed 's/$/\r/' >"$scratch/run.bat" <<BATCH
@echo off
chcp 1252 >nul
chcp >page.txt
for /f "delims=" %%a in ('$tool get HostName') do set H=%%a
$tool set "JoinMOTD=%H%"
echo %ERRORLEVEL% >set.txt
$tool export --json >prefs.json
chcp 437 >nul
$tool get Info >refused.txt 2>refusal.txt
echo %ERRORLEVEL% >get.txt
$tool get Info --utf8 >utf8.txt
BATCH
(cd "$scratch" && script -qec 'wine cmd /c run.bat' /dev/null </dev/null >/dev/null) || true
grep -q 'code page: 1252' "$scratch/page.txt" || fail "chcp 1252 gave: $(cat "$scratch/page.txt")"
echo "step: the batch file's console is in code page 1252"
line() { grep -a "^\$Server::$1 = " "$prefs"; }
# Wine's cmd reads what for /f runs in the Unix code page, not the console's, so only
# characters that both share can make the trip here: Windows-1252's past ASCII, as Latin-1.
[ "$(tr -d ' \r' <"$scratch/set.txt")" = 0 ] \
    && [ "$(line JoinMOTD)" = $'$Server::JoinMOTD = "Zw\xf6lf Caf\xe9";\r' ] \
    || fail "for /f from get to set wrote: $(line JoinMOTD | od -c | head -n 3)"
echo "step: a for /f of get and a set wrote Zwölf Café back byte for byte, exit status 0"
grep -qF '"Server::Info": "Zw\u00f6lf \u20ac"' "$scratch/prefs.json" \
    && ! LC_ALL=C grep -q '[^ -~]' <(tr -d '\r\n' <"$scratch/prefs.json") \
    || fail "export --json through > wrote: $(head -c 200 "$scratch/prefs.json")"
# PowerShell 5.1's > reads the output in the console's page and writes UTF-16 with a BOM.
{ printf '\xff\xfe'; iconv -f ASCII -t UTF-16LE "$scratch/prefs.json"; } >"$scratch/prefs16.json"
for json in prefs.json prefs16.json; do
    wine "$scratch/tolvane-cli.exe" --file "Z:${prefs//\//\\}" set Info=x >/dev/null \
        || fail "set Info=x"
    wine "$scratch/tolvane-cli.exe" --file "Z:${prefs//\//\\}" import --json "Z:${scratch//\//\\}\\$json" \
        || fail "import of $json"
    [ "$(line Info)" = $'$Server::Info = "Zw\xf6lf \x80";\r' ] \
        || fail "import of $json wrote: $(line Info | od -c | head -n 3)"
done
echo "step: export --json through cmd's > wrote JSON of ASCII alone, which import reads back, as it is and as PowerShell 5.1's > writes it"
[ "$(tr -d ' \r' <"$scratch/get.txt")" = 3 ] && [ ! -s "$scratch/refused.txt" ] \
    && grep -q 'which has no U+20AC; nothing was printed. Give --utf8' "$scratch/refusal.txt" \
    || fail "get of € in code page 437: $(cat "$scratch/get.txt" "$scratch/refused.txt" "$scratch/refusal.txt")"
[ "$(cat "$scratch/utf8.txt")" = 'Zwölf €' ] \
    || fail "get --utf8 printed: $(od -c "$scratch/utf8.txt" | head -n 2)"
echo "step: in code page 437, get of Zwölf € printed nothing, exit status 3, naming U+20AC; --utf8 printed UTF-8"
