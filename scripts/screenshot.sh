#!/usr/bin/env bash
# Takes a picture of the main window, as it opens, under a virtual X server:
# docs/screenshots/velmora.png. Usage: bash scripts/screenshot.sh [BUILD_DIR]
# (default build/release, configured here when missing).
set -euo pipefail
cd "$(dirname "$0")/.."
radice=$(pwd)
build=${1:-build/release}
if [[ ! -f "$build/build.ninja" ]]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j "${JOBS:-2}" --target velmora_foto
build=$(cd "$build" && pwd)
mkdir -p docs/screenshots
cd samples
xvfb-run -a -s "-screen 0 1024x768x24" "$build/shell/velmora_foto" "$radice/docs/screenshots/velmora.png"
echo "docs/screenshots/velmora.png"
