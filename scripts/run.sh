#!/usr/bin/env bash
# Starts the program built in BUILD_DIR with the demo folder samples/ as its
# current folder, so that on a first run (no saved folder yet) page 'Analizza'
# opens on the demo files. Usage: bash scripts/run.sh BUILD_DIR
set -euo pipefail
build=${1:?uso: run.sh BUILD_DIR}
programma=$(cd "$build" && pwd)/shell/velmora
if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    echo "Velmora ha bisogno di uno schermo: né DISPLAY né WAYLAND_DISPLAY sono impostati." >&2
    echo "(Per una prova senza schermo: xvfb-run make run)" >&2
    exit 1
fi
cd "$(dirname "$0")/../samples"
exec "$programma"
