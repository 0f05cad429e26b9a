#!/usr/bin/env bash
# Pictures of the program under a virtual X server, in docs/screenshots/: the main
# window as it opens (velmora.png), its pages after a scan of samples/
# (velmora-analizza.png, velmora-visualizza.png, velmora-salva.png), the report
# window (rapporto.png), the grid's listening menu (velmora-ascolto.png) and the report
# window following the words of the karaoke sample (velmora-karaoke.png).
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
# The scan starts in the working folder; the status line shows its path. The stored
# catalogue is one of its own, never the user's.
cd samples
catalogo=$(mktemp -d)
trap 'rm -rf "$catalogo"' EXIT
VELMORA_DB="$catalogo/catalogo.sqlite" xvfb-run -a -s "-screen 0 1024x768x24" "$build/shell/velmora_foto" "$radice/docs/screenshots"
ls "$radice"/docs/screenshots/*.png

# velmora.exe under Wine, when `make windows` has built it: the page 'Visualizza' after
# clicks on "Analizza", "Start" and "Visualizza" (velmora-windows.png). The clicks go
# to the window's place of a first start, 314,218 on the virtual screen.
exe="$radice/dist/windows/velmora.exe"
if [[ -x "$exe" ]] && command -v wine >/dev/null && command -v xdotool >/dev/null &&
    command -v import >/dev/null; then
    prefisso=$(mktemp -d)
    cat >"$prefisso/foto.sh" <<FINE
export WINEPREFIX="$prefisso/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1; wineserver -w
timeout 90 wine "$exe" -platform windows &
sleep 15
clic() { xdotool mousemove \$1 \$2; sleep 0.5; xdotool click 1; sleep \$3; }
clic 369 232 3; clic 909 580 10; clic 479 232 4
import -window root -crop 682x414+314+205 +repage "$radice/docs/screenshots/velmora-windows.png"
wineserver -k
FINE
    xvfb-run -a -s "-screen 0 1024x768x24" bash "$prefisso/foto.sh" || true
    rm -rf "$prefisso"
    ls "$radice/docs/screenshots/velmora-windows.png"
else
    echo "screenshots: no velmora.exe under Wine (needs make windows, wine, xdotool, imagemagick)"
fi
