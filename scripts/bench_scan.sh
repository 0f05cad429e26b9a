#!/usr/bin/env bash
# Scan benchmark: scripts/bench_scan.sh BUILD_DIR [CORPUS]
# Times `velmora-cli list` (scan with analysis of every file, then the list export) over
# a tree of 20,000 MIDI files and prints:
# - warm cache: its ratio to reading every file's bytes one after another (goal <= 1.2);
# - cold cache: its ratio to reading them with 8 readers at once (goal <= 1.05), when the
#   page cache may be dropped (root, /proc/sys/vm/drop_caches writable), else says so;
# - both ratios for 1, 2, 4 and 8 worker threads (VELMORA_THREADS), to choose the default;
# - the GUI's scan through "Start" (bench_visualizza, offscreen) against it (goal <= 1.1);
# - time and peak memory of velmora-cli for 20,000 files and for 100,000 (goal: time per
#   file the same, peak at most 60 MB at 100,000). The 100,000-file tree is five
#   hard-linked copies of the first, in $VELMORA_BENCH_TREE-100000.
# - velmora-cli duplicates on the same tree against list (goal <= 1.2).
# Every scan here is a full one: the stored catalogue is pointed at a path that cannot
# be made (scripts/bench_archivio.sh measures the scans that use one).
# Each ratio is taken pair by pair (the command, then its yardstick, BENCH_ROUNDS times)
# and the best pair is printed with the median, and the load average beside it: other
# programs loading the machine skew every figure, the ratios less than the times.
# The tree is built once, outside the repository, in $VELMORA_BENCH_TREE
# (default /tmp/velmora-bench-tree): 10 x 10 x 5 nested folders of 40 files copied
# from the corpus.
set -euo pipefail

export VELMORA_DB=/dev/null/nessun-catalogo
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
grande="$albero-100000"
if [[ ! -f "$grande/.velmora-100000" ]]; then
    rm -rf "$grande"
    mkdir -p "$grande"
    for n in 1 2 3 4 5; do
        cp -al "$albero" "$grande/Copia $n"
    done
    touch "$grande/.velmora-100000"
fi

uscita=$(mktemp)
misure=$(mktemp)
trap 'rm -f "$uscita" "$misure"' EXIT

# Runs a command; prints its wall time in seconds and leaves its peak memory (KB) in
# $misure.
misura() {
    local inizio=$EPOCHREALTIME
    /usr/bin/time -f %M -o "$misure" "$@" >/dev/null 2> >(grep -v "catalogo salvato" >&2)
    awk -v a="$inizio" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.6f\n", b - a }'
}
minimo() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }
carico() { awk '{ printf "load %s %s %s", $1, $2, $3 }' /proc/loadavg; }
leggi=(bash -c 'find "$1" -name "*.mid" -print0 | xargs -0 cat >/dev/null' leggi "$albero")
leggi8=(bash -c 'find "$1" -name "*.mid" -print0 | xargs -0 -n 50 -P 8 cat >/dev/null' leggi8 "$albero")
elenca=("$cli" list "$albero" -o "$uscita")
svuota() { sync && echo 3 >/proc/sys/vm/drop_caches; }
freddo=false
if (svuota) 2>/dev/null; then freddo=true; fi

# rapporto NAME GOAL COLD -- yardstick... -- command...: BENCH_ROUNDS pairs, the
# command right after its yardstick (each after dropping the page cache when COLD is
# true); prints the best and the median ratio and the load, and leaves the best time
# of the command in $tempo.
rapporto() {
    local nome=$1 meta=$2 cold=$3
    shift 4
    local metro=() comando=()
    while [[ $1 != -- ]]; do metro+=("$1"); shift; done
    shift
    comando=("$@")
    local rapporti=() tm tc
    tempo=
    for _ in $(seq "$giri"); do
        if $cold; then svuota; fi
        tm=$(misura "${metro[@]}")
        if $cold; then svuota; fi
        tc=$(misura "${comando[@]}")
        tempo=$(minimo "$tempo" "$tc")
        rapporti+=("$(awk -v a="$tc" -v b="$tm" 'BEGIN { printf "%.3f", a / b }')")
    done
    printf '%s\n' "${rapporti[@]}" | sort -n | awk -v n="$nome" -v g="$meta" -v t="$tempo" -v c="$(carico)" '
        { r[NR] = $1 } END {
            printf "%s: ratio best %.2f, median %.2f (goal <= %s); best time %.3f s; %s\n",
                n, r[1], r[int((NR + 1) / 2)], g, t, c }'
}

echo "== scan: velmora-cli list on $file files in $albero ($(nproc) cores, $(carico))"
"${leggi[@]}" # warm the cache
"${elenca[@]}"
rapporto "warm: list / serial cat" 1.2 false -- "${leggi[@]}" -- "${elenca[@]}"
tempo_elenca=$tempo
misura "${elenca[@]}" >/dev/null
picco=$(cat "$misure")
if $freddo; then
    rapporto "cold: list / 8 parallel cats" 1.05 true -- "${leggi8[@]}" -- "${elenca[@]}"
    "${leggi[@]}" # warm again for what follows
else
    echo "cold: not measured: the page cache cannot be dropped here (needs root and a writable /proc/sys/vm/drop_caches)"
fi

# The thread count: the default is chosen by these figures (never slower than 1).
for n in 1 2 4 8; do
    rapporto "warm, VELMORA_THREADS=$n" 1.2 false -- "${leggi[@]}" -- env VELMORA_THREADS=$n "${elenca[@]}"
    if $freddo; then
        rapporto "cold, VELMORA_THREADS=$n" 1.05 true -- "${leggi8[@]}" -- env VELMORA_THREADS=$n "${elenca[@]}"
        "${leggi[@]}"
    fi
done

gui="$build/bench/bench_visualizza"
if [[ -x "$gui" ]]; then
    # The GUI's scan time comes from the program itself; the CLI's right before it.
    rapporti=()
    for _ in $(seq "$giri"); do
        te=$(misura "${elenca[@]}")
        tg=$(QT_QPA_PLATFORM=offscreen "$gui" "$albero" | awk '/^scan through Start:/ { print $4 }')
        rapporti+=("$(awk -v a="$tg" -v b="$te" 'BEGIN { printf "%.3f", a / b }')")
    done
    printf '%s\n' "${rapporti[@]}" | sort -n | awk -v c="$(carico)" '{ r[NR] = $1 } END {
        printf "GUI: scan through Start / velmora-cli list: ratio best %.2f, median %.2f (goal <= 1.1); %s\n",
            r[1], r[int((NR + 1) / 2)], c }'
else
    echo "GUI: not measured: $gui not built"
fi

tempo_grande=
for _ in $(seq "$giri"); do
    tempo_grande=$(minimo "$tempo_grande" "$(misura "$cli" list "$grande" -o "$uscita")")
done
picco_grande=$(cat "$misure")
awk -v p="$picco" -v q="$picco_grande" -v a="$tempo_elenca" -v b="$tempo_grande" -v c="$(carico)" 'BEGIN {
    printf "20,000 files:  %.3f s, peak memory %.1f MB\n", a, p / 1024
    printf "100,000 files: %.3f s, peak memory %.1f MB (goal <= 60)\n", b, q / 1024
    printf "time per file, 100,000 / 20,000: %.2f (goal: about 1, linear); %s\n", (b / 5) / a, c
}'

# --- Duplicates: velmora-cli duplicates on the same tree, against list ---------------
# Goal: at most 1.2 times the time of list.
rapporto "velmora-cli duplicates / list" 1.2 false -- "${elenca[@]}" -- "$cli" duplicates "$albero"
