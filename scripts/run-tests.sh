#!/bin/sh
# Runs every test under one private X display (Xvfb); ctest's last line tells how many ran.
set -eu
dir=$1
jobs=${2:-2}
cd "$dir"
exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp" \
    ctest --output-on-failure --timeout 300 -j "$jobs"
