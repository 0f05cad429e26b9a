#!/usr/bin/env bash
# Scan benchmark: scripts/bench_scan.sh BUILD_DIR [CORPUS]
# Times `velmora-cli list` (scan with analysis of every file, then the list export) over
# a tree of 20,000 MIDI files against reading every file's bytes, both with a warm
# cache, and prints the ratio and the peak memory of velmora-cli.
# Goals: ratio at most 2, peak memory under 64 MB; `duplicates` at most 1.2 times `list`.
# The tree is built once, outside the repository, in $VELMORA_BENCH_TREE
# (default /tmp/velmora-bench-tree): 10 x 10 x 5 nested folders of 40 files copied
# from the corpus.
set -euo pipefail

build=${1:?build folder}
corpus=${2:-../shared/corpus}
albero=${VELMORA_BENCH_TREE:-/tmp/velmora-bench-tree}
cli="$build/cli/velmora-cli"
giri=${BENCH_ROUNDS:-3}

if [[ ! -x "$cli" ]]; then
    echo "bench scan: $cli not found" >&2
    exit 1
fi
if [[ ! -d "$corpus" ]]; then
    echo "bench scan: corpus folder $corpus not found" >&2
    exit 1
fi

pronto="$albero/.velmora-20000"
if [[ ! -f "$pronto" ]]; then
    echo "bench scan: building $albero (once)"
    rm -rf "$albero"
    mkdir -p "$albero"
    mapfile -t sorgenti < <(find "$corpus" -type f -iname '*.mid' | LC_ALL=C sort)
    if [[ ${#sorgenti[@]} -eq 0 ]]; then
        echo "bench scan: no MIDI files in $corpus" >&2
        exit 1
    fi
    # Five model folders of 40 files, then each leaf folder a copy of one of them.
    modelli=$(mktemp -d)
    trap 'rm -rf "$modelli"' EXIT
    for m in 0 1 2 3 4; do
        mkdir "$modelli/$m"
        for j in $(seq 0 39); do
            s=${sorgenti[$(((m * 40 + j) % ${#sorgenti[@]}))]}
            cp "$s" "$modelli/$m/$(printf '%02d' "$j")_$(basename "$s")"
        done
    done
    k=0
    for a in $(seq -w 0 9); do
        for b in $(seq -w 0 9); do
            for c in $(seq -w 0 4); do
                foglia="$albero/Raccolta $a/Cartella $b/Gruppo $c"
                mkdir -p "$foglia"
                cp -r "$modelli/$((k % 5))/." "$foglia/"
                k=$((k + 1))
            done
        done
    done
    touch "$pronto"
fi
file=$(find "$albero" -type f -iname '*.mid' | wc -l)

uscita=$(mktemp)
misure=$(mktemp)
trap 'rm -f "$uscita" "$misure"' EXIT

# Runs a command; prints its wall time in seconds and leaves its peak memory (KB) in
# $misure.
misura() {
    local inizio=$EPOCHREALTIME
    /usr/bin/time -f %M -o "$misure" "$@" >/dev/null
    awk -v a="$inizio" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.6f\n", b - a }'
}
minimo() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }
leggi=(bash -c 'find "$1" -name "*.mid" -print0 | xargs -0 cat >/dev/null' leggi "$albero")
elenca=("$cli" list "$albero" -o "$uscita")

echo "== scan: velmora-cli list on $file files in $albero"
"${leggi[@]}" # warm the cache
"${elenca[@]}"
tempo_leggi=
tempo_elenca=
picco=0
for _ in $(seq "$giri"); do
    tempo_leggi=$(minimo "$tempo_leggi" "$(misura "${leggi[@]}")")
    tempo_elenca=$(minimo "$tempo_elenca" "$(misura "${elenca[@]}")")
    m=$(cat "$misure")
    if ((m > picco)); then picco=$m; fi
done
awk -v l="$tempo_leggi" -v e="$tempo_elenca" -v p="$picco" 'BEGIN {
    printf "read every file (find | xargs cat): %.3f s\n", l
    printf "velmora-cli list:                   %.3f s (best of the runs)\n", e
    printf "ratio: %.2f (goal <= 2)\n", e / l
    printf "peak memory of velmora-cli: %.1f MB (goal < 64)\n", p / 1024
}'

# --- Duplicates: velmora-cli duplicates on the same tree, against list ---------------
# Goal: at most 1.2 times the time of list.
doppioni=("$cli" duplicates "$albero")
tempo_doppioni=
for _ in $(seq "$giri"); do
    tempo_doppioni=$(minimo "$tempo_doppioni" "$(misura "${doppioni[@]}")")
done
awk -v d="$tempo_doppioni" -v e="$tempo_elenca" 'BEGIN {
    printf "velmora-cli duplicates:             %.3f s (best of the runs)\n", d
    printf "ratio duplicates / list: %.2f (goal <= 1.2)\n", d / e
}'
