#include "elenco_cartella.h"

#include "ordina.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace {

// How long before its reading a folder must have last changed for its listing to be
// kept: two seconds is the coarsest time a file system keeps (FAT).
constexpr velmora::Istante kMargine =
    std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::seconds(3)).count();

// The mask "*.mid" in any letter case.
bool FileMidi(std::string_view nome) {
    if (nome.size() < 4) {
        return false;
    }
    const std::string_view e = nome.substr(nome.size() - 4);
    return e[0] == '.' && (e[1] | 0x20) == 'm' && (e[2] | 0x20) == 'i' && (e[3] | 0x20) == 'd';
}

} // namespace

Elenco LeggiElenco(const velmora::CartellaAperta& cartella) {
    velmora::VociCartella voci = velmora::ElencaCartella(cartella, &FileMidi);
    auto e = std::make_shared<ElencoCartella>();
    e->percorso = cartella.Percorso();
    e->illeggibile = !voci.letta;
    if (voci.letta && voci.modificata && *voci.modificata <= voci.lettaAlle - kMargine) {
        e->modificata = voci.modificata;
    }
    std::vector<std::pair<std::string, std::string>> cartelle; // lowered name, name
    for (velmora::VoceCartella& v : voci.voci) {
        if (v.nascosta) {
            continue;
        }
        if (v.cartella) {
            std::string minuscolo = MinuscoloAnsi(v.nome);
            cartelle.emplace_back(std::move(minuscolo), std::move(v.nome));
        } else if (v.file && FileMidi(v.nome)) {
            e->file.push_back(std::move(v.nome));
        }
    }
    std::sort(e->file.begin(), e->file.end());
    std::sort(cartelle.begin(), cartelle.end());
    e->sottoCartelle.reserve(cartelle.size());
    for (auto& c : cartelle) {
        e->sottoCartelle.push_back(std::move(c.second));
    }
    return e;
}

Elenco LeggiElenco(const std::string& percorso) {
    return LeggiElenco(velmora::CartellaAperta(percorso));
}

bool AncoraValido(const ElencoCartella& elenco) {
    return elenco.modificata && velmora::UltimaModifica(elenco.percorso) == elenco.modificata;
}

std::vector<std::string> PercorsiSottoCartelle(const ElencoCartella& elenco) {
    std::vector<std::string> percorsi;
    percorsi.reserve(elenco.sottoCartelle.size());
    for (const std::string& nome : elenco.sottoCartelle) {
        percorsi.push_back(velmora::UnisciPercorso(elenco.percorso, nome));
    }
    return percorsi;
}

std::vector<std::string> NomiInOrdine(const std::vector<std::string>& righe) {
    std::vector<datisort> record;
    record.reserve(righe.size());
    for (std::size_t r = 0; r < righe.size(); ++r) {
        record.push_back(DatiSort(static_cast<std::int32_t>(r), righe[r]));
    }
    Ordina(record);
    std::vector<std::string> nomi;
    nomi.reserve(record.size());
    for (const datisort& d : record) {
        nomi.push_back(righe[static_cast<std::size_t>(d.indice)]);
    }
    return nomi;
}
