// Full-text search of the stored catalogue: what the user types becomes an FTS5
// query of its words, and the fields each found file matched in are told by an
// auxiliary function of our own.
#pragma once

#include "sqlite.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::archivio {

struct Trovato;

// Registers on the connection what the search queries below use.
void PreparaRicerca(sqlite::Connessione& connessione);

// The FTS5 query of domanda: each of its words, split and folded by the index's own
// tokenizer, as a prefix; all of them must match, in any field and any order.
// nullopt when domanda holds no word.
std::optional<std::string> Espressione(sqlite::Connessione& connessione, std::string_view domanda);

// The files found, best first (ties by path); sottoCartella, when not empty, keeps
// only those in that folder or below it.
std::vector<Trovato> TrovaFile(sqlite::Connessione& connessione, std::string_view domanda,
                               std::string_view sottoCartella);

// The ids of the files found, unordered.
std::vector<std::int64_t> TrovaId(sqlite::Connessione& connessione, std::string_view domanda);

} // namespace velmora::archivio
