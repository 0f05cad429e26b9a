// Duplicates in the catalogue: files with the same bytes ("identici") and files with
// the same music (equal musical fingerprints) that are not all byte copies of one
// another ("stessa musica").
#pragma once

#include "dati.h"

#include <vector>

struct GruppoDoppioni {
    enum class Tipo { Identici, StessaMusica };
    Tipo tipo = Tipo::Identici;
    std::vector<const dati::elemento*> voci; // two or more, in catalogue order
};

// Every group of the catalogue, the largest first; among groups of one size the
// identical files come first, each kind in the order of its first entries. The cursor
// is left alone; the groups point into the catalogue and are valid until it changes.
std::vector<GruppoDoppioni> TrovaDoppioni(const dati& catalogo);

// The groups that hold voce.
std::vector<GruppoDoppioni> DoppioniDi(const dati& catalogo, const dati::elemento& voce);

// "identici" or "stessa musica".
const char* NomeTipo(GruppoDoppioni::Tipo tipo);
