// The MIDI files of one folder as the scan page's hidden file list shows them.
#pragma once

#include "elenco_cartella.h"

#include <functional>
#include <string>
#include <string_view>

// Rows: the names, with extension, of the regular files (or links to regular files)
// of the folder whose names end in ".mid" in any letter case, hidden ones left out,
// in byte order of their UTF-8 names. A folder that is missing or cannot be read has
// no rows. Nothing here throws but TestoRiga() out of range (std::out_of_range).
//
// The folder is read when the rows are first looked at after Cartella() or
// Aggiorna(), so pointing the list at folders nobody reads costs nothing.
class ListaFile {
public:
    // Points the list at a folder (UTF-8 path) and re-reads its rows.
    void Cartella(std::string_view cartella);
    const std::string& Cartella() const { return cartella; }

    // Re-reads the rows (files added or removed since).
    void Aggiorna() { letta = false; }

    int Righe() const;
    // The folder could not be read (so it shows no rows), for instance because its
    // path is longer than the system takes.
    bool Illeggibile() const;
    const std::string& TestoRiga(int riga) const; // 0 <= riga < Righe()

    // The listing the rows come from (none before a folder is given).
    const Elenco& ElencoCorrente() const;

    // Where listings come from (see ListaCartelle::Fonte); empty: the list reads the
    // folder itself.
    void Fonte(std::function<Elenco(const std::string&)> fonte) { fonteElenchi = std::move(fonte); }

private:
    void Leggi() const;

    std::string cartella;
    std::function<Elenco(const std::string&)> fonteElenchi;
    mutable Elenco elenco = std::make_shared<const ElencoCartella>();
    mutable bool letta = true; // no folder: no rows
};
