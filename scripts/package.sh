#!/usr/bin/env bash
# Builds the Debian package of Pelorine into ./build and checks it with lintian.
#   scripts/package.sh        -> build/pelorine_<version>-1_<arch>.deb
# Fails when lintian reports an error or a warning.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
(cd build && cpack -G DEB >/dev/null)
deb=$(ls -t build/pelorine_*.deb | head -n 1)
echo "built $deb"
# Runs as root on CI: lintian refuses that unless told it is fine.
lintian --allow-root --fail-on error,warning --info "$deb"
echo "lintian: $deb is clean"
