#!/usr/bin/env bash
# Reading a DVD is not what limits a conversion: a title converted from the
# disc (an ISO image and its VIDEO_TS folder) against the very same MPEG-2
# program stream read as a plain file (the title's VOB), with the converter's
# own command lines for the MPEG-4 and H.264 profiles. Run by hand on an idle
# machine:  bench/dvd_vs_file.sh [build-dir] [runs]
# Prints per profile and source the median wall and CPU (user+system) seconds,
# and the ratio to the plain file.
set -euo pipefail

BUILD=${1:-build}
RUNS=${2:-5}
ENGINE=$(realpath "${ENGINE:-$BUILD/bin/zelvic}")
WORK=${BENCH_DIR:-/tmp/pelorine-bench}/dvd
mkdir -p "$WORK/channel"
cd "$WORK"

# A 60 s PAL title with moving detail and AC-3 sound, authored and imaged as
# the tests' disc is (zelvic/tests/media/make_dvd.sh).
if [ ! -f disc.iso ]; then
    rm -rf DISC
    ffmpeg -v error -y -f lavfi -i testsrc2=size=720x576:rate=25:duration=60 \
        -f lavfi -i "sine=frequency=440:duration=60:sample_rate=48000" \
        -target pal-dvd -aspect 4:3 -c:a ac3 -ac 2 -b:a 192k -shortest title.mpg
    cat >disc.xml <<'XML'
<dvdauthor dest="DISC" jumppad="0">
 <vmgm />
 <titleset><titles><video format="pal" aspect="4:3" /><audio lang="en" />
  <pgc><vob file="title.mpg" /></pgc>
 </titles></titleset>
</dvdauthor>
XML
    VIDEO_FORMAT=PAL dvdauthor -x disc.xml >/dev/null 2>&1
    genisoimage -quiet -dvd-video -o disc.iso DISC
fi
VOB=DISC/VIDEO_TS/VTS_01_1.VOB

FOLDER="$WORK/channel/"
PSP=format=psp:i_certify_that_my_video_stream_does_not_use_b_frames
SCALE="-vf scale=320:-2,harddup,expand=320:240:-1:-1:1"

media_piece() {  # profile
    case $1 in
    mpeg4-320) echo "-srate 44100 $SCALE -oac lavc -ovc lavc -lavcopts acodec=aac:abitrate=128:vcodec=mpeg4:vbitrate=1200:vglobal=1:aglobal=1 -vf harddup -of lavf -lavfopts $PSP" ;;
    h264-320) echo "-srate 44100 $SCALE -oac lavc -ovc lavc -lavcopts vqmin=20:vqmax=31:vrc_maxrate=768:vratetol=10:coder=1:aglobal=1:vglobal=1:vcodec=h264:acodec=aac:vbitrate=768:abitrate=128:trell=2:mbd=2:cmp=2:subcmp=2 -vf harddup -of lavf -lavfopts $PSP" ;;
    esac
}

# One timed run: "wall cpu".
timed() {
    /usr/bin/time -o "$WORK/time.txt" -f '%e %U %S' "$@" >"$WORK/run.log" 2>&1 ||
        { cat "$WORK/run.log" >&2; exit 1; }
    tail -1 "$WORK/time.txt" | awk '{ printf "%s %.3f\n", $1, $2 + $3 }'
}

median() {  # column
    python3 -c "import sys, statistics; print('%.2f' % statistics.median(float(l.split()[$1]) for l in sys.stdin))"
}

printf '%-10s %-12s %9s %9s %9s %9s\n' profile source wall-s cpu-s wall-x cpu-x
for profile in mpeg4-320 h264-320; do
    # shellcheck disable=SC2046
    for _ in $(seq "$RUNS"); do
        # The three sources take turns, so a change in the machine's load hits all alike.
        echo "file $(timed "$ENGINE" "$VOB" $(media_piece $profile) -o out.mp4 -currentfolder "$FOLDER")"
        echo "image $(timed "$ENGINE" dvd://1 -dvd-device disc.iso -chapter 1-1 $(media_piece $profile) -o out.mp4 -currentfolder "$FOLDER")"
        echo "folder $(timed "$ENGINE" dvd://1 -dvd-device DISC -chapter 1-1 $(media_piece $profile) -o out.mp4 -currentfolder "$FOLDER")"
    done >runs.txt
    fw=$(grep '^file ' runs.txt | median 1)
    fc=$(grep '^file ' runs.txt | median 2)
    for source in file image folder; do
        w=$(grep "^$source " runs.txt | median 1)
        c=$(grep "^$source " runs.txt | median 2)
        printf '%-10s %-12s %9s %9s %9.2f %9.2f\n' $profile $source "$w" "$c" \
            "$(python3 -c "print($w/$fw)")" "$(python3 -c "print($c/$fc)")"
    done
done
