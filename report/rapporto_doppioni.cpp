#include "rapporto_doppioni.h"

#include "doppioni.h"

namespace {

// One file of a group: its name and folder, then its other names.
void File(Rapporto& r, const dati::elemento& e, const std::vector<const dati::elemento*>& altri) {
    r.push_back({e.Nome(), 0});
    r.push_back({" - " + e.Percorso() + "\r\n", 2});
    for (const dati::elemento* altro : altri) {
        r.push_back({"  altro nome dello stesso file: ", 2});
        r.push_back({altro->Nome(), 0});
        r.push_back({" - " + altro->Percorso() + "\r\n", 2});
    }
}

} // namespace

Rapporto RapportoDoppioni(const dati& catalogo, const dati::elemento& voce) {
    Rapporto r{{"Doppioni di: ", 1},
               {voce.Nome() + "\r\n", 0},
               {"Percorso: ", 1},
               {voce.Percorso() + "\r\n\r\n", 0}};
    const std::vector<GruppoDoppioni> gruppi = DoppioniDi(catalogo, voce);
    if (gruppi.empty()) {
        r.push_back(
            {"Nessun altro file del catalogo è identico o ha la stessa musica.\r\n\r\n", 2});
    }
    for (const GruppoDoppioni& g : gruppi) {
        r.push_back(
            {g.tipo == GruppoDoppioni::Tipo::Identici ? "File identici:\r\n" : "Stessa musica:\r\n",
             1});
        // The file voce names is left out, under all its names.
        const std::size_t proprio = g.Posto(voce);
        for (std::size_t i = 0; i < g.voci.size(); ++i) {
            if (i != proprio) {
                File(r, *g.voci[i], g.altriNomi[i]);
            }
        }
        r.push_back({"\r\n", 0});
    }
    r.push_back({std::string(kSignificatoStessaMusica), 2});
    return r;
}
