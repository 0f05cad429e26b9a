#!/usr/bin/env bash
# Pictures of the program under a virtual X server, in docs/screenshots/: the main
# window as it opens (velmora.png), its pages after a scan of samples/
# (velmora-analizza.png, velmora-visualizza.png, velmora-salva.png), the report
# window (rapporto.png) and the grid's listening menu (velmora-ascolto.png).
# Usage: bash scripts/screenshots.sh [BUILD_DIR] (default build/release, configured
# here when missing).
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
# The scan starts in the working folder; the status line shows its path.
cd samples
xvfb-run -a -s "-screen 0 1024x768x24" "$build/shell/velmora_foto" "$radice/docs/screenshots"
ls "$radice"/docs/screenshots/*.png
