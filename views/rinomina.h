// Renaming a catalogued file or folder on disk from its grid cell: within its own
// folder, never replacing another file or folder, and only to a name that stays a
// name (nothing that would move it elsewhere).
#pragma once

#include "dati.h"

#include <string>
#include <string_view>

// A name a file or folder may take: not empty, not "." or "..", no separator.
bool NomeAccettabile(std::string_view nome);

// Renames the entry vecchioNome of folder cartella (full path, UTF-8) to nuovoNome in
// the same folder. False, with nothing changed, when nuovoNome is not acceptable or
// the file system refuses (the name is taken, the entry is gone, no permission). A
// change of letter case only is allowed.
bool RinominaInCartella(std::string_view cartella, std::string_view vecchioNome,
                        std::string_view nuovoNome);

// After the folder vecchio (full path) was renamed to nuovo: the entries of that
// folder take its new name and path, and the entries of the folders below it the
// new path in front of theirs. Entries of other folders, even of the same name, keep
// theirs. Moves the catalogue's cursor.
void CartellaRinominata(dati& catalogo, std::string_view vecchio, std::string_view nuovo);
