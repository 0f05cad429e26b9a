#!/usr/bin/python3
"""Compares a recording of live playback with the offline render of the same file.

Usage: confronta_ascolto.py REGISTRAZIONE.raw RENDER.wav
REGISTRAZIONE.raw is 16-bit little-endian stereo at the render's rate (as parec writes
it), RENDER.wav what `velmora-cli render` wrote. Prints one line of figures:
  onset    correlation of the onset strengths (10 ms hops) once aligned: 1.0 same timing
  inizio   the same over the first 3 seconds of music (events piled up at the start)
  deriva   spread of the local alignment over 5 s windows, in ms (timing drift)
  buchi    digital silences over 10 ms in the recording where the render sounds (and
           where the first one starts)
  coda     level of the last 2 s (the release tail) against the render's, in dB
Needs numpy (Debian's python3-numpy).
"""
import sys
import wave

import numpy as np


def leggi(registrazione, render):
    with wave.open(render, "rb") as w:
        frequenza = w.getframerate()
        riferimento = np.frombuffer(w.readframes(w.getnframes()), "<i2").reshape(-1, 2)
    with open(registrazione, "rb") as f:
        dati = f.read()
    dati = dati[: len(dati) // 4 * 4]
    return frequenza, np.frombuffer(dati, "<i2").reshape(-1, 2), riferimento


def attacchi(stereo, passo, finestra):
    """Onset strength per hop of `passo` frames: the rise of the log energy measured over
    `finestra` hops, against the same measure `finestra` hops before."""
    mono = stereo.astype(np.float64).mean(axis=1) / 32768.0
    n = len(mono) // passo
    energia = (mono[: n * passo].reshape(n, passo) ** 2).mean(axis=1)
    energia = np.convolve(energia, np.ones(finestra) / finestra)[:n]
    db = 10 * np.log10(np.maximum(energia, 1e-5))  # quieter than -50 dBFS: silence
    salita = np.maximum(0.0, db - np.concatenate([np.full(finestra, db[0]), db[:-finestra]]))
    return np.convolve(salita, np.ones(finestra) / finestra, "same")


def correlazione(a, b):
    n = min(len(a), len(b))
    if n < 2 or a[:n].std() == 0 or b[:n].std() == 0:
        return 0.0
    return float(np.corrcoef(a[:n], b[:n])[0, 1])


def ritardo(a, b, da, a_):
    """The shift of b inside a, from da to a_ hops, that correlates best."""
    prove = range(max(0, da), max(0, min(a_, len(a) - len(b))) + 1)
    return max(prove, key=lambda r: correlazione(a[r : r + len(b)], b), default=max(0, da))


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    frequenza, reg, rif = leggi(sys.argv[1], sys.argv[2])
    # The sink's monitor may start a little after the music, and a recording may stop
    # short: silence on both sides still lines up.
    reg = np.concatenate([np.zeros((frequenza, 2), reg.dtype), reg, np.zeros_like(rif)])
    ms = frequenza // 1000

    # Where the music starts in the recording (up to 5 s in), to the millisecond: the
    # opening 10 s of the render against the recording, in 1 ms hops.
    fine_reg, fine_rif = attacchi(reg, ms, 10), attacchi(rif, ms, 10)
    inizio = ritardo(fine_reg, fine_rif[:10000], 0, 6000) * ms
    # Then to the frame, on the waveforms themselves, within 5 ms.
    margine = 5 * ms
    if inizio >= margine:
        onda_rif = rif[: 10 * frequenza].astype(np.float64).mean(axis=1)
        onda_reg = reg[inizio - margine : inizio + len(onda_rif) + margine].astype(np.float64)
        prodotti = np.correlate(onda_reg.mean(axis=1), onda_rif, "valid")
        inizio += int(np.argmax(prodotti)) - margine
    brano = reg[inizio : inizio + len(rif)]

    dieci = 10 * ms
    a_reg, a_rif = attacchi(brano, dieci, 3), attacchi(rif, dieci, 3)
    onset = correlazione(a_reg, a_rif)
    onset_inizio = correlazione(a_reg[:300], a_rif[:300])

    # Local alignment of each 5 s window with some music, within +-300 ms.
    locali = []
    fine_brano = fine_reg[inizio // ms :]
    for w in range(0, len(fine_rif) - 5000, 5000):
        pezzo = fine_rif[w : w + 5000]
        if pezzo.std() > 0:
            locali.append(ritardo(fine_brano, pezzo, w - 300, w + 300) - w)
    deriva = max(locali) - min(locali) if locali else 0

    # Dropouts: runs of exact zeros over 10 ms where the render is not silent.
    zero = np.all(brano == 0, axis=1).astype(np.int8)
    bordi = np.diff(np.concatenate([[0], zero, [0]]))
    buchi, dove = [], []
    for s, e in zip(np.flatnonzero(bordi == 1), np.flatnonzero(bordi == -1)):
        suono = rif[s:e].astype(np.float64) / 32768.0
        if e - s > dieci and np.sqrt((suono**2).mean()) > 1e-3:
            buchi.append((e - s) / ms)
            dove.append(s / frequenza)

    def livello(x):
        return np.sqrt((x.astype(np.float64) ** 2).mean()) + 1e-9

    coda = 2 * frequenza
    coda_db = 20 * np.log10(livello(brano[-coda:]) / livello(rif[-coda:]))

    print(
        f"onset {onset:.3f}  inizio {onset_inizio:.3f}  deriva {deriva} ms  "
        f"buchi {len(buchi)} ({sum(buchi):.0f} ms, max {max(buchi, default=0):.0f} ms"
        f"{', dal ' + format(dove[0], '.1f') + ' s' if dove else ''})  "
        f"coda {coda_db:+.1f} dB"
    )


if __name__ == "__main__":
    main()
