#!/usr/bin/env bash
# One virtual X display with a window manager, for the tests, the benchmark and the
# screenshots:
#   xdisplay.sh start DIR [SIZE]  starts Xvfb (SIZE 1024x768 by default) and openbox, in the
#                                 background; DIR/display holds the display's number,
#                                 DIR/pids their process ids and DIR/log their output, so
#                                 nothing waits on them
#   xdisplay.sh stop DIR          ends those two processes, by their ids
#   xdisplay.sh run DIR COMMAND   runs COMMAND on that display, Qt on its xcb platform
set -euo pipefail
action=$1
dir=$2
shift 2

case $action in
start)
    mkdir -p "$dir"
    rm -f "$dir/display" "$dir/pids"
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp 3>"$dir/display" \
        >"$dir/log" 2>&1 </dev/null &
    echo $! >"$dir/pids"
    for _ in $(seq 100); do [ -s "$dir/display" ] && break; sleep 0.05; done
    [ -s "$dir/display" ] || { cat "$dir/log"; echo "Xvfb did not start"; exit 1; }
    export DISPLAY=":$(cat "$dir/display")"
    openbox >>"$dir/log" 2>&1 </dev/null &
    echo $! >>"$dir/pids"
    # The window manager is up once it names the desktop the windows go to.
    for _ in $(seq 100); do xdotool get_desktop >/dev/null 2>&1 && exit 0; sleep 0.05; done
    cat "$dir/log"
    echo "openbox did not start"
    exit 1
    ;;
stop)
    [ -f "$dir/pids" ] && kill $(cat "$dir/pids") 2>/dev/null || true
    rm -f "$dir/pids" "$dir/display"
    ;;
run)
    export DISPLAY=":$(cat "$dir/display")" QT_QPA_PLATFORM=xcb
    exec "$@"
    ;;
esac
