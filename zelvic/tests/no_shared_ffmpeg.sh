#!/usr/bin/env bash
# The engine and its play module, as built and as installed, load no FFmpeg
# shared library: they carry their own FFmpeg, built for them. The screen
# module (SDL) is installed beside them and loads none either.
#   no_shared_ffmpeg.sh CMAKE BUILD-DIR ENGINE PLAY-MODULE SCREEN-MODULE [DEBIAN-ENGINE]
# DEBIAN-ENGINE, the engine on Debian's shared FFmpeg, must show them: proof
# that the check sees such libraries where they are.
set -euo pipefail
cmake=$1 build=$2 engine=$3 module=$4 screen=$5 debian=${6:-}
FFMPEG_LIBS='lib(av(codec|device|filter|format|util)|sw(scale|resample)|postproc)\.so'

failed=0
check() {  # program
    local libraries
    libraries=$(ldd "$1")
    if grep -q 'not found' <<<"$libraries"; then
        echo "$1: missing libraries:"; grep 'not found' <<<"$libraries"; failed=1
    fi
    if grep -Eq "$FFMPEG_LIBS" <<<"$libraries"; then
        echo "$1 loads FFmpeg shared libraries:"; grep -E "$FFMPEG_LIBS" <<<"$libraries"; failed=1
    else
        echo "$1: no FFmpeg shared library"
    fi
}

if [ -n "$debian" ]; then
    grep -Eq "$FFMPEG_LIBS" <<<"$(ldd "$debian")" ||
        { echo "the check sees no FFmpeg library in $debian either"; exit 1; }
fi
check "$engine"
check "$module"
check "$screen"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
for name in zelvic "$(basename "$module")" "$(basename "$screen")"; do
    installed=$(find "$prefix" -type f -name "$name")
    if [ -n "$installed" ]; then check "$installed"; else echo "$name is not installed"; failed=1; fi
done
exit $failed
