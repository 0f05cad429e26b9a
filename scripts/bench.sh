#!/usr/bin/env bash
# Benchmarks: scripts/bench.sh BUILD_DIR [FOLDER]
# Each benchmark is one section below; FOLDER (default ../shared/corpus) holds the
# MIDI files they read from disk.
set -euo pipefail

build=${1:?build folder}
folder=${2:-../shared/corpus}
if [[ ! -d "$folder" ]]; then
    echo "bench: folder $folder not found" >&2
    exit 1
fi

# --- Analysis: every file read from disk and analysed, against reading alone ------
echo "== analysis: $folder"
"$build/bench/bench_analisi" "$folder" "${BENCH_SECONDS:-4}"

# --- Scan: velmora-cli list on a tree of 20,000 files, against reading alone -------
bash "$(dirname "$0")/bench_scan.sh" "$build" "$folder"

# --- Grid: page Visualizza opened after a GUI scan of the same tree -----------------
bash "$(dirname "$0")/bench_visualizza.sh" "$build"

# --- Stored catalogue: rescans, database size, search, against scans without it ------
bash "$(dirname "$0")/bench_archivio.sh" "$build"

# --- Render: velmora-cli render on the demo folder, against the files' duration ------
bash "$(dirname "$0")/bench_render.sh" "$build"
