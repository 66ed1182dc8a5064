#!/usr/bin/env bash
# Play mode's start-up to the first picture in the preview window, and the
# time from quit to the engine's exit, for a 720p and a 1080p H.264 file.
# Run by hand:  bench/play_startup.sh [build-dir] [runs]
# Uses the X display in $DISPLAY, or a virtual one of its own when there is
# none (build/tests/with_x_server); the sound goes where SDL_AUDIODRIVER says
# (the machine's default device).
set -euo pipefail
BUILD=$(realpath "${1:-build}")
if [ -z "${DISPLAY:-}" ]; then
    exec "$BUILD/tests/with_x_server" --screen 1280x1024x24 "$0" "$@"
fi

RUNS=${2:-15}
WORK=${BENCH_DIR:-/tmp/pelorine-bench}
mkdir -p "$WORK"
cd "$WORK"
[ -f play720.mp4 ] || ffmpeg -v error -y -f lavfi -i testsrc2=size=1280x720:rate=25:duration=20 \
    -f lavfi -i sine=duration=20 -c:v libx264 -preset medium -c:a aac -shortest play720.mp4
[ -f play1080.mp4 ] || ffmpeg -v error -y -f lavfi -i testsrc2=size=1920x1080:rate=25:duration=20 \
    -f lavfi -i sine=duration=20 -c:v libx264 -preset medium -c:a aac -shortest play1080.mp4

run() {
    echo "== $1"
    "$BUILD/bin/bench_play_startup" "$WORK/$1" "$2" "$3" "$RUNS"
}
run play720.mp4 1280 720
run play1080.mp4 1920 1080
