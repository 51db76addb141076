#!/usr/bin/env bash
# Builds the Debian package zavrik_<version>_amd64.deb into the current folder (or OUT_DIR):
#   scripts/package.sh [BUILD_DIR [OUT_DIR]]
# Without BUILD_DIR it makes the release build (build-release/) first; with one it packages the
# programs already built there, as they are (the tests package their own build this way).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(pwd)

if [ $# -ge 1 ]; then
  build=$(cd "$1" && pwd)
else
  "$root/scripts/build.sh" release
  build=$root/build-release
fi
[ $# -ge 2 ] && out=$(mkdir -p "$2" && cd "$2" && pwd)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log" >&2
  exit 1
}
deb=$(find "$work" -maxdepth 1 -name 'zavrik_*.deb')
mv "$deb" "$out/"
echo "$out/${deb##*/}"
