#!/usr/bin/env bash
# Pictures of the program under a virtual X server, in docs/screenshots/: the main
# window as it opens (velmora.png), its pages after a scan of samples/
# (velmora-analizza.png, velmora-visualizza.png, velmora-salva.png), the report
# window (rapporto.png) and the grid's listening menu (velmora-ascolto.png).
# With the Windows build there (make windows), page 'Visualizza' under Wine too
# (velmora-windows.png).
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

# The same pages from the Windows build under Wine, on a virtual display of its own
# (after `make windows`): page 'Visualizza' after a scan of samples\, shown in the
# README beside the native one.
foto_win=$radice/build/windows-gui/shell/velmora_foto.exe
if [[ -f $foto_win ]]; then
    source "$radice/scripts/wine-ambiente.sh" "$radice/build/windows-gui"
    tmp=$(mktemp -d)
    xvfb-run -a -s "-screen 0 1024x768x24" wine "$foto_win" "$(winepath -w "$tmp")"
    cp "$tmp/velmora-visualizza.png" "$radice/docs/screenshots/velmora-windows.png"
    rm -rf "$tmp"
    ls "$radice/docs/screenshots/velmora-windows.png"
else
    echo "screenshots: no Windows build (make windows): velmora-windows.png not taken"
fi
