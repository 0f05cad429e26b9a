#!/usr/bin/env bash
# Stored catalogue benchmark: scripts/bench_archivio.sh BUILD_DIR
# Over the trees bench_scan.sh builds ($VELMORA_BENCH_TREE, 20,000 files, and its
# -100000 sibling of five copies), with databases of its own in a temporary folder:
# - the rescan of the unchanged 20,000-file tree against the full scan without a stored
#   catalogue: warm (goal <= 0.3) and cold (goal <= 0.15, when the page cache can be
#   dropped); the list written must be the same bytes;
# - the first scan, which fills an empty database, against the full scan;
# - the database's size per file, as written and without the lyrics (goal <= 1.5 KB);
# - velmora-cli search over the 100,000 entries, per query (goal < 50 ms);
# - a keystroke in the grid's find field over the 100,000 entries (goal < 100 ms);
# - the peak memory of the 100,000-file scan with the database against without it
#   (goal <= 1.2).
# Ratios are taken within one run; the machine's load is printed beside them.
set -euo pipefail

build=${1:?build folder}
albero=${VELMORA_BENCH_TREE:-/tmp/velmora-bench-tree}
grande="$albero-100000"
cli="$build/cli/velmora-cli"
giri=${BENCH_ROUNDS:-3}
domande=${BENCH_QUERIES:-"raccolta 3 cartella 4 gruppo 2 song|verse chorus|song|piano|openttd|s"}

if [[ ! -f "$albero/.velmora-20000" || ! -f "$grande/.velmora-100000" ]]; then
    echo "bench archivio: the trees are missing; scripts/bench_scan.sh builds them" >&2
    exit 1
fi
if ! command -v sqlite3 >/dev/null; then
    echo "bench archivio: sqlite3 (Debian's command-line shell) is needed" >&2
    exit 1
fi

lavoro=$(mktemp -d)
trap 'rm -rf "$lavoro"' EXIT
misure="$lavoro/misure"
db20="$lavoro/20000.sqlite"
db100="$lavoro/100000.sqlite"
# A database that cannot be made: the scan runs without a stored catalogue, as
# before it had one (its one line of warning is dropped).
senza=/dev/null/nessun-catalogo

misura() { # wall time in seconds; peak memory (KB) and CPU seconds left in $misure
    local inizio=$EPOCHREALTIME
    /usr/bin/time -f "%M %U %S" -o "$misure" "$@" >/dev/null 2>"$lavoro/err"
    awk -v a="$inizio" -v b="$EPOCHREALTIME" 'BEGIN { printf "%.6f\n", b - a }'
}
picco() { cut -d' ' -f1 "$misure"; }
cpu() { awk '{ print $2 + $3 }' "$misure"; }
minimo() { awk -v a="$1" -v b="$2" 'BEGIN { print (a == "" || b < a) ? b : a }'; }
svuota() { sync && echo 3 >/proc/sys/vm/drop_caches; }
carico() { echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"; }

echo "== stored catalogue: $(find "$albero" -name '*.mid' | wc -l) files in $albero ($(nproc) cores)"
carico
find "$albero" -name '*.mid' -print0 | xargs -0 cat >/dev/null # warm the cache
# Wall times, and CPU times (user + system), which other programs on the machine
# skew less.
piena= primo= riscan= cpu_piena= cpu_primo= cpu_riscan=
for _ in $(seq "$giri"); do
    piena=$(minimo "$piena" "$(misura "$cli" list "$albero" --date 1/1/2000 -o "$lavoro/pieno.txt" --db "$senza")")
    cpu_piena=$(minimo "$cpu_piena" "$(cpu)")
    rm -f "$db20"
    primo=$(minimo "$primo" "$(misura "$cli" list "$albero" --date 1/1/2000 -o "$lavoro/primo.txt" --db "$db20")")
    cpu_primo=$(minimo "$cpu_primo" "$(cpu)")
    riscan=$(minimo "$riscan" "$(misura "$cli" list "$albero" --date 1/1/2000 -o "$lavoro/riscan.txt" --db "$db20")")
    cpu_riscan=$(minimo "$cpu_riscan" "$(cpu)")
done
cmp -s "$lavoro/pieno.txt" "$lavoro/riscan.txt" && uguale=yes || uguale=NO
cmp -s "$lavoro/pieno.txt" "$lavoro/primo.txt" || uguale=NO
awk -v p="$piena" -v f="$primo" -v r="$riscan" -v u="$uguale" -v cp="$cpu_piena" \
    -v cf="$cpu_primo" -v cr="$cpu_riscan" 'BEGIN {
    printf "warm: full scan without a stored catalogue: %.3f s (CPU %.2f s)\n", p, cp
    printf "warm: first scan, filling an empty one:     %.3f s (ratio %.2f; CPU %.2f s, ratio %.2f)\n", f, f / p, cf, cf / cp
    printf "warm: rescan of the unchanged tree:         %.3f s (CPU %.2f s)\n", r, cr
    printf "warm: ratio rescan / full scan %.3f (goal <= 0.3; CPU %.3f); same list: %s\n", r / p, cr / cp, u
}'
carico

