// Renaming a catalogued file or folder on disk from its grid cell: within its own
// folder, never replacing another file or folder, and only to a name that stays a
// name (nothing that would move it elsewhere or hide it).
#pragma once

#include "dati.h"
#include "esito.h"

#include <string>
#include <string_view>

// Whether the text can be a name by itself: not empty, not "." or "..", no
// separator; on failure the message says why, in Italian.
Esito ControllaNome(std::string_view nome);

// Renames the entry vecchioNome of folder cartella (full path, UTF-8) to nuovoNome in
// the same folder. On failure nothing changes and the message says why, in Italian:
// a name refused by ControllaNome, one that would hide the entry (a leading "." where
// that hides files), a name taken, an entry gone, or a refusal of the file system. A
// change of letter case only is allowed.
Esito RinominaInCartella(std::string_view cartella, std::string_view vecchioNome,
                         std::string_view nuovoNome);

// After the folder vecchio (full path) was renamed to nuovo: the entries of that
// folder take its new name and path, and the entries of the folders below it the
// new path in front of theirs. Entries of other folders, even of the same name, keep
// theirs. Moves the catalogue's cursor.
void CartellaRinominata(dati& catalogo, std::string_view vecchio, std::string_view nuovo);

// The folder itself when it exists, else the nearest folder above it that does.
std::string CartellaEsistente(std::string_view cartella);

// The stored catalogue follows a rename done on disk, so that the next scan finds the
// entry unchanged and search finds it by its new name. When there is no stored
// catalogue, or it cannot be written now, nothing happens: the next scan analyses the
// file again under its new name.
void RinominaNelCatalogoSalvato(const std::string& cartella, const std::string& vecchioNome,
                                const std::string& nuovoNome);
void CartellaRinominataNelCatalogoSalvato(const std::string& vecchio, const std::string& nuovo);
