#!/bin/sh
# Runs every benchmark: the built binaries in <build>/bench, then the scripts bench/*.sh
# (which measure whole processes against their baseline in the same run).
set -eu
build=$1
root=$(cd "$(dirname "$0")/.." && pwd)
for bin in "$build"/bench/bench_*; do
    [ -f "$bin" ] && [ -x "$bin" ] || continue
    "$bin" --benchmark_min_time=0.2
done
for script in "$root"/bench/*.sh; do
    [ -f "$script" ] || continue
    sh "$script" "$build"
done
