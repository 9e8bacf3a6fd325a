#!/usr/bin/env bash
# Prints from the real window to a real print system: a CUPS server of the test's own with
# a cups-pdf queue as its default printer. Print is chosen from the Edit menu by keys; the
# document that Tolvane handed to CUPS (kept in the spool) is read back: an empty first
# line, then the 54 lines in order, in 12-point Liberation Sans (Arial's metrics), not bold.
# Skipped (exit code 77) without root or without cupsd and cups-pdf.
set -euo pipefail
program=$1
demo=$2
[ "$(id -u)" -eq 0 ] && command -v cupsd >/dev/null && [ -x /usr/lib/cups/backend/cups-pdf ] \
    || exit 77

scratch=$(mktemp -d)
chmod 755 "$scratch"
tolvane=
cupsd=
xvfb=
trap 'kill $tolvane $cupsd $xvfb 2>/dev/null || true; wait; rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; cat "$scratch/log/error_log" 2>/dev/null | tail -20; exit 1; }
wait_for() {
    for _ in $(seq 150); do eval "$1" && return 0; sleep 0.1; done
    fail "$2"
}

# A CUPS server of the test's own, on a socket in the scratch folder.
mkdir -p "$scratch"/{etc/ppd,spool/tmp,cache,state,log,work}
chmod -R 755 "$scratch"
mkdir -m 700 "$scratch/home"
socket="$scratch/cups.sock"
cat >"$scratch/cupsd.conf" <<CONF
Listen $socket
LogLevel info
PreserveJobFiles Yes
PreserveJobHistory Yes
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
CONF
cat >"$scratch/cups-files.conf" <<CONF
ServerRoot $scratch/etc
RequestRoot $scratch/spool
TempDir $scratch/spool/tmp
CacheDir $scratch/cache
StateDir $scratch/state
ErrorLog $scratch/log/error_log
AccessLog $scratch/log/access_log
PageLog $scratch/log/page_log
SystemGroup root
CONF
cupsd -f -c "$scratch/cupsd.conf" -s "$scratch/cups-files.conf" &
cupsd=$!
export CUPS_SERVER="$socket"
wait_for '[ -S "$socket" ] && lpstat -r >/dev/null 2>&1' "cupsd did not start"
lpadmin -p PDF -E -v cups-pdf:/ -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd 2>/dev/null
lpadmin -d PDF
[ "$(lpstat -d)" = "system default destination: PDF" ] || fail "no default printer"

# The real window on a virtual display, and Print chosen from the Edit menu.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wait_for '[ -s "$scratch/display" ]' "Xvfb did not start"
export DISPLAY=":$(cat "$scratch/display")" HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/home"
printf '%s\r\n' "$demo" >"$scratch/work/path.inf"
(cd "$scratch/work" && exec "$program") &
tolvane=$!
wait_for 'window=$(xdotool search --onlyvisible --name "^Tolvane\$")' "no window"
xdotool windowfocus --sync "$window"
# Alt+E opens the Edit menu, Return chooses its first item, Print. A window just mapped may
# not take the first keys: try again until a job reaches CUPS.
for _ in $(seq 5); do
    xdotool key alt+e
    sleep 0.3
    xdotool key Return
    for _ in $(seq 20); do ls "$scratch"/spool/d*-001 >/dev/null 2>&1 && break 2; sleep 0.1; done
done
wait_for 'ls "$scratch"/spool/d*-001 >/dev/null 2>&1' "no print job reached CUPS"
job=$(ls "$scratch"/spool/d*-001 | head -n 1)
wait_for 'lpstat -W completed -o PDF | grep -q PDF' "the job did not complete"

pdftotext -layout "$job" "$scratch/job.txt"
diff <(head -n 54 "$scratch/job.txt" | sed 's/^ *//; s/ *$//') \
     <(head -n 54 "$demo/config/ServerPrefs.cs" | tr -d '\r') || fail "the printed lines differ"
fonts=$(pdffonts "$job")
echo "$fonts" | grep -q LiberationSans || fail "not printed in Arial's metrics: $fonts"
if echo "$fonts" | grep -q Bold; then fail "printed in bold: $fonts"; fi
# pdftotext drops a leading empty line: the first word's box shows it, and the type's size.
# Above the first text line stands at least one line's height: the empty line.
read -r top bottom < <(pdftotext -bbox "$job" - | grep -m1 '<word' \
    | sed -E 's/.*yMin="([0-9.]+)".*yMax="([0-9.]+)".*/\1 \2/')
awk -v top="$top" -v bottom="$bottom" 'BEGIN { h = bottom - top;
    exit !(h > 11 && h < 16 && top > h) }' || fail "no empty first line or not 12 point ($top $bottom)"
echo "first line at $top-$bottom pt; print test passed: $(basename "$job") from CUPS, $(wc -l <"$scratch/job.txt") lines"
