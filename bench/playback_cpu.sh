#!/bin/sh
# Playback CPU of a 1080p H.264 clip with captions: the player against mpv with the same video
# output (its libmpv profile, the GPU output on EGL, at the player's own window size), the two
# interleaved so that the machine's noise touches both sides alike. The clip (20 s, 1920x1080,
# 25 fps) and its SAMI captions are made here by ffmpeg; both sides loop it.
#   playback_cpu.mpv      median CPU seconds of mpv over BENCH_SECONDS of playback
#   playback_cpu.orvalis  the same for the player
#   playback_cpu.ratio    player / mpv
# and a line naming the decoder in use (hwdec-current; "no" is software decoding).
set -eu
build=${1:-build}
root=$(cd "$(dirname "$0")/.." && pwd)
player="$build/orvalis"
runs=${BENCH_RUNS:-5}
seconds=${BENCH_SECONDS:-8}
[ -x "$player" ] || { echo "bench: $player is not built" >&2; exit 1; }
command -v mpv >/dev/null || { echo "bench: mpv is not installed (scripts/install-deps.sh bench)" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "bench: xdotool is not installed (scripts/install-deps.sh bench)" >&2; exit 1; }

home=$(mktemp -d)
xvfb=""
trap '[ -n "$xvfb" ] && kill $xvfb 2>/dev/null; rm -rf "$home"' EXIT
mkdir -p "$home/rt" "$home/config/Corvane SoftWare" "$home/clip"
chmod 700 "$home/rt"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" \
    XDG_CACHE_HOME="$home/cache" XDG_RUNTIME_DIR="$home/rt"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$home/no-bus"
clip="$home/clip/clip1080.mp4"
captions="$home/clip/clip1080.smi"
settings="$home/config/Corvane SoftWare/Orvalis.conf"

ffmpeg -hide_banner -loglevel error -y -f lavfi -i "testsrc2=size=1920x1080:rate=25:duration=20" \
    -c:v libx264 -preset veryfast -crf 23 -pix_fmt yuv420p -g 50 "$clip"
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

display=:$((120 + $$ % 100))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY="$display"
sleep 1

cpu_seconds() {  # utime + stime of a process, in seconds
    awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) / hz}' "/proc/$1/stat"
}
median() { sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
median_of() { echo "$@" | tr ' ' '\n' | median; }

# CPU seconds of process $1 over $seconds, after it has settled.
measure_pid() {
    sleep 3
    a=$(cpu_seconds "$1")
    sleep "$seconds"
    b=$(cpu_seconds "$1")
    awk "BEGIN {printf \"%.3f\", $b - $a}"
}

start_ours() {
    # The clip loops (the item repeats); every run starts from the same settings.
    printf '[Config]\nRepeat=1\n[Config\\Control]\nHardware Decoding=1\n' >"$settings"
    "$player" "$clip" >/dev/null 2>&1 &
    pid=$!
}

ours() {
    start_ours
    used=$(measure_pid $pid)
    kill -TERM $pid
    wait $pid 2>/dev/null || true
    echo "$used"
}

# mpv gets the size the player gives its own window for the clip.
start_ours
sleep 3
wid=$(xdotool search --sync --name '^Orvalis $' | head -1)
geometry=$(xdotool getwindowgeometry "$wid" | awk '/Geometry:/ {print $2}')
kill -TERM $pid
wait $pid 2>/dev/null || true
[ -n "$geometry" ] || { echo "bench: the player's window was not found" >&2; exit 1; }

theirs() {
    mpv --no-config --profile=libmpv --vo=gpu --gpu-context=x11egl --geometry="$geometry" \
        --hwdec=auto-safe --loop-file=inf --sub-file="$captions" --really-quiet "$clip" \
        >/dev/null 2>&1 &
    pid=$!
    used=$(measure_pid $pid)
    kill $pid
    wait $pid 2>/dev/null || true
    echo "$used"
}

ours_runs=""
mpv_runs=""
for i in $(seq "$runs"); do
    ours_runs="$ours_runs $(ours)"
    mpv_runs="$mpv_runs $(theirs)"
done
o=$(median_of $ours_runs)
m=$(median_of $mpv_runs)

# The decoder in use: the same libmpv with the same hwdec, asked once.
decoder=$(mpv --no-config --vo=gpu --gpu-context=x11egl --hwdec=auto-safe \
    --geometry="$geometry" --frames=10 --ao=null --term-playing-msg='hwdec-current=${hwdec-current} codec=${video-codec}' \
    "$clip" 2>/dev/null | grep -o 'hwdec-current=.*' | head -1)
echo "bench playback_cpu.window $geometry px"
echo "bench playback_cpu.decoder ${decoder:-unknown}"
echo "bench playback_cpu.mpv $m s"
echo "bench playback_cpu.orvalis $o s"
echo "bench playback_cpu.ratio $(awk "BEGIN {printf \"%.3f\", $o / $m}") x"
