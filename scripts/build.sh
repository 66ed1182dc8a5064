#!/usr/bin/env bash
# Configures and builds Pelorine into ./build (programs in ./build/bin).
#   scripts/build.sh [DIR [CMAKE OPTION...]]
# builds into DIR instead, configured with the extra options (the sanitizer
# builds use this); PELORINE_TARGETS, when set, names the targets to build.
# The engine's FFmpeg is built first, or taken from its cache, which every
# build tree shares (scripts/ffmpeg.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
ffmpeg=$(bash scripts/ffmpeg.sh)
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPELORINE_FFMPEG_PREFIX="$ffmpeg" "$@" >/dev/null
# shellcheck disable=SC2086
cmake --build "$dir" ${PELORINE_TARGETS:+--target $PELORINE_TARGETS}
