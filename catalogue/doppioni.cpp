#include "doppioni.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>

namespace {

// A file's key in one kind of group: a hash and a size (0 when sizes do not matter).
using Chiave = std::pair<std::uint64_t, std::int32_t>;

struct HashChiave {
    std::size_t operator()(const Chiave& k) const {
        return static_cast<std::size_t>(k.first ^ static_cast<std::uint32_t>(k.second));
    }
};

// The entries that share a key, in groups of two or more in the order of their first
// entries; entries without a key are left out.
std::vector<std::vector<const dati::elemento*>>
Raccogli(const dati& catalogo, std::optional<Chiave> (*chiave)(const dati::elemento&)) {
    std::unordered_map<Chiave, std::size_t, HashChiave> indici;
    std::vector<std::vector<const dati::elemento*>> gruppi;
    for (const dati::elemento* e = catalogo.PrimoElemento(); e != nullptr; e = e->successivo) {
        if (const std::optional<Chiave> k = chiave(*e)) {
            const auto [it, nuovo] = indici.try_emplace(*k, gruppi.size());
            if (nuovo) {
                gruppi.emplace_back();
            }
            gruppi[it->second].push_back(e);
        }
    }
    std::erase_if(gruppi, [](const auto& g) { return g.size() < 2; });
    return gruppi;
}

// Equal sizes as well as equal hashes, so that a false group would need both to agree.
std::optional<Chiave> ChiaveByte(const dati::elemento& e) {
    return e.hashByte ? std::optional<Chiave>({*e.hashByte, e.lunghezza}) : std::nullopt;
}

std::optional<Chiave> ChiaveMusica(const dati::elemento& e) {
    return e.impronta ? std::optional<Chiave>({*e.impronta, 0}) : std::nullopt;
}

} // namespace

std::vector<GruppoDoppioni> TrovaDoppioni(const dati& catalogo) {
    std::vector<GruppoDoppioni> gruppi;
    for (auto& voci : Raccogli(catalogo, ChiaveByte)) {
        gruppi.push_back({GruppoDoppioni::Tipo::Identici, std::move(voci)});
    }
    for (auto& voci : Raccogli(catalogo, ChiaveMusica)) {
        // Byte copies of one file alone are already a group of identical files.
        const bool tuttiUguali = std::all_of(voci.begin(), voci.end(), [&](const auto* e) {
            return ChiaveByte(*e) == ChiaveByte(*voci.front());
        });
        if (!tuttiUguali) {
            gruppi.push_back({GruppoDoppioni::Tipo::StessaMusica, std::move(voci)});
        }
    }
    // Identical groups come first and each kind is in catalogue order, so a stable
    // sort by size alone gives the promised order.
    std::stable_sort(gruppi.begin(), gruppi.end(),
                     [](const auto& a, const auto& b) { return a.voci.size() > b.voci.size(); });
    return gruppi;
}

std::vector<GruppoDoppioni> DoppioniDi(const dati& catalogo, const dati::elemento& voce) {
    std::vector<GruppoDoppioni> gruppi = TrovaDoppioni(catalogo);
    std::erase_if(gruppi, [&](const GruppoDoppioni& g) {
        return std::find(g.voci.begin(), g.voci.end(), &voce) == g.voci.end();
    });
    return gruppi;
}

const char* NomeTipo(GruppoDoppioni::Tipo tipo) {
    return tipo == GruppoDoppioni::Tipo::Identici ? "identici" : "stessa musica";
}
