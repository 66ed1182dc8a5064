#!/usr/bin/env bash
# How promptly the engine speaks and obeys the channel files while it
# converts: the longest gap between two changes of the progress file, and the
# time from writing quit into the control file to the engine's exit. Run by
# hand:  bench/channel_timing.sh [build-dir] [runs]
# Goals: progress at least every 250 ms, quit within a second.
set -euo pipefail

BUILD=${1:-build}
RUNS=${2:-10}
ENGINE=$(realpath "$BUILD/bin/zelvic")
WORK=${BENCH_DIR:-/tmp/pelorine-bench}
mkdir -p "$WORK/timing"
cd "$WORK"
[ -f vga.avi ] || ffmpeg -v error -y -f lavfi -i testsrc2=size=640x480:rate=25:duration=60 \
    -f lavfi -i "sine=frequency=660:duration=60:sample_rate=44100" -ac 2 \
    -c:v mpeg4 -q:v 3 -c:a libmp3lame -b:a 192k -shortest vga.avi

ENGINE="$ENGINE" RUNS="$RUNS" FOLDER="$WORK/timing/" python3 - <<'PY'
import os, statistics, struct, subprocess, time

engine, folder, runs = os.environ["ENGINE"], os.environ["FOLDER"], int(os.environ["RUNS"])
psp = "format=psp:i_certify_that_my_video_stream_does_not_use_b_frames"
line = ["vga.avi", "-srate", "44100", "-vf", "scale=320:-2,harddup,expand=320:240:-1:-1:1",
        "-oac", "lavc", "-ovc", "lavc", "-lavcopts",
        "acodec=aac:abitrate=128:vcodec=mpeg4:vbitrate=1200:vglobal=1:aglobal=1",
        "-vf", "harddup", "-of", "lavf", "-lavfopts", psp,
        "-o", folder + "out.mp4", "-currentfolder", folder]

def control(command):  # the record as the converter writes it
    record = struct.pack("<i12xfiii", command, 1.0, 0, 1, 0)
    with open(folder + "vctrl.tmp", "wb") as f:
        f.write(record)
    os.replace(folder + "vctrl.tmp", folder + "vctrl.dat")

def progress():
    try:
        with open(folder + "vprog.dat", "rb") as f:
            return struct.unpack("<d", f.read(8))[0]
    except (OSError, struct.error):
        return None

gaps, quits = [], []
for _ in range(runs):
    for name in os.listdir(folder):
        os.remove(folder + name)
    control(0)
    engine_run = subprocess.Popen([engine] + line, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
    last, changed, longest = None, None, 0.0
    while engine_run.poll() is None:
        value, now = progress(), time.monotonic()
        if value is not None and value != last:
            if last is not None and last > 0:
                longest = max(longest, now - changed)
            last, changed = value, now
        if last is not None and last >= 20:
            break
        time.sleep(0.002)
    gaps.append(longest)
    asked = time.monotonic()
    control(2)
    engine_run.wait()
    quits.append(time.monotonic() - asked)

ms = lambda values: "median %.0f ms, max %.0f ms" % (statistics.median(values) * 1000,
                                                     max(values) * 1000)
print("longest gap between progress records: " + ms(gaps))
print("quit to exit:                         " + ms(quits))
PY
