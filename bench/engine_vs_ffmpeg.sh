#!/usr/bin/env bash
# The engine against the ffmpeg tool with identical settings, per built-in
# profile, on a 20 s 720p clip and a 60 s 640x480 clip. Run by hand on an idle
# machine:  bench/engine_vs_ffmpeg.sh [build-dir] [runs]
# Prints, per profile and clip, the median wall and CPU (user+system) seconds
# of both and their ratio (engine / ffmpeg), and the engine's peak memory.
set -euo pipefail

BUILD=${1:-build}
RUNS=${2:-5}
ENGINE=$(realpath "${ENGINE:-$BUILD/bin/zelvic}")
WORK=${BENCH_DIR:-/tmp/pelorine-bench}
mkdir -p "$WORK/channel"
cd "$WORK"

# The sources: moving pictures with detail, so the encoders have work to do.
[ -f hd720.mp4 ] || ffmpeg -v error -y -f lavfi -i testsrc2=size=1280x720:rate=30000/1001:duration=20 \
    -f lavfi -i "sine=frequency=440:duration=20:sample_rate=48000" -ac 2 \
    -c:v libx264 -preset veryfast -b:v 4M -c:a aac -b:a 160k -shortest hd720.mp4
[ -f vga.avi ] || ffmpeg -v error -y -f lavfi -i testsrc2=size=640x480:rate=25:duration=60 \
    -f lavfi -i "sine=frequency=660:duration=60:sample_rate=44100" -ac 2 \
    -c:v mpeg4 -q:v 3 -c:a libmp3lame -b:a 192k -shortest vga.avi

FOLDER="$WORK/channel/"
PSP=format=psp:i_certify_that_my_video_stream_does_not_use_b_frames

# The engine lines exactly as the converter composes them for each profile.
engine_line() {  # profile source sourceWidth sourceHeight output
    local scale
    case $1 in
    mpeg4-320|h264-320) if (( $3 * 240 >= $4 * 320 )); then scale="scale=320:-2,harddup,expand=320:240:-1:-1:1"; else scale="scale=-2:240,harddup,expand=320:240:-1:-1:1"; fi ;;
    mpeg4-480) if (( $3 * 272 >= $4 * 480 )); then scale="scale=480:-2,harddup,expand=480:272:-1:-1:1"; else scale="scale=-2:272,harddup,expand=480:272:-1:-1:1"; fi ;;
    esac
    case $1 in
    mpeg4-*) echo "$2 -srate 44100 -vf $scale -oac lavc -ovc lavc -lavcopts acodec=aac:abitrate=128:vcodec=mpeg4:vbitrate=1200:vglobal=1:aglobal=1 -vf harddup -of lavf -lavfopts $PSP -o $5 -currentfolder $FOLDER" ;;
    h264-320) echo "$2 -srate 44100 -vf $scale -oac lavc -ovc lavc -lavcopts vqmin=20:vqmax=31:vrc_maxrate=768:vratetol=10:coder=1:aglobal=1:vglobal=1:vcodec=h264:acodec=aac:vbitrate=768:abitrate=128:trell=2:mbd=2:cmp=2:subcmp=2 -vf harddup -of lavf -lavfopts $PSP -o $5 -currentfolder $FOLDER" ;;
    mp3) echo "$2 -srate 44100 -ovc frameno -oac mp3lame -lameopts cbr:br=128:mode=0 -of rawaudio -o $5 -currentfolder $FOLDER" ;;
    esac
}

# The same work for the ffmpeg tool: the engine's own filter chains (taken
# from its log) and the encoder settings the engine applies, thread counts
# included. The tool gives its filters the encoder's thread count unless
# -filter_threads says otherwise; the engine's filters use every processor.
ffmpeg_line() {  # profile source output log
    local vf af
    vf=$(sed -n 's/^video: .*(\(.*\))$/\1/p' "$4")
    af=$(sed -n 's/^audio: .*(\(.*\))$/\1/p' "$4")
    case $1 in
    mpeg4-*) echo "-y -v error -filter_threads $(nproc) -i $2 -vf $vf -af $af -c:v mpeg4 -threads:v 2 -b:v 1200k -g 250 -bf 0 -flags +global_header -c:a aac -b:a 128k -f psp $3" ;;
    h264-320) echo "-y -v error -filter_threads $(nproc) -i $2 -vf $vf -af $af -c:v libx264 -threads:v 1 -profile:v main -level 13 -coder cabac -qmin 20 -qmax 31 -b:v 768k -maxrate 768k -bufsize 1536k -bt 10k -g 250 -bf 0 -refs 2 -x264-params bframes=0:ref=2:slices=1:sliced-threads=0 -trellis 2 -mbd 2 -cmp 2 -subcmp 2 -c:a aac -b:a 128k -f psp $3" ;;
    mp3) echo "-y -v error -i $2 -vn -af $af -c:a libmp3lame -b:a 128k -joint_stereo 0 -id3v2_version 0 -write_xing 0 -f mp3 $3" ;;
    esac
}

# One timed run: "wall cpu peak-kB".
timed() {
    /usr/bin/time -o "$WORK/time.txt" -f '%e %U %S %M' "$@" >/dev/null 2>&1
    tail -1 "$WORK/time.txt" | awk '{ printf "%s %.3f %s\n", $1, $2 + $3, $4 }'
}

# Medians of RUNS runs of each, the two tools taking turns so that a change in
# the machine's load hits both alike: "eng-wall eng-cpu eng-peak ff-wall ff-cpu".
compare() {  # engine-args -- ffmpeg-args
    local engine=() ffmpeg=() side=engine
    for arg in "$@"; do
        if [ "$arg" = -- ]; then side=ffmpeg; continue; fi
        if [ $side = engine ]; then engine+=("$arg"); else ffmpeg+=("$arg"); fi
    done
    for _ in $(seq "$RUNS"); do
        echo "e $(timed "$ENGINE" "${engine[@]}")"
        echo "f $(timed ffmpeg "${ffmpeg[@]}")"
    done | python3 -c '
import sys, statistics
rows = [line.split() for line in sys.stdin if line.strip()]
def med(tool, col): return statistics.median(float(r[col]) for r in rows if r[0] == tool)
peak = max(int(r[3]) for r in rows if r[0] == "e")
print("%.3f %.3f %d %.3f %.3f" % (med("e", 1), med("e", 2), peak, med("f", 1), med("f", 2)))'
}

printf '%-10s %-10s %9s %9s %9s %9s %9s %9s %10s\n' profile source eng-wall ff-wall wall-x eng-cpu ff-cpu cpu-x eng-peakMB
for source in hd720.mp4:1280:720 vga.avi:640:480; do
    IFS=: read -r file width height <<<"$source"
    for profile in mpeg4-320 mpeg4-480 h264-320 mp3; do
        ext=mp4; [ $profile = mp3 ] && ext=mp3
        # shellcheck disable=SC2046
        "$ENGINE" $(engine_line $profile "$file" "$width" "$height" "engine.$ext") >engine.log
        # shellcheck disable=SC2046
        read -r ew ec em fw fc <<<"$(compare $(engine_line $profile "$file" "$width" "$height" "engine.$ext") \
            -- $(ffmpeg_line $profile "$file" "ffmpeg.$ext" engine.log))"
        printf '%-10s %-10s %9.2f %9.2f %9.2f %9.2f %9.2f %9.2f %10.1f\n' $profile "$file" \
            "$ew" "$fw" "$(python3 -c "print($ew/$fw)")" "$ec" "$fc" "$(python3 -c "print($ec/$fc)")" \
            "$(python3 -c "print($em/1024)")"
    done
done
