#!/usr/bin/env bash
# Pictures of every page of the main window after a scan of samples/, and of the
# report window, under a virtual X server: docs/screenshots/velmora-start.png,
# velmora-analizza.png, velmora-visualizza.png, velmora-salva.png, rapporto.png.
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
xvfb-run -a -s "-screen 0 1024x768x24" "$build/shell/velmora_foto" --tutte "$radice/docs/screenshots"
ls "$radice"/docs/screenshots/velmora-*.png "$radice"/docs/screenshots/rapporto.png