if (svuota) 2>/dev/null; then
    freddo_piena= freddo_riscan=
    for _ in $(seq "$giri"); do
        svuota
        freddo_piena=$(minimo "$freddo_piena" "$(misura "$cli" list "$albero" --date 1/1/2000 -o "$lavoro/x.txt" --db "$senza")")
        svuota
        freddo_riscan=$(minimo "$freddo_riscan" "$(misura "$cli" list "$albero" --date 1/1/2000 -o "$lavoro/x.txt" --db "$db20")")
    done
    awk -v p="$freddo_piena" -v r="$freddo_riscan" 'BEGIN {
        printf "cold: full scan without a stored catalogue: %.3f s\n", p
        printf "cold: rescan of the unchanged tree:         %.3f s\n", r
        printf "cold: ratio rescan / full scan %.3f (goal <= 0.15)\n", r / p
    }'
    carico
    find "$albero" -name '*.mid' -print0 | xargs -0 cat >/dev/null
else
    echo "cold: not measured: the page cache cannot be dropped here (needs root)"
fi

file=$(sqlite3 "$db20" 'SELECT count(*) FROM file')
# The index merged into one piece and the file compacted, with the lyrics and without.
cp "$db20" "$lavoro/compatto.sqlite"
sqlite3 "$lavoro/compatto.sqlite" "INSERT INTO ricerca(ricerca) VALUES('optimize'); VACUUM;"
cp "$db20" "$lavoro/senza-testi.sqlite"
sqlite3 "$lavoro/senza-testi.sqlite" \
    "UPDATE ricerca SET testo = ''; INSERT INTO ricerca(ricerca) VALUES('optimize'); VACUUM;"
awk -v a="$(stat -c %s "$db20")" -v c="$(stat -c %s "$lavoro/compatto.sqlite")" \
    -v b="$(stat -c %s "$lavoro/senza-testi.sqlite")" -v n="$file" 'BEGIN {
    printf "database: %d files stored, %.2f KB a file as written (%.2f compacted)\n", n, a / n / 1024, c / n / 1024
    printf "database without the lyrics: %.2f KB a file, compacted (goal <= 1.5)\n", b / n / 1024
}'

echo "== 100,000 files in $grande"
carico
"$cli" list "$grande" -o "$lavoro/grande.txt" --db "$senza" 2>/dev/null # warm
misura "$cli" list "$grande" -o "$lavoro/grande.txt" --db "$senza" >/dev/null
picco_senza=$(picco)
misura "$cli" list "$grande" -o "$lavoro/grande-db.txt" --db "$db100" >/dev/null
picco_con=$(picco)
misura "$cli" list "$grande" -o "$lavoro/grande-db.txt" --db "$db100" >/dev/null
picco_riscan=$(picco)
awk -v s="$picco_senza" -v c="$picco_con" -v r="$picco_riscan" 'BEGIN {
    printf "peak memory without a stored catalogue:     %.1f MB\n", s / 1024
    printf "peak memory filling an empty one:           %.1f MB (ratio %.2f, goal <= 1.2)\n", c / 1024, c / s
    printf "peak memory of the rescan:                  %.1f MB (ratio %.2f)\n", r / 1024, r / s
}'

IFS='|' read -r -a lista <<<"$domande"
for d in "${lista[@]}"; do
    read -r -a parole <<<"$d"
    t= c=
    for _ in $(seq "$giri"); do
        t=$(minimo "$t" "$(misura "$cli" search "${parole[@]}" --db "$db100")")
        c=$(minimo "$c" "$(cpu)")
    done
    trovati=$("$cli" search "${parole[@]}" --db "$db100" | wc -l || true)
    awk -v d="$d" -v t="$t" -v c="$c" -v n="$trovati" 'BEGIN {
        printf "velmora-cli search %-16s %6d found, %5.1f ms (CPU %3.0f ms; goal < 50)\n", "\"" d "\":", n, t * 1000, c * 1000
    }'
done
carico

gui="$build/bench/bench_visualizza"
if [[ -x "$gui" ]]; then
    echo "== the grid's find field over $grande"
    for d in "${lista[@]}"; do
        VELMORA_DB="$db100" QT_QPA_PLATFORM=offscreen "$gui" "$grande" "$d" |
            grep -E 'files catalogued|find field|keystroke|sort' | sed "s/^/[$d] /"
    done
    carico
fi
