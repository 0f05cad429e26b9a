// The duplicates of one catalogue file as report runs, for the report window: the
// other files identical to it or with the same music, each with its folder.
#pragma once

#include "dati.h"
#include "rapporto.h"

Rapporto RapportoDoppioni(const dati& catalogo, const dati::elemento& voce);
