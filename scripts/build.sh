#!/usr/bin/env bash
# Configures and builds Pelorine into ./build (programs in ./build/bin).
#   scripts/build.sh [DIR [CMAKE OPTION...]]
# builds into DIR instead, configured with the extra options (the sanitizer
# builds use this); PELORINE_TARGETS, when set, names the targets to build.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
shift || true
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
# shellcheck disable=SC2086
cmake --build "$dir" ${PELORINE_TARGETS:+--target $PELORINE_TARGETS}
