#!/usr/bin/env bash
# Scan benchmark: scripts/bench_scan.sh BUILD_DIR [CORPUS]
# Times `velmora-cli list` (scan with analysis of every file, then the list export) over
# a tree of 20,000 MIDI files and prints:
# - warm cache: its ratio to reading every file's bytes one after another (goal <= 1.5);
# - cold cache: its ratio to reading them with 8 readers at once (goal <= 1.3), when the
#   page cache may be dropped (root, /proc/sys/vm/drop_caches writable), else says so;
# - the GUI's scan through "Start" (bench_visualizza, offscreen) against it (goal <= 1.2);
# - the peak memory of velmora-cli for 20,000 files and for 100,000 (goal < 64 MB at
#   20,000, growing only with the catalogue). The 100,000-file tree is five hard-linked
#   copies of the first, in $VELMORA_BENCH_TREE-100000.
# - velmora-cli duplicates on the same tree against list (goal <= 1.2).
# Every scan here is a full one: the stored catalogue is pointed at a path that cannot
# be made (scripts/bench_archivio.sh measures the scans that use one).
# Other programs loading the machine meanwhile skew every figure: run it on a quiet one.
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
leggi=(bash -c 'find "$1" -name "*.mid" -print0 | xargs -0 cat >/dev/null' leggi "$albero")
leggi8=(bash -c 'find "$1" -name "*.mid" -print0 | xargs -0 -n 50 -P 8 cat >/dev/null' leggi8 "$albero")
elenca=("$cli" list "$albero" -o "$uscita")
svuota() { sync && echo 3 >/proc/sys/vm/drop_caches; }

echo "== scan: velmora-cli list on $file files in $albero ($(nproc) cores)"
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
awk -v l="$tempo_leggi" -v e="$tempo_elenca" 'BEGIN {
    printf "warm: read every file (find | xargs cat): %.3f s\n", l
    printf "warm: velmora-cli list:                   %.3f s (best of the runs)\n", e
    printf "warm: ratio %.2f (goal <= 1.5)\n", e / l
}'

if (svuota) 2>/dev/null; then
    freddo_leggi=
    freddo_elenca=
    for _ in $(seq "$giri"); do
        svuota
        freddo_leggi=$(minimo "$freddo_leggi" "$(misura "${leggi8[@]}")")
        svuota
        freddo_elenca=$(minimo "$freddo_elenca" "$(misura "${elenca[@]}")")
    done
    awk -v l="$freddo_leggi" -v e="$freddo_elenca" 'BEGIN {
        printf "cold: read every file, 8 readers at once: %.3f s\n", l
        printf "cold: velmora-cli list:                   %.3f s (best of the runs)\n", e
        printf "cold: ratio %.2f (goal <= 1.3)\n", e / l
    }'
    "${leggi[@]}" # warm again for what follows
else
    echo "cold: not measured: the page cache cannot be dropped here (needs root and a writable /proc/sys/vm/drop_caches)"
fi

gui="$build/bench/bench_visualizza"
if [[ -x "$gui" ]]; then
    tempo_gui=
    for _ in $(seq "$giri"); do
        t=$(QT_QPA_PLATFORM=offscreen "$gui" "$albero" | awk '/^scan through Start:/ { print $4 }')
        tempo_gui=$(minimo "$tempo_gui" "$t")
    done
    awk -v g="$tempo_gui" -v e="$tempo_elenca" 'BEGIN {
        printf "GUI: scan through Start: %.3f s (best of the runs; no list written)\n", g
        printf "GUI: ratio GUI / velmora-cli list %.2f (goal <= 1.2)\n", g / e
    }'
else
    echo "GUI: not measured: $gui not built"
fi

misura "$cli" list "$grande" -o "$uscita" >/dev/null
picco_grande=$(cat "$misure")
awk -v p="$picco" -v q="$picco_grande" 'BEGIN {
    printf "peak memory of velmora-cli, 20,000 files:  %.1f MB (goal < 64)\n", p / 1024
    printf "peak memory of velmora-cli, 100,000 files: %.1f MB (grows with the catalogue only)\n", q / 1024
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
