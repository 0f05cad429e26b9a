#include "rapporto_doppioni.h"

#include "doppioni.h"

Rapporto RapportoDoppioni(const dati& catalogo, const dati::elemento& voce) {
    Rapporto r{{"Doppioni di: ", 1},
               {voce.Nome() + "\r\n", 0},
               {"Percorso: ", 1},
               {voce.Percorso() + "\r\n\r\n", 0}};
    const std::vector<GruppoDoppioni> gruppi = DoppioniDi(catalogo, voce);
    if (gruppi.empty()) {
        r.push_back({"Nessun altro file del catalogo è identico o ha la stessa musica.", 2});
    }
    for (const GruppoDoppioni& g : gruppi) {
        r.push_back(
            {g.tipo == GruppoDoppioni::Tipo::Identici ? "File identici:\r\n" : "Stessa musica:\r\n",
             1});
        for (const dati::elemento* e : g.voci) {
            if (e != &voce) {
                r.push_back({e->Nome(), 0});
                r.push_back({" - " + e->Percorso() + "\r\n", 2});
            }
        }
        r.push_back({"\r\n", 0});
    }
    return r;
}
