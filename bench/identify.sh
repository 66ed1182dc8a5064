#!/usr/bin/env bash
# Start-up and identify wall time per file, process start included, as the
# converter pays it when files are added: the engine on the FFmpeg built for
# it (zelvic), the same engine on Debian's shared FFmpeg (zelvic_debian) and
# the ffprobe tool on the same files. The programs take turns run by run, so
# that a change in the machine's load touches all alike; the figures are
# medians, with the highest peak memory seen.
# Run by hand:  bench/identify.sh [build-dir] [rounds]
# ENGINES="name=path ..." replaces the two engines (e.g. to compare builds).
set -euo pipefail

BUILD=${1:-build}
ROUNDS=${2:-40}
ENGINES=${ENGINES:-"static=$(realpath "$BUILD/bin/zelvic") debian=$(realpath "$BUILD/bin/zelvic_debian")"}
WORK=${BENCH_DIR:-/tmp/pelorine-bench}
mkdir -p "$WORK/channel"
cd "$WORK"
[ -f id.mp4 ] || ffmpeg -v error -y -f lavfi -i testsrc2=size=640x480:rate=25:duration=30 \
    -f lavfi -i sine=duration=30 -c:v libx264 -preset ultrafast -c:a aac -shortest id.mp4
[ -f id.mpg ] || ffmpeg -v error -y -i id.mp4 -c:v mpeg2video -c:a mp2 -f vob id.mpg
[ -f id.avi ] || ffmpeg -v error -y -i id.mp4 -c:v mpeg4 -c:a libmp3lame id.avi
[ -f id.mkv ] || ffmpeg -v error -y -i id.mp4 -c copy id.mkv

ROUNDS=$ROUNDS ENGINES=$ENGINES FOLDER="$WORK/channel/" python3 - <<'EOF'
import os, statistics, time

rounds = int(os.environ["ROUNDS"])
engines = [pair.split("=", 1) for pair in os.environ["ENGINES"].split()]
folder = os.environ["FOLDER"]
probe = ["ffprobe", "-v", "quiet", "-show_entries",
         "format=duration:stream=codec_name,width,height,channels", "-of", "csv"]

rows = [("start (bad option)", [(n, [p, "-bogus-option-to-measure-the-start"]) for n, p in engines])]
for name in ["id.mp4", "id.avi", "id.mkv", "id.mpg"]:
    line = [name, "-vo", "null", "-nosound", "-identify", "-currentfolder", folder]
    rows.append(("identify " + name[3:].upper(),
                 [(n, [p] + line) for n, p in engines] + [("ffprobe", probe + [name])]))

null = os.open(os.devnull, os.O_WRONLY)
def once(argv):
    start = time.perf_counter()
    pid = os.posix_spawnp(argv[0], argv, os.environ,
                          file_actions=[(os.POSIX_SPAWN_DUP2, null, 1), (os.POSIX_SPAWN_DUP2, null, 2)])
    _, _, usage = os.wait4(pid, 0)
    return (time.perf_counter() - start) * 1000, usage.ru_maxrss / 1024

names = [n for n, _ in engines] + ["ffprobe"]
print("%-20s" % "ms (peak MiB)" + "".join("%18s" % n for n in names))
for label, commands in rows:
    times = {n: [] for n, _ in commands}
    peaks = {n: 0.0 for n, _ in commands}
    for _ in range(3):
        for _, argv in commands:
            once(argv)
    for r in range(rounds):
        turn = commands[r % len(commands):] + commands[:r % len(commands)]
        for n, argv in turn:
            ms, peak = once(argv)
            times[n].append(ms)
            peaks[n] = max(peaks[n], peak)
    cells = ["%9.1f (%4.0f)" % (statistics.median(times[n]), peaks[n]) if n in times else "%18s" % "-"
             for n in names]
    print("%-20s" % label + "".join("%18s" % c for c in cells))
EOF
