#!/bin/sh
# Playback CPU of the player against mpv with the same video output (its libmpv profile, the
# GPU output on EGL), in the same window size, the runs of the two interleaved so that the
# machine's noise touches both sides alike. Three cases, each clip looped by both sides:
#   captions    1920x1080 H.264 with SAMI captions, at the player's own window size
#   720p        1280x720 H.264 with AAC sound, no caption file, in a 1280x720 window
#   1080p_in_720  the 1080p clip, no caption file, shown in a 1280x720 window
# For each case:
#   playback_cpu.CASE.mpv      median CPU seconds of mpv over BENCH_SECONDS of playback
#   playback_cpu.CASE.orvalis  the same for the player
#   playback_cpu.CASE.ratio    player / mpv, and the lowest and highest ratio of a pair of runs
#   memory.CASE.{mpv,orvalis,ratio}  median resident memory at the end of a run (MiB)
# and lines naming the window size and the decoder in use (hwdec-current; "no" is software).
# The clips are made by ffmpeg unless media/ has them (clip1080.mp4, clip720.mp4). Sound goes
# to a private PulseAudio null sink where PulseAudio is installed (it paces playback as a
# real device does), else to whatever the system has, the same for both sides.
set -eu
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
player="$build/orvalis"
runs=${BENCH_RUNS:-7}
seconds=${BENCH_SECONDS:-8}
cases=${BENCH_CASES:-"captions 720p 1080p_in_720"}
[ -x "$player" ] || { echo "bench: $player is not built" >&2; exit 1; }
command -v mpv >/dev/null || { echo "bench: mpv is not installed (scripts/install-deps.sh bench)" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "bench: xdotool is not installed (scripts/install-deps.sh bench)" >&2; exit 1; }
. "$root/bench/support/measure.sh"

home=$(mktemp -d)
xvfb=""
pulse=""
trap '[ -n "$xvfb" ] && kill $xvfb 2>/dev/null; [ -n "$pulse" ] && kill $pulse 2>/dev/null; rm -rf "$home"' EXIT
mkdir -p "$home/rt" "$home/config/Corvane SoftWare" "$home/clip" "$home/plain"
chmod 700 "$home/rt"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/rt"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$home/no-bus"
settings="$home/config/Corvane SoftWare/Orvalis.conf"

# A clip from media/ when it is there, else made here: $1 name, $2 size, $3 with sound.
clip_of() {
    if [ -f "$root/media/$1" ]; then
        cp "$root/media/$1" "$home/plain/$1"
    elif [ "$3" = sound ]; then
        ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=$2:rate=25:duration=20" \
            -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=20" \
            -c:v libx264 -preset veryfast -crf 23 -pix_fmt yuv420p -g 50 -c:a aac -b:a 128k \
            -shortest "$home/plain/$1"
    else
        ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=$2:rate=25:duration=20" \
            -c:v libx264 -preset veryfast -crf 23 -pix_fmt yuv420p -g 50 "$home/plain/$1"
    fi
    echo "$home/plain/$1"
}
clip1080=$(clip_of clip1080.mp4 1920x1080 silent)
clip720=$(clip_of clip720.mp4 1280x720 sound)
# The captioned case: the same 1080p clip beside its SAMI file (the player finds it by name).
captioned="$home/clip/clip1080.mp4"
captions="$home/clip/clip1080.smi"
cp "$clip1080" "$captioned"
{
    printf '<SAMI>\n<HEAD><STYLE TYPE="text/css"><!--\n.KRCC { Name:Korean; lang:ko-KR; }\n--></STYLE></HEAD>\n<BODY>\n'
    t=0
    while [ $t -lt 20000 ]; do
        printf '<SYNC Start=%d><P Class=KRCC>%d초: 자막이 화면 아래에 <font color="yellow">두 줄로</font><br>그려집니다\n' $t $((t / 1000))
        printf '<SYNC Start=%d><P Class=KRCC>&nbsp;\n' $((t + 1500))
        t=$((t + 2000))
    done
    printf '</BODY></SAMI>\n'
} >"$captions"

start_display_and_sound $((120 + $$ % 100))
sleep 1

# CPU seconds of process $1 over $seconds, after it has settled, and its resident memory
# (MiB) at the end: "cpu rss".
measure_pid() {
    sleep 3
    a=$(cpu_seconds "$1")
    sleep "$seconds"
    b=$(cpu_seconds "$1")
    echo "$(awk "BEGIN {printf \"%.3f\", $b - $a}") $(resident_mib "$1")"
}

