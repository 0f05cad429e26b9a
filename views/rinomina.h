// Renaming a catalogued file or folder on disk from its grid cell: within its own
// folder, never replacing another file or folder, and only to a name that stays a
// name (nothing that would move it elsewhere).
#pragma once

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
