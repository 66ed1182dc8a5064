#!/usr/bin/env bash
# How much sooner a batch ends with several Jobs at once: four 20 s 1280x720
# sources converted with the H.264 profile,
#   - as engines side by side: the profile's four engine command lines run
#     through a pool of 1, 2 and 4 at once (what the batch does with -j N);
#   - as batches: pelorine-cli convert with -j 1, -j 2, -j 4 and -j auto;
# the runs taking turns in every repetition, once for each processor set
# (taskset -c 0, taskset -c 0,1, and all processors when there are more).
# While each run goes on, the resident memory of every engine process is
# summed every 50 ms; the peak of that sum is the batch's peak memory.
# Run by hand on an idle machine:
#   bench/jobs_at_once.sh [build-dir] [runs]
# MODES="engines cli" (the default) or one of them; CPUS="0 0,1 all" to choose
# the processor sets. Prints one table per processor set: median wall seconds,
# the speed-up over one at a time, the peak memory of the batch and per Job
# running at once, and the load average before the first repetition.
set -euo pipefail

BUILD=$(realpath "${1:-build}")
RUNS=${2:-3}
WORK=${BENCH_DIR:-/tmp/pelorine-bench-jobs}
# A copy of the programs of its own: engines of the same build started by
# anything else (a test suite) are neither counted in the memory nor seen by
# pelorine-cli's check for engines that are not its own.
mkdir -p "$WORK/bin"
cp "$BUILD"/bin/zelvic "$BUILD"/bin/pelorine-cli "$BUILD"/bin/libzelvic_play.so "$WORK/bin/"
ENGINE=$WORK/bin/zelvic
CLI=$WORK/bin/pelorine-cli
MODES=${MODES:-engines cli}
if [ -z "${CPUS:-}" ]; then
    CPUS="0 0,1"
    [ "$(nproc)" -gt 2 ] && CPUS="$CPUS all"
fi
mkdir -p "$WORK/out" "$WORK/home"
cd "$WORK"

for i in 1 2 3 4; do
    [ -f "src$i.mp4" ] && continue
    # Four different pictures, so that no run profits from another's caches.
    ffmpeg -v error -y -f lavfi -i "testsrc2=size=1280x720:rate=30000/1001:duration=20" \
        -f lavfi -i "sine=frequency=$((220 * i)):duration=20:sample_rate=48000" \
        -vf "hue=h=$((i * 60))" -ac 2 -c:v libx264 -preset veryfast -b:v 4M \
        -c:a aac -b:a 160k -shortest "src$i.mp4"
done

PSP=format=psp:i_certify_that_my_video_stream_does_not_use_b_frames
# The H.264 profile's line for a 16:9 source as the converter composes it,
# each run in a channel folder of its own.
h264() {  # number
    mkdir -p "$WORK/channel$1"
    echo "$ENGINE $WORK/src$1.mp4 -srate 44100 -vf scale=320:-2,harddup,expand=320:240:-1:-1:1 -oac lavc -ovc lavc -lavcopts vqmin=20:vqmax=31:vrc_maxrate=768:vratetol=10:coder=1:aglobal=1:vglobal=1:vcodec=h264:acodec=aac:vbitrate=768:abitrate=128:trell=2:mbd=2:cmp=2:subcmp=2 -vf harddup -of lavf -lavfopts $PSP -o $WORK/out/e$1.mp4 -currentfolder $WORK/channel$1/"
}

# Prints the peak, in kB, of the summed resident memory of the engine's
# processes, sampled every 50 ms until it is sent SIGTERM, and the most of
# them that ran at once.
SAMPLER='
import os, signal, sys, time
engine, peak, most, done = sys.argv[1], 0, 0, False
def stop(*_):
    global done
    done = True
signal.signal(signal.SIGTERM, stop)
while not done:
    total = count = 0
    for pid in os.listdir("/proc"):
        if not pid.isdigit():
            continue
        try:
            if os.readlink("/proc/%s/exe" % pid) != engine:
                continue
            count += 1
            with open("/proc/%s/status" % pid) as status:
                for line in status:
                    if line.startswith("VmRSS:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    peak, most = max(peak, total), max(most, count)
    time.sleep(0.05)
print(peak, most)'

# The four engine runs through a pool of $1 at once.
engines() {  # at-once
    local running=0
    for i in 1 2 3 4; do
        if [ "$running" -ge "$1" ]; then
            wait -n
            running=$((running - 1))
        fi
        # shellcheck disable=SC2046
        $(h264 "$i") >"$WORK/engine$i.log" 2>&1 &
        running=$((running + 1))
    done
    wait
}

# The four sources as one pelorine-cli batch with -j $1.
batch() {  # jobs
    rm -f "$WORK"/out/*
    HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/home/config" XDG_STATE_HOME="$WORK/home/state" \
        "$CLI" convert --profile h264 --overwrite replace --output "$WORK/out" -j "$1" \
        "$WORK"/src[1-4].mp4 >"$WORK/cli.log" 2>&1 || { cat "$WORK/cli.log" >&2; exit 1; }
}

timed() {  # cpus name command...: "cpus name wall peak-kB most-at-once"
    local cpus=$1 name=$2
    shift 2
    local sampler
    python3 -c "$SAMPLER" "$ENGINE" >"$WORK/peak.txt" &
    sampler=$!
    local start end
    start=$(date +%s.%N)
    if [ "$cpus" = all ]; then "$@"; else taskset -c "$cpus" "$@"; fi
    end=$(date +%s.%N)
    kill -TERM "$sampler"
    wait "$sampler" || true
    echo "$cpus $name $(echo "$end - $start" | bc) $(cat "$WORK/peak.txt")"
}

export -f engines h264 batch
export ENGINE CLI WORK PSP

for cpus in $CPUS; do
    echo "load $cpus $(cut -d' ' -f1-3 /proc/loadavg | tr ' ' /)"
    for _ in $(seq "$RUNS"); do
        for mode in $MODES; do
            if [ "$mode" = engines ]; then
                for n in 1 2 4; do timed "$cpus" "engines-$n" bash -c "engines $n"; done
            else
                for n in 1 2 4 auto; do timed "$cpus" "cli-$n" bash -c "batch $n"; done
            fi
        done
    done
done | tee "$WORK/results.txt" | python3 -c '
import sys, statistics
rows, loads = [], {}
for line in sys.stdin:
    fields = line.split()
    if fields[0] == "load":
        loads[fields[1]] = fields[2]
    elif fields:
        rows.append(fields)
for cpus in dict.fromkeys(r[0] for r in rows):
    print("processors %s (load average before: %s)" % (cpus, loads.get(cpus, "?")))
    print("| run | wall s | speed-up | peak memory | engines at once | per engine |")
    print("|---|---|---|---|---|---|")
    mine = [r for r in rows if r[0] == cpus]
    names = list(dict.fromkeys(r[1] for r in mine))
    wall = {n: statistics.median(float(r[2]) for r in mine if r[1] == n) for n in names}
    for name in names:
        kind, at_once = name.split("-")
        base = wall.get(kind + "-1", wall[name])
        peak = max(int(r[3]) for r in mine if r[1] == name) / 1024
        most = max(int(r[4]) for r in mine if r[1] == name)
        print("| %s %s at once | %.2f | %.2f | %.0f MB | %d | %.0f MB |"
              % (kind, at_once, wall[name], base / wall[name], peak, most, peak / max(most, 1)))
    print()'
