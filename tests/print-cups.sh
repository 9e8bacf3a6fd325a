#!/usr/bin/env bash
# Print, chosen by keys in the real window, hands a CUPS server of the test's own (default
# queue: cups-pdf) an empty line, then the game file's 54 lines in 12-point Arial (Liberation
# Sans), not bold. Skipped (exit code 77) without root, cupsd or cups-pdf.
# Usage: print-cups.sh PROGRAM GAME_FOLDER DISPLAY_FOLDER
set -euo pipefail
program=$1 game=$2 display=$3
[ "$(id -u)" -eq 0 ] && command -v cupsd >/dev/null && [ -x /usr/lib/cups/backend/cups-pdf ] \
    || exit 77
scratch=$(mktemp -d)
tolvane= cupsd=
trap 'kill $tolvane $cupsd 2>/dev/null; wait; rm -rf "$scratch" || true' EXIT
mkdir -p -m 755 "$scratch"/{etc,spool/tmp,work,home} && chmod 755 "$scratch"
fail() { echo "FAIL: $1"; tail -n 20 "$scratch/error_log" 2>/dev/null; exit 1; }
wait_for() { for _ in $(seq 150); do eval "$1" && return 0; sleep 0.1; done; fail "$2"; }

printf '%s\n' "Listen $scratch/cups.sock" "PreserveJobFiles Yes" "DefaultAuthType None" \
    "<Location />" "Order allow,deny" "Allow all" "</Location>" >"$scratch/cupsd.conf"
printf '%s\n' "ServerRoot $scratch/etc" "RequestRoot $scratch/spool" "TempDir $scratch/spool/tmp" \
    "CacheDir $scratch/spool" "StateDir $scratch/spool" "ErrorLog $scratch/error_log" \
    "SystemGroup root" >"$scratch/cups-files.conf"
cupsd -f -c "$scratch/cupsd.conf" -s "$scratch/cups-files.conf" &
cupsd=$!
export CUPS_SERVER="$scratch/cups.sock" DISPLAY=":$(cat "$display/display")" HOME="$scratch/home"
wait_for 'lpstat -r >/dev/null 2>&1' "cupsd did not start"
# A scheduler that answers may still refuse its first connections now and then (EBADF).
wait_for 'lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd \
    2>/dev/null && lpadmin -d PDF 2>/dev/null' "lpadmin could not add the queue"

printf '%s\r\n' "$game" >"$scratch/work/path.inf"
(cd "$scratch/work" && exec bash "$(dirname "$0")/../tools/xdisplay.sh" run "$display" "$program") &
tolvane=$!
wait_for 'window=$(xdotool search --all --onlyvisible --pid "$tolvane" --name "^Tolvane\$")' "no window"
# Alt+E opens the Edit menu, Return chooses its first item, Print. A window just mapped may
# miss the first keys: Esc closes what they opened, and they go again until a job arrives.
for _ in $(seq 8); do
    timeout 5 xdotool windowactivate --sync "$window" key Escape sleep 0.2 key alt+e sleep 0.5 key Return
    for _ in $(seq 30); do ls "$scratch"/spool/d*-001 >/dev/null 2>&1 && break 2; sleep 0.1; done
done
job=$(ls "$scratch"/spool/d*-001 2>/dev/null) || fail "no print job reached CUPS"
diff <(pdftotext -layout "$job" - | head -n 54 | sed 's/^ *//; s/ *$//') \
    <(head -n 54 "$game/config/ServerPrefs.cs" | tr -d '\r') || fail "the printed lines differ"
fonts=$(pdffonts "$job") && grep -q LiberationSans <<<"$fonts" && ! grep -q Bold <<<"$fonts" \
    || fail "not Arial, or bold: $fonts"
# pdftotext drops a leading empty line: the first word's box shows it, and the type's size.
read -r top bottom < <(pdftotext -bbox "$job" - | grep -m1 '<word' \
    | sed -E 's/.*yMin="([0-9.]+)".*yMax="([0-9.]+)".*/\1 \2/')
awk -v t="$top" -v b="$bottom" 'BEGIN { h = b - t; exit !(h > 11 && h < 16 && t > h) }' \
    || fail "no empty first line, or not 12 point ($top $bottom)"
echo "print test passed: $(basename "$job") from CUPS"
