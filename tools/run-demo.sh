#!/usr/bin/env bash
# Starts Tolvane in a scratch working folder whose path.inf names the demo game folder in
# examples/tribes: the tolvane of the g++ tree that tools/run-tests.sh builds, when there is
# one, else that of a debug tree built here.
source "$(dirname "$0")/common.sh"

program="$repo/build-ci-gcc/src/tolvane/tolvane"
if [ ! -x "$program" ]; then
    install_missing build
    build dev
    program="$repo/build-dev/src/tolvane/tolvane"
fi
work="$repo/demo-work"
mkdir -p "$work"
printf '%s\r\n' "$repo/examples/tribes" >"$work/path.inf"
cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting Tolvane on a virtual X display (Xvfb)."
    install_missing display
    exec xvfb-run -a "$program"
fi
exec "$program"
