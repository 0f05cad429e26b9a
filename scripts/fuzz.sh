#!/usr/bin/env bash
# Runs the fuzzers: scripts/fuzz.sh BUILD_DIR CORPUS SECONDS
# The MIDI fuzzer for SECONDS, its seeds copied from the corpus folder (when it
# exists) into a work folder under the build folder, which keeps what the fuzzer finds
# between runs; then the stored catalogue's fuzzer (damaged databases) for a quarter of
# that, in a work folder of its own. Crashes are written to the work folders'
# artifacts/.
set -euo pipefail

build=${1:?build folder}
corpus=${2:?corpus folder}
seconds=${3:?seconds}
here=$(cd "$(dirname "$0")/.." && pwd)

work="$build/fuzz-work"
mkdir -p "$work/corpus" "$work/artifacts"
if [[ -d "$corpus" ]]; then
    find "$corpus" -type f -name '*.mid' -exec cp -n {} "$work/corpus/" \;
else
    echo "fuzz: corpus $corpus absent, starting from the fuzzer's own inputs" >&2
fi

log="$work/fuzz-$(date +%Y%m%d-%H%M%S).log"
echo "fuzz: ${seconds}s, work folder $work, log $log"
status=0
"$build/fuzz/fuzz_midi" -max_total_time="$seconds" -max_len=16384 -rss_limit_mb=2048 \
    -timeout=10 -print_final_stats=1 -dict="$here/fuzz/midi.dict" \
    -artifact_prefix="$work/artifacts/" "$work/corpus" >"$log" 2>&1 || status=$?

grep -E '^Done|stat::number_of_executed_units|stat::peak_rss_mb|ERROR|SUMMARY' "$log" || true
echo "fuzz: corpus now $(find "$work/corpus" -type f | wc -l) inputs;" \
    "findings: $(find "$work/artifacts" -type f | wc -l) in $work/artifacts"

archivio="$build/fuzz-archivio"
mkdir -p "$archivio/corpus" "$archivio/artifacts"
log="$archivio/fuzz-$(date +%Y%m%d-%H%M%S).log"
echo "fuzz archivio: $((seconds / 4 + 1))s, work folder $archivio, log $log"
"$build/fuzz/fuzz_archivio" -max_total_time=$((seconds / 4 + 1)) -max_len=4096 \
    -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$archivio/artifacts/" "$archivio/corpus" >"$log" 2>&1 || status=$?
grep -E '^Done|stat::number_of_executed_units|ERROR|SUMMARY' "$log" || true
echo "fuzz archivio: findings: $(find "$archivio/artifacts" -type f | wc -l) in $archivio/artifacts"
exit "$status"
