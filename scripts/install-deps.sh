#!/bin/sh
# Installs the Debian packages the build, the tests and the program need, and only
# those that are missing. Safe to run again; never asks questions.
#   scripts/install-deps.sh          build, run and test
#   scripts/install-deps.sh bench    also the peer player the benchmarks compare against
#   scripts/install-deps.sh fuzz     also clang for the fuzz targets
#   scripts/install-deps.sh soak     also xdotool, which gives the soak run's keys
set -eu

PKGS="g++ cmake ninja-build pkg-config make
qt6-base-dev libqt6opengl6-dev qt6-qpa-plugins libgl1-mesa-dri
libmpv-dev libtag1-dev libuchardet-dev
libgtest-dev libgmock-dev libbenchmark-dev
xvfb xauth x11-utils
fonts-nanum
ffmpeg
dbus dbus-daemon
desktop-file-utils appstream
qt6-translations-l10n"

for extra in "$@"; do
    case "$extra" in
        bench) PKGS="$PKGS mpv xdotool pulseaudio" ;;
        fuzz) PKGS="$PKGS clang libclang-rt-dev" ;;
        soak) PKGS="$PKGS xdotool" ;;
        *) echo "install-deps: unknown set '$extra'" >&2; exit 2 ;;
    esac
done

missing=""
for p in $PKGS; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
        echo "install-deps: run as root (or install sudo) to install:$missing" >&2
        exit 1
    fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing
