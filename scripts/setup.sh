#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and running Pelorine need.
# Quick when everything is already there: apt is only asked when a package is missing.
set -euo pipefail

PACKAGES=(
  # build
  build-essential cmake ninja-build pkg-config ccache clang-format
  # tests
  googletest libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils xdotool openbox
  # packaging: the Debian package and its checks (scripts/package.sh)
  dpkg-dev fakeroot lintian desktop-file-utils appstream
  # converter window (Qt 6 Widgets) and its fonts
  qt6-base-dev qt6-base-dev-tools libgl-dev fonts-liberation2 fonts-dejavu-core
  # desktop services: power-off request through the login manager
  libsystemd-dev
  # engine: the FFmpeg it links is built from Debian's source package of the installed
  # version (scripts/ffmpeg.sh) with these; Debian's shared FFmpeg stays for comparison
  dpkg-dev xz-utils nasm libx264-dev libmp3lame-dev libdav1d-dev zlib1g-dev libbz2-dev
  liblzma-dev libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev
  libswresample-dev libavutil-dev
  # engine: playback (SDL; X11 to draw into the preview window), DVD
  libsdl2-dev libx11-dev libdvdread-dev
  # engine: text subtitles drawn with libass (with fontconfig, FreeType, FriBidi, HarfBuzz)
  libass-dev libfreetype-dev
  # test media generation and the reference encoder of the benchmarks; the test DVD
  ffmpeg time dvdauthor genisoimage
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
