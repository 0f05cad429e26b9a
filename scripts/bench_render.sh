#!/usr/bin/env bash
# Render benchmark: scripts/bench_render.sh BUILD_DIR [FOLDER]
# Renders every MIDI file of FOLDER (default the demo folder samples/) to WAV at
# 44100 Hz with `velmora-cli render`, one file after another, and prints the files'
# total duration against the time taken. Goal: at least 50 times faster than real time.
set -euo pipefail

build=${1:?build folder}
folder=${2:-$(dirname "$0")/../samples}
cli="$build/cli/velmora-cli"
if [[ ! -x "$cli" ]]; then
    echo "bench render: $cli not found" >&2
    exit 1
fi
uscita=$(mktemp -d)
trap 'rm -rf "$uscita"' EXIT

mapfile -t file < <(find "$folder" -type f -iname '*.mid' | LC_ALL=C sort)
rendi() {
    local n=0
    for f in "${file[@]}"; do
        "$cli" render "$f" -o "$uscita/$n.wav" 2>/dev/null || true
        n=$((n + 1))
    done
}
# Wall-clock and processor seconds: on a busy machine the second is the fairer figure.
TIMEFORMAT="%R %U %S"
read -r tempo utente sistema < <({ time rendi; } 2>&1)

# Each WAV holds the file's duration plus the 2-second release tail.
durata=0
for w in "$uscita"/*.wav; do
    byte=$(stat -c %s "$w")
    durata=$(echo "$durata + ($byte - 44) / (44100 * 4) - 2" | bc -l)
done
cpu=$(echo "$utente + $sistema" | bc -l)
printf "render: %d files, %.1f s of music in %.2f s (%.2f s of processor): %.0fx real time, %.0fx per processor second (goal >= 50x)\n" \
    "${#file[@]}" "$durata" "$tempo" "$cpu" "$(echo "$durata / $tempo" | bc -l)" \
    "$(echo "$durata / $cpu" | bc -l)"
