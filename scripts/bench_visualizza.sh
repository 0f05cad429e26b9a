#!/usr/bin/env bash
# Grid benchmark: scripts/bench_visualizza.sh BUILD_DIR
# Scans the tree of 20,000 MIDI files that bench_scan.sh builds ($VELMORA_BENCH_TREE,
# default /tmp/velmora-bench-tree) in the real main window on the offscreen platform,
# opens page 'Visualizza' and pages through the grid, and prints the times and the
# program's peak memory after scan and fill.
# Goals: opening the page at most a third of the scan's time, peak memory under 250 MB.
set -euo pipefail

# A full scan, without a stored catalogue (a path that cannot be made).
export VELMORA_DB=/dev/null/nessun-catalogo
build=${1:?build folder}
albero=${VELMORA_BENCH_TREE:-/tmp/velmora-bench-tree}
programma="$build/bench/bench_visualizza"

if [[ ! -x "$programma" ]]; then
    echo "bench visualizza: $programma not found (a build with the GUI)" >&2
    exit 1
fi
if [[ ! -f "$albero/.velmora-20000" ]]; then
    echo "bench visualizza: the tree $albero is missing; scripts/bench_scan.sh builds it" >&2
    exit 1
fi

misure=$(mktemp)
trap 'rm -f "$misure"' EXIT
echo "== grid: page Visualizza after a scan of $albero"
QT_QPA_PLATFORM=offscreen /usr/bin/time -f %M -o "$misure" "$programma" "$albero"
awk -v p="$(cat "$misure")" 'BEGIN { printf "peak memory after scan and fill: %.1f MB (goal < 250)\n", p / 1024 }'
