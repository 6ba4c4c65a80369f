#!/bin/sh
# Runs every fuzz target in <build>/fuzz for <seconds> each, starting from its committed
# seeds (tests/fuzz/seeds/<target>/) and, where this clone has it, the shared corpus.
set -eu
build=$1
seconds=${2:-30}
root=$(cd "$(dirname "$0")/.." && pwd)
status=0
for bin in "$build"/fuzz/fuzz_*; do
    [ -f "$bin" ] && [ -x "$bin" ] || continue
    name=$(basename "$bin")
    work="$build/fuzz-corpus/$name"
    mkdir -p "$work"
    seeds="$root/tests/fuzz/seeds/$name"
    extra=""
    options=""
    [ -d "$seeds" ] && extra="$seeds"
    # The converter starts from the caption readers' seeds.
    [ "$name" = fuzz_caption_convert ] && extra="$root/tests/fuzz/seeds/fuzz_sami $root/tests/fuzz/seeds/fuzz_subrip"
    case "$name" in
        fuzz_sami|fuzz_subrip|fuzz_webvtt|fuzz_caption_convert)
            [ -d "$root/../shared/corpus/sami" ] && extra="$extra $root/../shared/corpus/sami"
            # Whole films' captions are the seeds; mutations of their first 16 KiB find as
            # much, at many more runs a second.
            options="-max_len=16384" ;;
        fuzz_playlist*) [ -d "$root/../shared/corpus/playlists" ] && extra="$extra $root/../shared/corpus/playlists" ;;
    esac
    echo "fuzz: $name for ${seconds}s"
    # shellcheck disable=SC2086
    if ! "$bin" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 $options \
            -artifact_prefix="$build/fuzz-corpus/$name-" "$work" $extra > "$build/fuzz-corpus/$name.log" 2>&1; then
        echo "fuzz: $name FAILED, see $build/fuzz-corpus/$name.log"
        tail -40 "$build/fuzz-corpus/$name.log"
        status=1
    else
        grep -E '^Done [0-9]+ runs' "$build/fuzz-corpus/$name.log" | tail -1 || true
    fi
done
exit $status
