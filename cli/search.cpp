// velmora-cli search QUERY ...: the files of the stored catalogue whose texts hold
// every word of the query, best first, with the fields they matched in.
#include "comandi.h"

#include "archivio.h"
#include "formato.h"
#include "piattaforma.h"
#include "testo.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <variant>

namespace velmora::cli {

namespace {

constexpr std::string_view kUso =
    "Uso: velmora-cli search PAROLE... [--db FILE] [--json] [--folder CARTELLA]\n"
    "Cerca nel catalogo salvato (i file analizzati da \"Start\", list e duplicates) i\n"
    "file il cui nome, cartella, copyright, nomi delle tracce, tipo di testo, testo,\n"
    "titolo, autore o lingua contengono tutte le PAROLE, in qualsiasi ordine, senza\n"
    "badare a maiuscole e accenti (\"citta\" trova \"Città\"); una parola trova anche\n"
    "quelle che inizia.\n"
    "Stampa i file trovati, i migliori per primi, ognuno con i campi in cui è stato\n"
    "trovato.\n"
    "\n"
    "  --db FILE          il catalogo da usare invece di quello dell'utente\n"
    "  --json             un oggetto JSON per file, uno per riga\n"
    "  --folder CARTELLA  solo i file della cartella e delle sue sotto cartelle\n"
    "  --help             mostra questo aiuto\n"
    "  --                 gli argomenti che seguono sono parole, anche se iniziano con \"-\"\n"
    "\n"
    "Stato d'uscita: 0 se qualche file è stato trovato, 1 se nessuno (o se il catalogo\n"
    "non si può leggere), 2 per un errore d'uso.\n";

struct Richiesta {
    std::string domanda;
    std::optional<std::string> db;
    std::string cartella;
    bool json = false;
};

// The options followed by their value.
constexpr std::string_view kConValore[] = {"--db", "--folder"};

std::variant<Richiesta, std::string> Leggi(Argomenti argomenti) {
    Richiesta r;
    bool soloParole = false;
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string& a = argomenti[i];
        const bool valore = std::ranges::find(kConValore, a) != std::end(kConValore);
        if (!soloParole && valore && i + 1 == argomenti.size()) {
            return "manca il valore di " + a;
        }
        if (soloParole || a.empty() || a[0] != '-' || a == "-") {
            r.domanda += (r.domanda.empty() ? "" : " ") + a;
        } else if (a == "--") {
            soloParole = true;
        } else if (a == "--json") {
            r.json = true;
        } else if (a == "--db") {
            r.db = argomenti[++i];
        } else if (a == "--folder") {
            std::error_code ec;
            const auto p = std::filesystem::absolute(PercorsoDaUtf8(argomenti[++i]), ec);
            r.cartella = NormalizzaCartella(Utf8DaPercorso(p.lexically_normal()));
        } else {
            return "opzione sconosciuta \"" + a + "\"";
        }
    }
    if (r.domanda.empty()) {
        return "manca che cosa cercare";
    }
    return r;
}

std::string Campi(const archivio::Trovato& f) {
    std::string campi;
    for (const std::string_view c : f.campi) {
        campi += (campi.empty() ? "" : ", ") + std::string(c);
    }
    return campi;
}

} // namespace

int Search(Argomenti argomenti, std::ostream& out, std::ostream& err) {
    if (ChiedeAiuto(argomenti, kConValore)) {
        out << kUso;
        return kRiuscito;
    }
    auto letta = Leggi(argomenti);
    if (const std::string* errore = std::get_if<std::string>(&letta)) {
        err << "velmora-cli search: " << *errore << " (vedi velmora-cli search --help)\n";
        return kErroreUso;
    }
    const Richiesta& r = std::get<Richiesta>(letta);
    archivio::Archivio catalogo(r.db ? *r.db : PercorsoCatalogo());
    const auto trovati = catalogo.Cerca(r.domanda, r.cartella);
    if (!trovati) {
        err << "velmora-cli search: catalogo salvato non disponibile: " << catalogo.Motivo()
            << "\n";
        return kNonRiuscito;
    }
    for (const archivio::Trovato& f : *trovati) {
        const std::string percorso = DecodificaTesto(UnisciPercorso(f.cartella, f.nome));
        if (r.json) {
            const nlohmann::ordered_json riga = {
                {"percorso", percorso},
                {"campi", std::vector<std::string>(f.campi.begin(), f.campi.end())},
                {"durata_secondi", f.durata},
                {"byte", f.lunghezza}};
            out << riga.dump() << "\n";
        } else {
            out << FormattaDurata(f.durata) << "  " << percorso << "  (" << Campi(f) << ")\n";
        }
    }
    if (!UscitaScritta(out, err, "search")) {
        return kNonRiuscito;
    }
    if (trovati->empty() && catalogo.Vuoto().value_or(false)) {
        err << "velmora-cli search: il catalogo salvato è vuoto: si riempie con \"Start\" o "
               "con velmora-cli list CARTELLA\n";
    }
    return trovati->empty() ? kNonRiuscito : kRiuscito;
}

} // namespace velmora::cli
