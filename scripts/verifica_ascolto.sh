#!/bin/bash
# Live playback against the offline render: each file is played by `velmora-cli play`
# into the pipe sink of a private PulseAudio server, which writes what it plays in real
# time, and the recording is compared with `velmora-cli render` by confronta_ascolto.py.
# Usage: scripts/verifica_ascolto.sh BUILD_DIR FILE.mid...
# With VERIFICA_CARTELLA=DIR the recordings and renders are kept there.
# Needs Debian's pulseaudio, pulseaudio-utils and python3-numpy; not part of `make test`
# (it plays in real time and depends on the machine's load).
set -euo pipefail

cli="$1/cli/velmora-cli"
shift
qui="$(cd "$(dirname "$0")" && pwd)"
lavoro="$(mktemp -d)"
export PULSE_RUNTIME_PATH="$lavoro" PULSE_SERVER="unix:$lavoro/native"

HOME="$lavoro" pulseaudio -D -n --exit-idle-time=-1 --use-pid-file=yes \
    --log-target=file:"$lavoro/pulse.log" \
    -L "module-native-protocol-unix socket=$lavoro/native auth-anonymous=1" \
    -L "module-pipe-sink file=$lavoro/uscita sink_name=verifica format=s16le rate=44100 $(
        )channels=2 use_system_clock_for_timing=yes"
trap 'kill $(jobs -p) "$(cat "$lavoro/pid")" 2>/dev/null || true; rm -rf "$lavoro"' EXIT
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
cat "$lavoro/uscita" >"$lavoro/tutto.raw" & # all the sink plays, silence included

echo "carico: $(uptime)"
for midi in "$@"; do
    da=$(($(stat -c %s "$lavoro/tutto.raw") / 4 * 4))
    "$cli" play "$midi"
    sleep 1 # what the sink still holds
    a=$(($(stat -c %s "$lavoro/tutto.raw") / 4 * 4))
    head -c "$a" "$lavoro/tutto.raw" | tail -c +$((da + 1)) >"$lavoro/registrazione.raw"
    "$cli" render "$midi" -o "$lavoro/render.wav"
    echo "$(basename "$midi"): $(/usr/bin/python3 "$qui/confronta_ascolto.py" \
        "$lavoro/registrazione.raw" "$lavoro/render.wav")"
    if [[ -n "${VERIFICA_CARTELLA:-}" ]]; then
        mkdir -p "$VERIFICA_CARTELLA"
        n=$(ls "$VERIFICA_CARTELLA" | wc -l)
        mv "$lavoro/registrazione.raw" "$VERIFICA_CARTELLA/$n-$(basename "$midi" .mid).raw"
        mv "$lavoro/render.wav" "$VERIFICA_CARTELLA/$n-$(basename "$midi" .mid).wav"
    fi
done
