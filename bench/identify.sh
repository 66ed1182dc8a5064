#!/usr/bin/env bash
# Identify wall time per file, process start included, as the converter pays
# it when files are added. Run by hand:  bench/identify.sh [build-dir]
set -euo pipefail

BUILD=${1:-build}
ENGINE=$(realpath "$BUILD/bin/zelvic")
WORK=${BENCH_DIR:-/tmp/pelorine-bench}
mkdir -p "$WORK/channel"
cd "$WORK"
[ -f id.mp4 ] || ffmpeg -v error -y -f lavfi -i testsrc2=size=640x480:rate=25:duration=30 \
    -f lavfi -i sine=duration=30 -c:v libx264 -preset ultrafast -c:a aac -shortest id.mp4
[ -f id.mpg ] || ffmpeg -v error -y -i id.mp4 -c:v mpeg2video -c:a mp2 -f vob id.mpg
[ -f id.avi ] || ffmpeg -v error -y -i id.mp4 -c:v mpeg4 -c:a libmp3lame id.avi
[ -f id.mkv ] || ffmpeg -v error -y -i id.mp4 -c copy id.mkv

hyperfine -N --warmup 3 --runs 30 \
    "$ENGINE -bogus-option-to-measure-the-start" \
    "$ENGINE id.mp4 -vo null -nosound -identify -currentfolder $WORK/channel/" \
    "$ENGINE id.avi -vo null -nosound -identify -currentfolder $WORK/channel/" \
    "$ENGINE id.mkv -vo null -nosound -identify -currentfolder $WORK/channel/" \
    "$ENGINE id.mpg -vo null -nosound -identify -currentfolder $WORK/channel/" \
    -i 2>&1 | grep -E 'Benchmark|Time'
