#!/usr/bin/env python3
"""Python's csv module reads back the CSV of `velmora-cli list --format csv` with every
name intact: Greek, Japanese, and a comma, a quote and a line break in one name.
Usage: csv_in_python.py VELMORA_CLI"""
import csv
import os
import subprocess
import sys
import tempfile

NOMI = ["Καλημέρα κόσμε.mid", "さくら さくら.mid", 'a, "b"\nc.mid', "tab\tcontrollo\x01.mid"]
MIDI = bytes.fromhex("4d546864000000060000000101e04d54726b0000001000c00500903c408f00803c0000ff2f00")

with tempfile.TemporaryDirectory() as cartella:
    for nome in NOMI:
        with open(os.path.join(cartella, nome), "wb") as f:
            f.write(MIDI)
    uscita = os.path.join(cartella, "elenco.csv")
    subprocess.run([sys.argv[1], "list", cartella, "--format", "csv", "-o", uscita], check=True)
    with open(uscita, "rb") as f:
        assert f.read(3) == b"\xef\xbb\xbf", "manca il BOM"
    with open(uscita, newline="", encoding="utf-8-sig") as f:
        righe = list(csv.DictReader(f))
    assert sorted(r["Nome"] for r in righe) == sorted(NOMI), [r["Nome"] for r in righe]
    for r in righe:
        assert r["Percorso"] == os.path.join(cartella, r["Nome"]), r["Percorso"]
        assert (r["Durata (secondi)"], r["Durata"], r["Byte"], r["Stato"]) == ("2", "0:02", "38", "ok"), r
        assert len(r["Hash dei byte"]) == 16 and len(r["Impronta musicale"]) == 16, r
print("ok:", len(righe), "righe")
