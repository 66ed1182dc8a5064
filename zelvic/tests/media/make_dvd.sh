#!/usr/bin/env bash
# Builds the DVD the tests read, from generated media: a PAL disc with
#   title 1: chapters 1 (3 s, dark grey) and 2 (2 s, light grey), each its own cell;
#            a yellow sub-picture box from 0.5 s to 2.5 s of chapter 1, its colour
#            in the title's palette
#   title 2: one chapter (2 s, mid grey), no sub-picture
#   (titles 1 and 2: 4:3, English AC-3 at 440 Hz, French MPEG audio at 880 Hz,
#    one German sub-picture stream)
#   title 3: 16:9, one chapter (2 s, near white), English MPEG audio at 660 Hz
# as a VIDEO_TS folder (DISC/VIDEO_TS) and as an ISO image (disc.iso).
# Usage: make_dvd.sh FOLDER   (FOLDER is created; it must not exist yet)
set -euo pipefail

out="$1"
mkdir -p "$out"
cd "$out"
export VIDEO_FORMAT=PAL

# name seconds colour: 4:3 PAL with the two audio streams.
make_43() {
    ffmpeg -v error -y \
        -f lavfi -i "color=c=$3:s=720x576:r=25:d=$2" \
        -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=$2" \
        -f lavfi -i "sine=frequency=880:sample_rate=48000:duration=$2" \
        -map 0:v -map 1:a -map 2:a -target pal-dvd -aspect 4:3 -g 12 \
        -c:a:0 ac3 -c:a:1 mp2 -ac 2 -b:a 192k -shortest "$1"
}

make_43 chapter1.mpg 3 0x303030
make_43 chapter2.mpg 2 0xa0a0a0
make_43 title2.mpg 2 0x686868
ffmpeg -v error -y \
    -f lavfi -i "color=c=0xd0d0d0:s=720x576:r=25:d=2" \
    -f lavfi -i "sine=frequency=660:sample_rate=48000:duration=2" \
    -target pal-dvd -aspect 16:9 -g 12 -c:a mp2 -b:a 192k -ac 2 -shortest title3.mpg

# The sub-picture: a yellow box on black, the black made transparent. Its
# colours go into the title's palette; a player that ignored the palette
# would show the box in a grey of its own choosing.
ffmpeg -v error -y -f lavfi \
    -i "color=c=black:s=720x576,format=rgb24,drawbox=x=260:y=440:w=200:h=80:color=yellow:t=fill" \
    -frames:v 1 -pix_fmt rgb24 box.png
cat > box.xml <<'XML'
<subpictures format="PAL">
 <stream>
  <spu start="00:00:00.50" end="00:00:02.50" image="box.png" transparent="000000" />
 </stream>
</subpictures>
XML
spumux -s 0 box.xml < chapter1.mpg > chapter1s.mpg 2> spumux.log

cat > disc.xml <<'XML'
<dvdauthor dest="DISC" jumppad="0">
 <vmgm />
 <titleset>
  <titles>
   <video format="pal" aspect="4:3" />
   <audio lang="en" />
   <audio lang="fr" />
   <subpicture lang="de" />
   <pgc>
    <vob file="chapter1s.mpg" />
    <vob file="chapter2.mpg" />
   </pgc>
   <pgc>
    <vob file="title2.mpg" />
   </pgc>
  </titles>
 </titleset>
 <titleset>
  <titles>
   <video format="pal" aspect="16:9" widescreen="nopanscan" />
   <audio lang="en" />
   <pgc>
    <vob file="title3.mpg" />
   </pgc>
  </titles>
 </titleset>
</dvdauthor>
XML
dvdauthor -x disc.xml > dvdauthor.log 2>&1
genisoimage -quiet -dvd-video -V PELORINE_TEST -o disc.iso DISC
rm -f ./*.mpg box.png
