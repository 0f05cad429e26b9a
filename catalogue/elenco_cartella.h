// What the scan needs of one folder, from one pass over it: its MIDI files (the file
// list's rows) and its sub-folders (the folder list's rows below it). The folder list,
// the file list and the reading ahead of the walk share one listing of each folder.
#pragma once

#include "piattaforma.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

struct ElencoCartella {
    std::string percorso;
    // The folder's last change, when the listing holds for as long as it stays the
    // same: only for a folder read without trouble and last changed well before it
    // was read (file systems with coarse times could hide a change made in the same
    // tick as the reading).
    std::optional<velmora::Istante> modificata;
    bool illeggibile = false; // it could not be read, so it shows nothing
    // Names, with extension, of the regular files (or links to them) whose names end
    // in ".mid" in any letter case, hidden ones left out, in byte order.
    std::vector<std::string> file;
    // Names of the visible sub-folders that are not links, by name without regard to
    // case, then by bytes.
    std::vector<std::string> sottoCartelle;
};

using Elenco = std::shared_ptr<const ElencoCartella>;

// Lists a folder through its open handle, or by its path.
Elenco LeggiElenco(const velmora::CartellaAperta& cartella);
Elenco LeggiElenco(const std::string& percorso);

// True while the listing still holds: it is one that can be trusted and the folder
// has not changed since.
bool AncoraValido(const ElencoCartella& elenco);

// The full paths of the listing's sub-folders.
std::vector<std::string> PercorsiSottoCartelle(const ElencoCartella& elenco);

// The file rows in the order the scan takes them (see ordina.h).
std::vector<std::string> NomiInOrdine(const std::vector<std::string>& righe);
