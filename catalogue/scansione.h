// The folder scan behind the "Start" label, shared by the GUI and velmora-cli: it
// moves the folder list from folder to folder, sorts each folder's MIDI files, and
// appends one catalogue entry per file, analysing it when asked.
#pragma once

#include "analisi_anticipata.h"
#include "dati.h"
#include "lista_cartelle.h"
#include "lista_file.h"
#include "memoria_scansione.h"
#include "posizione.h"

#include <functional>
#include <string>
#include <vector>

// Which grid filters a finished scan leaves enabled: "Visualizza tutti i file",
// "Visualizza basi con testo" and "Visualizza file corrotti".
struct FiltriVisualizza {
    bool tutti = false;    // some file was catalogued
    bool conTesto = false; // some entry has text
    bool corrotti = false; // some file was counted as corrupt

    // The filter (1, 2 or 3) checked after the scan, given the one checked before:
    // a filter left without entries gives way to the first one.
    int Scelta(int sceltaPrima) const;
};

FiltriVisualizza FiltriDopoScansione(const dati& catalogo);

class Scansione {
public:
    // What the scan asks of its window. Every hook may be left empty.
    struct Ganci {
        // Process pending window messages (QCoreApplication::processEvents in the
        // GUI). A click on "Start" handled here calls Button1Click() again, which
        // stops the scan at its next check.
        std::function<void()> elaboraMessaggi;
        // New text of the status line LabelStato; repaint it at once.
        std::function<void(const std::string&)> stato;
        // New caption of the Start label: "Stop" while scanning, "Start" after.
        std::function<void(const std::string&)> didascalia;
        // The scan starts: disable the Analizza, Visualizza and Salva labels and hide
        // Directory, Drive, CheckAnalisi and CheckSub.
        std::function<void()> inizio;
        // The scan has ended: show those four controls again, set the font colour of
        // Visualizza and Salva to red, enable the three page labels, enable the
        // three filter radio buttons as given and check filtri.Scelta(checked one).
        std::function<void(const FiltriVisualizza& filtri)> fine;
    };

    // The lists and the catalogue must outlive the scan. Connect the folder list's
    // change notification to DirectoryChange() (the GUI through its own handler).
    // fili: the threads that read and analyse files ahead of the walk (see
    // AnalisiAnticipata); the catalogue comes out the same for any number.
    Scansione(ListaCartelle& cartelle, ListaFile& file, dati& catalogo, Ganci ganci = {},
              unsigned fili = FiliPredefiniti());

    // The folder list's change handler: points the file list at the current folder
    // and shows its path on the status line.
    void DirectoryChange();

    // Click on "Start". When idle: runs the whole scan from the folder list's current
    // folder before returning, analysing every file when analisi is set
    // ("Analisi dettagliata") and walking every folder below when sottoCartelle is
    // set ("Analizza le sotto cartelle"), then restores the start folder. When a
    // scan is running (a call from inside elaboraMessaggi): Ferma(); once stopped, a
    // scan still winding down (moving the folder list back) ignores further clicks,
    // so a new scan never starts inside the old one.
    // Each folder's sub-folders are those it had when the walk entered it: one that
    // vanished since is skipped, one added since is not visited. Any exception (such as
    // ErroreCartella when a folder above the one visited vanished) comes out only
    // after the end steps have brought the window back to idle.
    void Button1Click(bool analisi, bool sottoCartelle);

    // What the scans with analysis remember from one run to the next (the stored
    // catalogue); none, the default, analyses every file. It must outlive the scans.
    void Memoria(MemoriaScansione* memoria_) { memoria = memoria_; }

    // Asks a running scan to stop at its next check: no further file is started; the
    // file whose analysis the walk has taken is still appended, no further one is
    // (one still being analysed when the stop came is not). Does nothing when idle.
    void Ferma();

    // Button1Click() is still running (possibly winding down after a stop).
    bool InCorso() const { return inCorso; }

    // The folders of the last scan that could not be read (a path longer than the
    // system takes, no permission): their files and sub-folders are missing from the
    // catalogue.
    const std::vector<std::string>& CartelleNonLette() const { return nonLette; }

private:
    void Cammina(bool analisi, bool sottoCartelle);
    bool ElaboraCartella(bool analisi, const posizione& pos, bool sottoCartelle);
    Elenco ElencoDi(const std::string& cartella);
    bool AggiungiFile(const std::string& directory, const std::string& nome, std::size_t i,
                      bool analisi);
    std::vector<std::string> SottoCartelle() const;
    void Fine();
    void Elabora();
    void Stato(const std::string& testo);

    ListaCartelle& cartelle;
    ListaFile& file;
    dati& catalogo;
    Ganci ganci;
    unsigned fili;
    MemoriaScansione* memoria = nullptr;
    AnalisiAnticipata* anticipo = nullptr; // while a scan with analysis runs
    Elenco ultimo;                         // the listing the walk used last
    std::vector<std::string> nonLette;
    bool inAnalisi = false;
    bool inCorso = false;
    std::string directoryIniziale;
};
