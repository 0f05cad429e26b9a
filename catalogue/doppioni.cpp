#include "doppioni.h"

#include "piattaforma.h"

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

// The files behind the entries of one raw group: entries of one file (the same
// identity on disk) become one, the first in catalogue order, with the others as its
// other names. An entry whose file cannot be reached now counts on its own.
class FileSuDisco {
public:
    GruppoDoppioni Raggruppa(GruppoDoppioni::Tipo tipo,
                             const std::vector<const dati::elemento*>& voci) {
        GruppoDoppioni g{tipo, {}, {}};
        std::vector<std::optional<velmora::IdentitaFile>> viste;
        for (const dati::elemento* e : voci) {
            const std::optional<velmora::IdentitaFile> id = Identita(*e);
            const auto stesso = id ? std::find(viste.begin(), viste.end(), id) : viste.end();
            if (stesso == viste.end()) {
                g.voci.push_back(e);
                g.altriNomi.emplace_back();
                viste.push_back(id);
            } else {
                g.altriNomi[static_cast<std::size_t>(stesso - viste.begin())].push_back(e);
            }
        }
        return g;
    }

private:
    // Asked once per entry: an entry can be in a group of each kind.
    const std::optional<velmora::IdentitaFile>& Identita(const dati::elemento& e) {
        const auto [it, nuovo] = identita.try_emplace(&e);
        if (nuovo) {
            it->second = velmora::IdentitaDi(velmora::UnisciPercorso(e.Percorso(), e.nome));
        }
        return it->second;
    }

    std::unordered_map<const dati::elemento*, std::optional<velmora::IdentitaFile>> identita;
};

} // namespace

std::size_t GruppoDoppioni::Posto(const dati::elemento& voce) const {
    for (std::size_t i = 0; i < voci.size(); ++i) {
        if (voci[i] == &voce ||
            std::find(altriNomi[i].begin(), altriNomi[i].end(), &voce) != altriNomi[i].end()) {
            return i;
        }
    }
    return voci.size();
}

namespace {

// The groups, or only those of the entry solo when given: the files of the other raw
// groups are then never looked at on disk.
std::vector<GruppoDoppioni> Trova(const dati& catalogo, const dati::elemento* solo) {
    const auto scelto = [solo](const std::vector<const dati::elemento*>& voci) {
        return solo == nullptr || std::find(voci.begin(), voci.end(), solo) != voci.end();
    };
    FileSuDisco file;
    std::vector<GruppoDoppioni> gruppi;
    for (const auto& voci : Raccogli(catalogo, ChiaveByte)) {
        if (scelto(voci)) {
            gruppi.push_back(file.Raggruppa(GruppoDoppioni::Tipo::Identici, voci));
        }
    }
    for (const auto& voci : Raccogli(catalogo, ChiaveMusica)) {
        if (!scelto(voci)) {
            continue;
        }
        GruppoDoppioni g = file.Raggruppa(GruppoDoppioni::Tipo::StessaMusica, voci);
        // Byte copies of one file alone are already a group of identical files.
        const bool tuttiUguali = std::all_of(g.voci.begin(), g.voci.end(), [&](const auto* e) {
            return ChiaveByte(*e) == ChiaveByte(*g.voci.front());
        });
        if (!tuttiUguali) {
            gruppi.push_back(std::move(g));
        }
    }
    // One file under two names is no duplicate of itself.
    std::erase_if(gruppi, [](const GruppoDoppioni& g) { return g.voci.size() < 2; });
    // Identical groups come first and each kind is in catalogue order, so a stable
    // sort by size alone gives the promised order.
    std::stable_sort(gruppi.begin(), gruppi.end(),
                     [](const auto& a, const auto& b) { return a.voci.size() > b.voci.size(); });
    return gruppi;
}

} // namespace

std::vector<GruppoDoppioni> TrovaDoppioni(const dati& catalogo) {
    return Trova(catalogo, nullptr);
}

std::vector<GruppoDoppioni> DoppioniDi(const dati& catalogo, const dati::elemento& voce) {
    return Trova(catalogo, &voce);
}

const char* NomeTipo(GruppoDoppioni::Tipo tipo) {
    return tipo == GruppoDoppioni::Tipo::Identici ? "identici" : "stessa musica";
}
