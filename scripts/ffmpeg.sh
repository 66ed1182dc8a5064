#!/usr/bin/env bash
# Builds the FFmpeg libraries the engine links, and prints their install prefix
# (the only line on standard output; progress goes to standard error).
#
# The source is Debian's own source package of the installed FFmpeg version,
# unpacked with Debian's patches. The result is kept outside any build tree,
# in $PELORINE_FFMPEG_CACHE (default ~/.cache/pelorine/ffmpeg), under a key of
# that version, this script's hash and the compiler's version: every build
# tree on the machine (plain, sanitizers, worktrees) shares one copy, and a
# Debian update of FFmpeg, a change here or a new compiler makes a new one.
#
#   scripts/ffmpeg.sh            build if needed, print the prefix
#   scripts/ffmpeg.sh --key      print the cache key only
set -euo pipefail
shopt -s inherit_errexit

SCRIPT=$(realpath "${BASH_SOURCE[0]}")
CACHE=${PELORINE_FFMPEG_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pelorine/ffmpeg}
CC=${CC:-gcc}
JOBS=$(nproc)

say() { echo "ffmpeg: $*" >&2; }
fail() {
    say "$*"
    exit 1
}

# The version of Debian's FFmpeg installed here, e.g. 7:5.1.9-0+deb12u1.
debian_version() {
    dpkg-query -W -f='${source:Version}' libavcodec-dev 2>/dev/null ||
        fail "libavcodec-dev is not installed (scripts/setup.sh installs it)"
}

cache_key() {
    local version script compiler
    version=$(debian_version)
    script=$(sha256sum <"$SCRIPT" | cut -c1-12)
    compiler=$({ "$CC" --version | head -1; nasm -v; } | sha256sum | cut -c1-12)
    echo "${version#*:}-$script-$compiler"
}

# What the engine needs from FFmpeg. Every internal demuxer, decoder, parser
# and bitstream filter: a source in a container or codec left out would be
# misread (raw data or zero length) rather than refused. Of the encoders,
# muxers and filters only those the engine uses; no programs, devices,
# network or hardware, and nothing picked up by autodetection.
configure_flags() {  # compiler: sets FLAGS
    local filters=(
        buffer buffersink abuffer abuffersink format aformat null anull
        scale pad setsar fps trim crop transpose hflip vflip yadif overlay setpts
        atrim pan volume asoftclip loudnorm aresample asetpts apad
    )
    local IFS=,
    FLAGS=(--prefix="$STAGED" --cc="$1"
        --enable-gpl --enable-static --disable-shared --enable-pic --toolchain=hardened
        --disable-programs --disable-doc --disable-debug --disable-autodetect
        --disable-everything --disable-network --disable-avdevice --disable-postproc
        --enable-pthreads --enable-zlib --enable-bzlib --enable-lzma --enable-iconv
        --enable-libdav1d --enable-libx264 --enable-libmp3lame
        --enable-demuxers --enable-decoders --enable-parsers --enable-bsfs
        --enable-protocol=file,pipe
        --enable-encoder=mpeg4,libx264,aac,libmp3lame,mjpeg
        --enable-muxer=mp4,psp,mov,ipod,mp3,adts
        --enable-filter="${filters[*]}")
}

# Debian's source package of exactly that version, through apt with a private
# source list, package lists and cache: the system's apt setup is not touched.
fetch_source() {  # version into-folder
    local apt="$CACHE/apt" codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial" "$2"
    cat >"$apt/sources.list.d/debian-source.sources" <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb-src
URIs: http://deb.debian.org/debian-security
Suites: $codename-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
    local options=(-q -o Dir::Etc::SourceList=/dev/null
        -o Dir::Etc::SourceParts="$apt/sources.list.d" -o Dir::State::Lists="$apt/lists"
        -o Dir::Cache="$apt/cache" -o Debug::NoLocking=1)
    [ "$(id -u)" -eq 0 ] && options+=(-o APT::Sandbox::User=root)
    say "fetching Debian's source package ffmpeg $1"
    apt-get "${options[@]}" update >&2 || fail "cannot read Debian's source lists"
    (cd "$2" && apt-get "${options[@]}" source --download-only "ffmpeg=$1" >&2) ||
        fail "Debian's mirror does not offer the source of ffmpeg $1; upgrade FFmpeg" \
            "(sudo apt-get install --only-upgrade libavcodec-dev) and build again"
}

# Configured for a fixed prefix and moved into place after `make install`:
# the compiler's input then does not change with the cache key, so ccache
# (when there is one) can serve a rebuild after an edit of this script.
STAGED=/opt/pelorine-ffmpeg

build() {  # version prefix
    local work="$CACHE/work" sources="$CACHE/sources/${1#*:}" dsc="ffmpeg_${1#*:}.dsc"
    [ -f "$sources/$dsc" ] || fetch_source "$1" "$sources"
    rm -rf "$work"
    mkdir -p "$work"
    say "unpacking with Debian's patches"
    # apt has checked the files against Debian's signed index already.
    dpkg-source --no-check -x "$sources/$dsc" "$work/src" >/dev/null ||
        fail "cannot unpack $sources/$dsc"
    local compiler=$CC
    command -v ccache >/dev/null && compiler="ccache $CC"
    configure_flags "$compiler"
    say "configuring ($work/build.log)"
    (cd "$work/src" && ./configure "${FLAGS[@]}" >"$work/build.log" 2>&1) ||
        { tail -20 "$work/build.log" >&2; fail "configure failed"; }
    say "building with $JOBS jobs (a few minutes, once per FFmpeg version)"
    (cd "$work/src" && make -j"$JOBS" && make install DESTDIR="$work/stage") \
        >>"$work/build.log" 2>&1 || { tail -30 "$work/build.log" >&2; fail "build failed"; }
    rm -rf "$2"
    mv "$work/stage$STAGED" "$2"
    sed -i "s|$STAGED|$2|g" "$2"/lib/pkgconfig/*.pc
    echo "Debian source ffmpeg $1" >"$2/SOURCE"  # written last: the build is complete
    rm -rf "$work"
}

# Builds no build tree has asked for in 30 days (each run touches its own).
prune() {
    local unused
    find "$CACHE" -mindepth 2 -maxdepth 2 -name SOURCE -mtime +30 -printf '%h\0' |
        while IFS= read -r -d '' unused; do
            say "removing $unused, unused for 30 days"
            rm -rf "$unused"
        done
}

main() {
    local key
    key=$(cache_key)
    if [ "${1:-}" = --key ]; then
        echo "$key"
        return
    fi
    local prefix="$CACHE/$key"
    if [ ! -f "$prefix/SOURCE" ]; then
        mkdir -p "$CACHE"
        exec 9>"$CACHE/lock"
        flock 9  # another build tree may be building the same one
        if [ ! -f "$prefix/SOURCE" ]; then
            local started=$SECONDS
            build "$(debian_version)" "$prefix"
            say "built in $((SECONDS - started)) s: $prefix"
            prune
        fi
    fi
    touch "$prefix/SOURCE"
    echo "$prefix"
}

main "$@"
