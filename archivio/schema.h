// The stored catalogue's tables and how a database of an earlier version is brought
// up to this one. The version is SQLite's user_version: the number of steps of
// kPassi (schema.cpp) already applied.
//
// To store a new value of a file: a column in kColonneAnalisi with its line in
// LegaAnalisi and LeggiAnalisi, a step that adds the column, and kVersioneAnalisi
// raised so that every file is analysed again once. To search a new text: a row of
// kCampiRicerca with its text in TestiRicerca, and a step that calls RicreaRicerca.
#pragma once

#include "analisi_file.h"
#include "sqlite.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::archivio {

// The version of the analysis whose results are stored: an entry stored by another
// one is analysed again. Raise it whenever the analysis gives other results or a
// stored value is added.
constexpr int kVersioneAnalisi = 2;

// The catalogue values of a file as stored, in the order LegaAnalisi binds them.
inline constexpr std::string_view kColonneAnalisi =
    "durata, lunghezza, tempo, bpm, tracce, copyright, tipo, testo, hash_byte, impronta, "
    "durata_riproduzione, titolo, autore, lingua";
constexpr int kNumeroColonneAnalisi =
    static_cast<int>(std::ranges::count(kColonneAnalisi, ',')) + 1;

// Binds the values of kColonneAnalisi from parameter primo on; reads them back from
// column primo on. The texts are the analysis' bytes, kept as they are.
void LegaAnalisi(sqlite::Istruzione& istruzione, int primo, const AnalisiFile& analisi);
AnalisiFile LeggiAnalisi(const sqlite::Istruzione& istruzione, int primo);

// The searched texts of a file: a column of the full-text index each, the name a
// search result gives it, and its weight: a file found is worth, for each word, the
// weight of the heaviest field the word is in, and the files worth most come first.
struct CampoRicerca {
    std::string_view colonna;
    std::string_view etichetta; // Italian, as velmora-cli search prints it
    int peso;
};
inline constexpr std::array<CampoRicerca, 9> kCampiRicerca{{
    {"nome", "nome", 10},
    {"cartella", "cartella", 3},
    {"copyright", "copyright", 4},
    {"tracce", "tracce", 2},
    {"tipo_testo", "tipo di testo", 1},
    {"testo", "testo", 1},
    {"titolo", "titolo", 8},
    {"autore", "autore", 5},
    {"lingua", "lingua", 1},
}};
// The index's columns: those of kCampiRicerca, in order, separated by ", ".
std::string ColonneRicerca();
// One text per field of kCampiRicerca, in its order, as UTF-8.
using TestiRicerca = std::array<std::string, kCampiRicerca.size()>;
TestiRicerca TestiDi(std::string_view cartella, std::string_view nome, const AnalisiFile& a);

// The version this program writes; a database of a later one is left alone.
int VersioneSchema();

// Brings the database to VersioneSchema(), creating the tables of an empty one, in one
// transaction. Throws sqlite::Errore, or ErroreVersione for a later version.
class ErroreVersione : public std::runtime_error {
public:
    ErroreVersione() : std::runtime_error("versione del catalogo più recente") {}
};
void AggiornaSchema(sqlite::Connessione& connessione);

// (Re)makes the full-text index with the fields of kCampiRicerca, keeping the texts of
// the fields the old one had (a new field starts empty).
void RicreaRicerca(sqlite::Connessione& connessione);

} // namespace velmora::archivio
