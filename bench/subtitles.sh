#!/usr/bin/env bash
# What burning text subtitles costs: a 20 s 720p Matroska clip converted with
# the H.264 profile without subtitles, with its SubRip track and with its
# styled ASS track (a line on screen 90 % of the time), the three taking
# turns; and the peak memory of a run on a Matroska file that carries 20 MB
# of attached fonts. Run by hand on an idle machine:
#   bench/subtitles.sh [build-dir] [runs]
# Prints the median CPU (user+system) and wall seconds of each, the CPU ratio
# to the run without subtitles, and the peak memory.
set -euo pipefail

BUILD=${1:-build}
RUNS=${2:-5}
ENGINE=$(realpath "${ENGINE:-$BUILD/bin/zelvic}")
WORK=${BENCH_DIR:-/tmp/pelorine-bench-subtitles}
FONT=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
mkdir -p "$WORK/channel"
cd "$WORK"

if [ ! -f hd720.mkv ]; then
    # A line every 2 s, 1.8 s long; the ASS one styled, outlined and placed twice.
    : >lines.srt
    {
        printf '[Script Info]\nScriptType: v4.00+\nPlayResX: 1280\nPlayResY: 720\n\n[V4+ Styles]\n'
        printf 'Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n'
        printf 'Style: Main,DejaVu Sans,56,&H0000FFFF,&H000000FF,&H00000000,&H80000000,-1,0,0,0,100,100,0,0,1,3,2,2,40,40,40,1\n\n'
        printf '[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n'
    } >lines.ass
    for i in $(seq 0 9); do
        s=$((i * 2))
        printf '%d\n00:00:%02d,000 --> 00:00:%02d,800\nLine %d of the film, said at %d seconds\nand a second line under it\n\n' \
            $((i + 1)) "$s" $((s + 1)) "$i" "$s" >>lines.srt
        printf 'Dialogue: 0,0:00:%02d.00,0:00:%02d.80,Main,,0,0,0,,Line %d of the film\\Nand a second line under it\n' \
            "$s" $((s + 1)) "$i" >>lines.ass
        printf 'Dialogue: 1,0:00:%02d.00,0:00:%02d.80,Main,,0,0,0,,{\\pos(320,120)\\c&H00FF00&}Sign %d\n' \
            "$s" $((s + 1)) "$i" >>lines.ass
    done
    ffmpeg -v error -y -f lavfi -i testsrc2=size=1280x720:rate=30000/1001:duration=20 \
        -f lavfi -i "sine=frequency=440:duration=20:sample_rate=48000" -i lines.srt -i lines.ass \
        -map 0 -map 1 -map 2 -map 3 -ac 2 -c:v libx264 -preset veryfast -b:v 4M -c:a aac -b:a 160k \
        -c:s:0 srt -c:s:1 ass -attach "$FONT" -metadata:s:t mimetype=application/x-truetype-font \
        -shortest hd720.mkv
fi
if [ ! -f fonts.mkv ]; then
    # 20 MB of fonts: copies of one font under names of their own.
    attach=()
    size=$(stat -c %s "$FONT")
    for i in $(seq 1 $(((20 << 20) / size + 1))); do
        cp "$FONT" "font$i.ttf"
        attach+=(-attach "font$i.ttf")
    done
    ffmpeg -v error -y -i hd720.mkv -map 0 -c copy "${attach[@]}" \
        -metadata:s:t mimetype=application/x-truetype-font fonts.mkv
    rm -f font*.ttf
fi

FOLDER="$WORK/channel/"
PSP=format=psp:i_certify_that_my_video_stream_does_not_use_b_frames
# The H.264 profile's line as the converter composes it, subtitles after the source.
h264() {  # source output [subtitle options]
    echo "$1 ${3:-} -srate 44100 -vf scale=320:-2,harddup,expand=320:240:-1:-1:1 -oac lavc -ovc lavc -lavcopts vqmin=20:vqmax=31:vrc_maxrate=768:vratetol=10:coder=1:aglobal=1:vglobal=1:vcodec=h264:acodec=aac:vbitrate=768:abitrate=128:trell=2:mbd=2:cmp=2:subcmp=2 -vf harddup -of lavf -lavfopts $PSP -o $2 -currentfolder $FOLDER"
}

timed() {  # "name" engine-args...: "name wall cpu peak-kB"
    local name=$1
    shift
    /usr/bin/time -o time.txt -f '%e %U %S %M' "$ENGINE" "$@" >run.log 2>&1 ||
        { cat run.log >&2; exit 1; }
    tail -1 time.txt | awk -v n="$name" '{ printf "%s %s %.3f %s\n", n, $1, $2 + $3, $4 }'
}

# shellcheck disable=SC2046
for _ in $(seq "$RUNS"); do
    timed none $(h264 hd720.mkv out.mp4)
    timed srt $(h264 hd720.mkv out.mp4 "-sid 0")
    timed ass $(h264 hd720.mkv out.mp4 "-sid 1")
    timed fonts $(h264 fonts.mkv out.mp4 "-sid 1")
done | python3 -c '
import sys, statistics
rows = [line.split() for line in sys.stdin if line.strip()]
def med(name, col): return statistics.median(float(r[col]) for r in rows if r[0] == name)
base = med("none", 2)
print("| run | wall s | CPU s | CPU ratio | peak memory |")
print("|---|---|---|---|---|")
for name, what in (("none", "no subtitles"), ("srt", "SubRip track"), ("ass", "styled ASS track"),
                   ("fonts", "styled ASS track, 20 MB of attached fonts")):
    peak = max(int(r[3]) for r in rows if r[0] == name) / 1024
    print("| %s | %.2f | %.2f | %.3f | %.0f MB |" % (what, med(name, 1), med(name, 2), med(name, 2) / base, peak))'
