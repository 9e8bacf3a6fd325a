#!/usr/bin/env bash
# A Wine of the tests' own, inside the build tree, so that no test writes to a real Desktop or
# the user's prefix; no Mono or Gecko prompt and no Linux menu entries.
#   wine.sh start DIR DISPLAY_DIR  makes the prefix DIR/prefix (HOME DIR/home) and starts its
#                                  wineserver, which stays, on the shared display; log DIR/log
#   wine.sh stop DIR               ends that wineserver
#   wine.sh run DIR PROGRAM..      runs it there: on the shared display when XDISPLAY_FOLDER names
#                                  it, else a test offscreen (testsupport.h takes QT_ ones back)
set -euo pipefail
action=$1
dir=$(realpath -m "$2")
shift 2
export WINEPREFIX="$dir/prefix" HOME="$dir/home" WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
case $action in
start)
    # The prefix's desktop process starts with its first program and serves every later
    # window: started without a display, no window of that prefix is ever shown.
    export DISPLAY=":$(cat "$1/display")"
    mkdir -p "$HOME" "$WINEPREFIX"
    wineserver -p >"$dir/log" 2>&1
    # Without wine32 it misses the 32-bit rundll32, which nothing here needs.
    wineboot -i >>"$dir/log" 2>&1 || true
    [ -d "$WINEPREFIX/drive_c/windows" ] || { cat "$dir/log"; exit 1; }
    # The first program of a new prefix finishes setting it up: let it be a small one.
    wine cmd /c exit >>"$dir/log" 2>&1 || true
    ;;
stop)
    wineserver -k >>"$dir/log" 2>&1 || true
    ;;
run)
    export QT_QPA_FONTDIR='Z:\usr\share\fonts\truetype\liberation2'
    export QT_FORCE_STDERR_LOGGING=1 # else, with no console, the tests report to no one
    if [ -n "${XDISPLAY_FOLDER:-}" ]; then
        export DISPLAY=":$(cat "$XDISPLAY_FOLDER/display")"
    else
        export QT_QPA_PLATFORM=offscreen
    fi
    # Wine passes no variable whose name begins with QT_: the tests take them back from these.
    for name in $(compgen -e | grep '^QT_'); do export "TOLVANE_$name=${!name}"; done
    exec wine "$@"
    ;;
esac
