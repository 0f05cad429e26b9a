// The MIDI files of one folder as the scan page's hidden file list shows them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

private:
    void Leggi() const;

    std::string cartella;
    mutable std::vector<std::string> nomi;
    mutable bool letta = true; // no folder: no rows
    mutable bool illeggibile = false;
};
