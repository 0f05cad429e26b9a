#include "ricerca.h"

#include "archivio.h"
#include "piattaforma.h"
#include "schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <unordered_map>

namespace velmora::archivio {

namespace {

// At most this many words of a query are looked for.
constexpr std::size_t kMassimoParole = 32;

// SQLite's FTS5 interface, reached the one documented way.
fts5_api* InterfacciaFts5(sqlite::Connessione& c) {
    fts5_api* api = nullptr;
    sqlite::Istruzione s(c, "SELECT fts5(?1)");
    s.LegaPuntatore(1, static_cast<void*>(&api), "fts5_api_ptr");
    s.Passo();
    if (api == nullptr) {
        throw sqlite::Errore(SQLITE_ERROR, "FTS5 non disponibile");
    }
    return api;
}

// campi(ricerca): the fields in which the row matched some word of the query, a bit
// each in the order of kCampiRicerca (the low 16 bits), and what the row is worth
// (the bits above): for each word, the weight of the heaviest field it is in.
void Campi(const Fts5ExtensionApi* api, Fts5Context* fts, sqlite3_context* contesto, int,
           sqlite3_value**) {
    std::int64_t maschera = 0;
    std::int64_t valore = 0;
    for (int frase = 0; frase < api->xPhraseCount(fts); ++frase) {
        Fts5PhraseIter it;
        int colonna = -1;
        const int esito = api->xPhraseFirstColumn(fts, frase, &it, &colonna);
        if (esito != SQLITE_OK) {
            sqlite3_result_error_code(contesto, esito);
            return;
        }
        int migliore = 0;
        for (; colonna >= 0; api->xPhraseNextColumn(fts, &it, &colonna)) {
            // A damaged index may name a column the table does not have.
            if (static_cast<std::size_t>(colonna) < kCampiRicerca.size()) {
                maschera |= std::int64_t{1} << colonna;
                migliore =
                    std::max(migliore, kCampiRicerca[static_cast<std::size_t>(colonna)].peso);
            }
        }
        valore += migliore;
    }
    sqlite3_result_int64(contesto, (valore << 16) | maschera);
}

// The words of a query, folded as the index folds them.
std::vector<std::string> Parole(sqlite::Connessione& c, std::string_view domanda) {
    fts5_api* api = InterfacciaFts5(c);
    void* datiTokenizer = nullptr;
    fts5_tokenizer tokenizer{};
    c.Controlla(api->xFindTokenizer(api, "unicode61", &datiTokenizer, &tokenizer));
    const char* argomenti[] = {"remove_diacritics", "2"};
    Fts5Tokenizer* t = nullptr;
    c.Controlla(tokenizer.xCreate(datiTokenizer, argomenti, 2, &t));
    const std::unique_ptr<Fts5Tokenizer, void (*)(Fts5Tokenizer*)> chiudi(t, tokenizer.xDelete);
    std::vector<std::string> parole;
    const auto raccogli = [](void* dati, int, const char* parola, int n, int, int) {
        auto& p = *static_cast<std::vector<std::string>*>(dati);
        if (p.size() < kMassimoParole) {
            p.emplace_back(parola, static_cast<std::size_t>(n));
        }
        return SQLITE_OK;
    };
    c.Controlla(tokenizer.xTokenize(t, &parole, FTS5_TOKENIZE_QUERY, domanda.data(),
                                    static_cast<int>(domanda.size()), raccogli));
    return parole;
}

std::vector<std::string_view> Etichette(std::int64_t maschera) {
    std::vector<std::string_view> etichette;
    for (std::size_t i = 0; i < kCampiRicerca.size(); ++i) {
        if (maschera & (std::int64_t{1} << i)) {
            etichette.push_back(kCampiRicerca[i].etichetta);
        }
    }
    return etichette;
}

} // namespace

void PreparaRicerca(sqlite::Connessione& c) {
    fts5_api* api = InterfacciaFts5(c);
    c.Controlla(api->xCreateFunction(api, "campi", nullptr, Campi, nullptr));
}

std::optional<std::string> Espressione(sqlite::Connessione& c, std::string_view domanda) {
    const std::vector<std::string> parole = Parole(c, domanda);
    if (parole.empty()) {
        return std::nullopt;
    }
    std::string espressione;
    for (const std::string& parola : parole) {
        if (!espressione.empty()) {
            espressione += " AND ";
        }
        // A folded word holds no quote; doubling one keeps the query sound anyway.
        espressione += '"';
        for (char ch : parola) {
            espressione += ch == '"' ? std::string("\"\"") : std::string(1, ch);
        }
        espressione += "\"*";
    }
    return espressione;
}

std::vector<Trovato> TrovaFile(sqlite::Connessione& c, std::string_view domanda,
                               std::string_view sottoCartella) {
    const std::optional<std::string> espressione = Espressione(c, domanda);
    if (!espressione) {
        return {};
    }
    sqlite::Istruzione s(c, "SELECT c.id, c.percorso, f.nome, f.durata, f.lunghezza, "
                            "campi(ricerca) "
                            "FROM ricerca JOIN file f ON f.id = ricerca.rowid "
                            "JOIN cartelle c ON c.id = f.cartella "
                            "WHERE ricerca MATCH ?1 AND (?2 = '' OR c.percorso = ?2 "
                            "OR substr(c.percorso, 1, length(?3)) = ?3)");
    const std::string cartella =
        sottoCartella.empty() ? std::string() : NormalizzaCartella(sottoCartella);
    s.Lega(1, *espressione).Lega(2, cartella).Lega(3, UnisciPercorso(cartella, ""));
    std::vector<Trovato> trovati;
    struct Valore {
        std::int64_t valore;
        std::size_t cartella; // its place in percorsi, then its rank by path
        std::size_t posto;
    };
    std::vector<Valore> valori;
    // The folders once each: equals are ordered by their folder's rank, a number,
    // then by name, rather than by comparing long paths.
    std::unordered_map<std::int64_t, std::size_t> perId;
    std::vector<std::string> percorsi;
    while (s.Passo()) {
        const std::int64_t campi = s.Intero(5);
        const auto [dove, nuova] = perId.try_emplace(s.Intero(0), percorsi.size());
        if (nuova) {
            percorsi.push_back(s.Testo(1));
        }
        valori.push_back({campi >> 16, dove->second, trovati.size()});
        trovati.push_back({percorsi[dove->second], s.Testo(2), Etichette(campi & 0xFFFF),
                           static_cast<std::int32_t>(s.Intero(3)),
                           static_cast<std::int32_t>(s.Intero(4))});
    }
    std::vector<std::size_t> perPercorso(percorsi.size());
    std::iota(perPercorso.begin(), perPercorso.end(), std::size_t{0});
    std::sort(perPercorso.begin(), perPercorso.end(),
              [&](std::size_t x, std::size_t y) { return percorsi[x] < percorsi[y]; });
    std::vector<std::size_t> rango(percorsi.size());
    for (std::size_t i = 0; i < perPercorso.size(); ++i) {
        rango[perPercorso[i]] = i;
    }
    for (Valore& v : valori) {
        v.cartella = rango[v.cartella];
    }
    // Best first; among equals, by folder and name.
    std::sort(valori.begin(), valori.end(), [&](const Valore& a, const Valore& b) {
        if (a.valore != b.valore) {
            return a.valore > b.valore;
        }
        if (a.cartella != b.cartella) {
            return a.cartella < b.cartella;
        }
        return trovati[a.posto].nome < trovati[b.posto].nome;
    });
    std::vector<Trovato> ordinati;
    ordinati.reserve(trovati.size());
    for (const Valore& v : valori) {
        ordinati.push_back(std::move(trovati[v.posto]));
    }
    return ordinati;
}

std::vector<std::int64_t> TrovaId(sqlite::Connessione& c, std::string_view domanda) {
    const std::optional<std::string> espressione = Espressione(c, domanda);
    if (!espressione) {
        return {};
    }
    sqlite::Istruzione s(c, "SELECT rowid FROM ricerca WHERE ricerca MATCH ?1");
    s.Lega(1, *espressione);
    std::vector<std::int64_t> id;
    while (s.Passo()) {
        id.push_back(s.Intero(0));
    }
    return id;
}

} // namespace velmora::archivio
