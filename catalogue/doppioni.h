// Duplicates in the catalogue: files with the same bytes ("identici") and files with
// the same music (equal musical fingerprints) that are not all byte copies of one
// another ("stessa musica"). Entries that are one file under several names (hard or
// symbolic links, a folder reached twice) are one file, never duplicates of it.
#pragma once

#include "dati.h"

#include <string_view>
#include <vector>

// What "stessa musica" compares (impronta.h), in the words the report and the CLI show.
constexpr std::string_view kSignificatoStessaMusica =
    "Stessa musica: si confrontano solo le note suonate (note-on), ognuna con il suo tasto, "
    "il suo inizio misurato in battiti e se è sulla batteria o no. Non contano il tempo (i "
    "BPM), la durata delle note, l'intensità, gli strumenti, i canali diversi da quello della "
    "batteria, la divisione in tracce e i testi; in un file di tipo 2 ogni sequenza si conta "
    "dal proprio inizio.";

struct GruppoDoppioni {
    enum class Tipo { Identici, StessaMusica };
    Tipo tipo = Tipo::Identici;
    std::vector<const dati::elemento*> voci; // two or more files, in catalogue order
    // For each of voci, at the same place, the other entries of the same file, in
    // catalogue order; mostly none.
    std::vector<std::vector<const dati::elemento*>> altriNomi;

    // The place in voci of the file that voce names, or voci.size().
    std::size_t Posto(const dati::elemento& voce) const;
};

// Every group of the catalogue, the largest first; among groups of one size the
// identical files come first, each kind in the order of its first entries. The cursor
// is left alone; the groups point into the catalogue and are valid until it changes.
// The entries that may be duplicates are told apart by the identity of their files on
// disk (velmora::IdentitaDi), asked for here.
std::vector<GruppoDoppioni> TrovaDoppioni(const dati& catalogo);

// The groups that hold voce, under any of its names.
std::vector<GruppoDoppioni> DoppioniDi(const dati& catalogo, const dati::elemento& voce);

// "identici" or "stessa musica".
const char* NomeTipo(GruppoDoppioni::Tipo tipo);
