#!/usr/bin/env python3
"""LibreOffice opens the CSV of `velmora-cli list --format csv` without running any cell
as a formula, though names and copyright texts start with =, +, - and @. A control CSV
converted alongside proves that this LibreOffice does run formulas it is given.
Usage: csv_in_libreoffice.py VELMORA_CLI; exit status 77 (skipped) without soffice."""
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

SOFFICE = shutil.which("soffice")
if SOFFICE is None:
    print("soffice assente: LibreOffice non è installato")
    sys.exit(77)

NOMI = ['=HYPERLINK("http:x","y").mid', "=1+1.mid", "+2+3.mid", "-2+3.mid", "@SUM(1,2).mid"]
# One note, and a copyright text that is a formula.
EVENTI = b"\x00\xff\x02\x04=1+2\x00\x90\x3c\x40\x8f\x00\x80\x3c\x00\x00\xff\x2f\x00"
MIDI = (b"MThd\x00\x00\x00\x06\x00\x00\x00\x01\x01\xe0MTrk" + len(EVENTI).to_bytes(4, "big")
        + EVENTI)


def celle(xlsx):
    """The sheet's cells that hold a formula, and its texts."""
    with zipfile.ZipFile(xlsx) as z:
        foglio = z.read("xl/worksheets/sheet1.xml").decode()
        testi = z.read("xl/sharedStrings.xml").decode() if "xl/sharedStrings.xml" in z.namelist() else ""
    return re.findall(r"<f[ >]", foglio), testi


with tempfile.TemporaryDirectory() as lavoro:
    cartella = os.path.join(lavoro, "=cartella")
    os.mkdir(cartella)
    for nome in NOMI:
        with open(os.path.join(cartella, nome), "wb") as f:
            f.write(MIDI)
    elenco = os.path.join(lavoro, "elenco.csv")
    subprocess.run([sys.argv[1], "list", cartella, "--format", "csv", "-o", elenco], check=True)
    controllo = os.path.join(lavoro, "controllo.csv")
    with open(controllo, "w", encoding="utf-8") as f:
        f.write("=1+1\r\n")
    # UTF-8, comma-separated, as a user opens it; a profile of its own, so no other
    # LibreOffice running on this machine takes the conversion.
    subprocess.run([SOFFICE, "-env:UserInstallation=file://" + os.path.join(lavoro, "profilo"),
                    "--headless", "--infilter=CSV:44,34,76,1", "--convert-to", "xlsx",
                    "--outdir", lavoro, elenco, controllo],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
    formule, _ = celle(os.path.join(lavoro, "controllo.xlsx"))
    assert formule, "LibreOffice non ha calcolato la formula di controllo: la prova non prova nulla"
    formule, testi = celle(os.path.join(lavoro, "elenco.xlsx"))
    assert not formule, f"{len(formule)} celle con una formula"
    for testo in NOMI + ["=1+2", "=cartella"]:
        atteso = "&apos;" + testo.replace("&", "&amp;").replace('"', "&quot;")
        assert atteso in testi, (testo, testi)
print("ok: nessuna formula in", len(NOMI), "righe")
