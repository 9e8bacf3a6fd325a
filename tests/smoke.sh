#!/usr/bin/env bash
# Starts the real program on a virtual X display and drives it with real key presses:
#  1. with the demo game: a field focused, Ctrl+B writes the backup, Ctrl+E ends the run;
#  2. with no path.inf: the path dialog asks, a typed path and Enter store it.
set -euo pipefail
program=$1
demo=$2

scratch=$(mktemp -d)
tolvane=
trap 'kill $tolvane "$xvfb" 2>/dev/null || true; rm -rf "$scratch"' EXIT
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$HOME/Desktop" "$scratch/work"
mkdir -m 0700 "$scratch/runtime"
cp -r "$demo" "$scratch/game"
prefs="$scratch/game/config/ServerPrefs.cs"
cp "$prefs" "$scratch/prefs-before"

fail() { echo "FAIL: $*"; exit 1; }

# Waits for a window with exactly this title; prints the newest one's id.
window_named() {
    for _ in $(seq 100); do
        if ids=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null); then
            echo "$ids" | tail -n 1
            return 0
        fi
        sleep 0.1
    done
    fail "no window named \"$1\""
}

wait_for() {
    for _ in $(seq 100); do eval "$1" && return 0; sleep 0.1; done
    fail "$2"
}

# Sends keys until the condition holds: a window just mapped may not take the first ones.
keys_until() {
    local keys=$1 condition=$2 message=$3
    for _ in $(seq 5); do
        eval "$keys"
        for _ in $(seq 20); do eval "$condition" && return 0; sleep 0.1; done
    done
    fail "$message"
}

# 1. The demo game: the backup by Ctrl+B and the exit by Ctrl+E, both typed into a field.
printf '%s\r\n' "$scratch/game" >"$scratch/work/path.inf"
(cd "$scratch/work" && exec "$program") &
tolvane=$!
main=$(window_named Tolvane)
xdotool windowfocus --sync "$main"
# The field SerAdd: the client area starts at 139,120; the field's middle is 204,69 into it.
xdotool mousemove 343 189 click 1
keys_until 'xdotool key ctrl+b' '[ -s "$HOME/Desktop/test.txt" ]' "Ctrl+B wrote no backup"
{ head -n 54 "$scratch/prefs-before"; printf '\r\n'; } >"$scratch/expected-backup"
cmp "$HOME/Desktop/test.txt" "$scratch/expected-backup" || fail "the backup differs"
keys_until 'xdotool key ctrl+e' '! kill -0 "$tolvane" 2>/dev/null' \
    "Ctrl+E in a field did not end the run"
wait "$tolvane" || fail "the run ended with an error"
cmp "$prefs" "$scratch/prefs-before" || fail "Exit changed the preferences file"

# 2. First use: no path.inf. The path dialog asks; a typed path and Enter store it.
rm "$scratch/work/path.inf"
(cd "$scratch/work" && exec "$program") &
tolvane=$!
dialog=$(window_named "Path Info For Tribes")
xdotool windowfocus --sync "$dialog"
keys_until 'xdotool key ctrl+a type --delay 5 "$scratch/game"; xdotool key Return' \
    '[ "$(xdotool search --onlyvisible --name "^Tolvane\$" | wc -l)" -ge 2 ]' "Ok showed no message"
box=$(xdotool search --onlyvisible --name "^Tolvane\$" | tail -n 1)
xdotool windowfocus --sync "$box"
xdotool key Return
wait_for '[ -s "$scratch/work/path.inf" ]' "Ok wrote no path.inf"
printf '%s\r\n' "$scratch/game" | cmp - "$scratch/work/path.inf" || fail "path.inf differs"
kill "$tolvane"
echo "smoke test passed"
