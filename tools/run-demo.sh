#!/usr/bin/env bash
# Builds Tolvane and starts it in a scratch working folder whose path.inf names the demo
# game folder in examples/tribes.
source "$(dirname "$0")/common.sh"

install_missing build
build dev

work="$repo/demo-work"
mkdir -p "$work"
printf '%s\r\n' "$repo/examples/tribes" >"$work/path.inf"
cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: starting Tolvane on a virtual X display (Xvfb)."
    install_missing display
    exec xvfb-run -a "$repo/build-dev/src/tolvane/tolvane"
fi
exec "$repo/build-dev/src/tolvane/tolvane"
