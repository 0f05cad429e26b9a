// velmora-cli duplicates DIR ...: catalogues a folder as "Start" does, then lists the
// groups of identical files and of files with the same music.
#include "comandi.h"

#include "dati.h"
#include "doppioni.h"
#include "piattaforma.h"
#include "testo.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace velmora::cli {

namespace {

constexpr std::string_view kUso =
    "Uso: velmora-cli duplicates CARTELLA [--no-subfolders] [--json] [--db FILE]\n"
    "                            [--no-cache]\n"
    "Cataloga i file MIDI della cartella e delle sue sotto cartelle, come fa \"Start\",\n"
    "e ne elenca i doppioni: i file identici byte per byte e i file con la stessa musica,\n"
    "i gruppi più grandi per primi. Un file con più nomi (collegamenti fisici o\n"
    "simbolici) è un file solo, elencato con i suoi altri nomi.\n"
    "\n"
    "  --no-subfolders  solo la cartella indicata, senza le sotto cartelle\n"
    "  --json           un oggetto JSON per gruppo, uno per riga\n"
    "  --db FILE        il catalogo salvato da usare invece di quello dell'utente\n"
    "  --no-cache       rilegge e analizza ogni file, anche quelli non cambiati dal\n"
    "                   catalogo salvato\n"
    "  --help           mostra questo aiuto\n"
    "  --               l'argomento che segue è la cartella, anche se inizia con \"-\"\n"
    "\n"
    "Stato d'uscita: 0 se la cartella è stata esaminata, anche senza doppioni,\n"
    "1 se non è stato possibile esaminarla, 2 per un errore d'uso.\n"
    "\n";

// The text in lines of at most larghezza bytes, broken at spaces.
std::string ACapo(std::string_view testo, std::size_t larghezza) {
    std::string righe;
    std::size_t riga = 0;
    while (!testo.empty()) {
        const std::size_t fine = std::min(testo.find(' '), testo.size());
        if (riga > 0 && riga + 1 + fine > larghezza) {
            righe += '\n';
            riga = 0;
        } else if (riga > 0) {
            righe += ' ';
            ++riga;
        }
        righe += testo.substr(0, fine);
        riga += fine;
        testo.remove_prefix(std::min(fine + 1, testo.size()));
    }
    return righe + '\n';
}

std::string Percorso(const dati::elemento& e) {
    return UnisciPercorso(e.Percorso(), e.nome);
}

void Testo(std::ostream& out, const std::vector<GruppoDoppioni>& gruppi) {
    if (gruppi.empty()) {
        out << "Nessun doppione.\n";
    }
    for (const GruppoDoppioni& g : gruppi) {
        out << (g.tipo == GruppoDoppioni::Tipo::Identici ? "Identici" : "Stessa musica") << " ("
            << g.voci.size() << " file):\n";
        for (std::size_t i = 0; i < g.voci.size(); ++i) {
            const dati::elemento* e = g.voci[i];
            out << "  " << e->Durata() << "  " << e->Lunghezza() << " byte  " << Percorso(*e)
                << "\n";
            for (const dati::elemento* altro : g.altriNomi[i]) {
                out << "    altro nome: " << Percorso(*altro) << "\n";
            }
        }
        out << "\n";
    }
}

void Json(std::ostream& out, const std::vector<GruppoDoppioni>& gruppi) {
    // A name that is not UTF-8 is decoded as a text from a file: JSON wants UTF-8.
    const auto utf8 = [](const dati::elemento& e) { return DecodificaTesto(Percorso(e)); };
    for (const GruppoDoppioni& g : gruppi) {
        nlohmann::ordered_json file = nlohmann::ordered_json::array();
        for (std::size_t i = 0; i < g.voci.size(); ++i) {
            const dati::elemento* e = g.voci[i];
            file.push_back(
                {{"percorso", utf8(*e)}, {"byte", e->lunghezza}, {"durata_secondi", e->durata}});
            // Only a file with other names has the key: every other line stays as it was.
            for (const dati::elemento* altro : g.altriNomi[i]) {
                file.back()["altri_nomi"].push_back(utf8(*altro));
            }
        }
        const nlohmann::ordered_json riga = {{"tipo", NomeTipo(g.tipo)}, {"file", file}};
        out << riga.dump() << "\n";
    }
}

} // namespace

int Duplicates(Argomenti argomenti, std::ostream& out, std::ostream& err) {
    std::optional<std::string> cartella;
    bool sottoCartelle = true;
    bool json = false;
    bool soloCartella = false;
    OpzioniCatalogo opzioni;
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string& a = argomenti[i];
        std::string errore;
        if (!soloCartella && (a == "--help" || a == "-h")) {
            out << kUso << ACapo(kSignificatoStessaMusica, 80);
            return kRiuscito;
        }
        if (soloCartella || a.empty() || a[0] != '-' || a == "-") {
            if (cartella) {
                errore = "una sola cartella, per favore: \"" + a + "\" è di troppo";
            }
            cartella = a;
        } else if (a == "--") {
            soloCartella = true;
        } else if (opzioni.Leggi(argomenti, i)) {
            // --db or --no-cache
        } else if (a == "--db") {
            errore = "manca il valore di --db";
        } else if (a == "--no-subfolders") {
            sottoCartelle = false;
        } else if (a == "--json") {
            json = true;
        } else {
            errore = "opzione sconosciuta \"" + a + "\"";
        }
        if (!errore.empty()) {
            err << "velmora-cli duplicates: " << errore
                << " (vedi velmora-cli duplicates --help)\n";
            return kErroreUso;
        }
    }
    if (!cartella) {
        err << "velmora-cli duplicates: manca la cartella da esaminare"
               " (vedi velmora-cli duplicates --help)\n";
        return kErroreUso;
    }
    dati catalogo;
    bool incompleto = false;
    if (const std::optional<int> esito = Cataloga(*cartella, true, sottoCartelle, opzioni, catalogo,
                                                  err, "duplicates", incompleto)) {
        return *esito;
    }
    const std::vector<GruppoDoppioni> gruppi = TrovaDoppioni(catalogo);
    if (json) {
        Json(out, gruppi);
    } else {
        Testo(out, gruppi);
    }
    if (!UscitaScritta(out, err, "duplicates")) {
        return kNonRiuscito;
    }
    return incompleto ? kNonRiuscito : kRiuscito;
}

} // namespace velmora::cli