# The player on $1, its window at the size $2 ("own": the size it chooses itself).
start_ours() {
    # The clip loops (the item repeats); every run starts from the same settings.
    printf '[Config]\nRepeat=1\n[Config\\Control]\nHardware Decoding=1\n' >"$settings"
    "$player" "$1" >/dev/null 2>&1 &
    pid=$!
    [ "$2" = own ] && return
    # After the medium has opened, when the player has sized its window to the picture.
    wid=$(xdotool search --sync --name '^Orvalis $' | head -1)
    sleep 2
    xdotool windowsize "$wid" "${2%x*}" "${2#*x}"
}

ours() {  # $1 clip, $2 size
    start_ours "$1" "$2"
    used=$(measure_pid $pid)
    kill -TERM $pid
    wait $pid 2>/dev/null || true
    echo "$used"
}

theirs() {  # $1 clip, $2 size, then mpv's own options
    clip=$1 size=$2
    shift 2
    mpv --no-config --profile=libmpv --vo=gpu --gpu-context=x11egl --geometry="$size" \
        --hwdec=auto-safe --loop-file=inf --really-quiet "$@" "$clip" >/dev/null 2>&1 &
    pid=$!
    used=$(measure_pid $pid)
    kill $pid
    wait $pid 2>/dev/null || true
    echo "$used"
}

# The size of the player's window on $1 at $2, as the screen has it after it settled.
window_size() {
    start_ours "$1" "$2"
    sleep 3
    wid=$(xdotool search --sync --name '^Orvalis $' | head -1)
    xdotool getwindowgeometry "$wid" | awk '/Geometry:/ {print $2}'
    kill -TERM $pid
    wait $pid 2>/dev/null || true
}

# One case: $1 name, $2 clip, $3 window size or "own", then mpv's own options.
compare() {
    name=$1 clip=$2 size=$3
    shift 3
    geometry=$(window_size "$clip" "$size")
    [ -n "$geometry" ] || { echo "bench: the player's window was not found" >&2; exit 1; }
    ours_runs="" mpv_runs="" ratios="" ours_rss="" mpv_rss=""
    for i in $(seq "$runs"); do
        set -- $(ours "$clip" "$size") $(theirs "$clip" "$geometry" "$@") "$@"
        o=$1 orss=$2 m=$3 mrss=$4
        shift 4
        ours_runs="$ours_runs $o" mpv_runs="$mpv_runs $m"
        ours_rss="$ours_rss $orss" mpv_rss="$mpv_rss $mrss"
        ratios="$ratios $(awk "BEGIN {printf \"%.3f\", $o / $m}")"
    done
    o=$(median_of $ours_runs)
    m=$(median_of $mpv_runs)
    orss=$(median_of $ours_rss)
    mrss=$(median_of $mpv_rss)
    decoder=$(mpv --no-config --vo=gpu --gpu-context=x11egl --hwdec=auto-safe --geometry="$geometry" \
        --frames=10 --ao=null --term-playing-msg='hwdec-current=${hwdec-current} codec=${video-codec}' \
        "$clip" 2>/dev/null | grep -o 'hwdec-current=.*' | head -1)
    echo "bench playback_cpu.$name.window $geometry px"
    echo "bench playback_cpu.$name.decoder ${decoder:-unknown}"
    echo "bench playback_cpu.$name.mpv $m s"
    echo "bench playback_cpu.$name.orvalis $o s"
    echo "bench playback_cpu.$name.ratio $(awk "BEGIN {printf \"%.3f\", $o / $m}") x" \
        "(pairs $(lowest_of $ratios)..$(highest_of $ratios), $runs runs a side)"
    echo "bench memory.$name.mpv $mrss MiB"
    echo "bench memory.$name.orvalis $orss MiB"
    echo "bench memory.$name.ratio $(awk "BEGIN {printf \"%.3f\", $orss / $mrss}") x"
}

echo "bench playback_cpu.sound $audio"
for c in $cases; do
    case "$c" in
        captions) compare captions "$captioned" own --sub-file="$captions" ;;
        720p) compare 720p "$clip720" 1280x720 ;;
        1080p_in_720) compare 1080p_in_720 "$clip1080" 1280x720 ;;
        *) echo "bench: no case '$c'" >&2; exit 2 ;;
    esac
done
