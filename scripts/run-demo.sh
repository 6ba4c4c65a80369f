#!/bin/sh
# Plays the demo clip. On a machine without a display it says so and uses a virtual one.
set -eu
player=$1
clip=$2
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$player" "$clip"
fi
echo "No display found: playing under a virtual X display (Xvfb). Press Ctrl+C to stop." >&2
exec xvfb-run -a -s "-screen 0 1280x720x24 -nolisten tcp" "$player" "$clip"
