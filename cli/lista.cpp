// velmora-cli list DIR ...: catalogues a folder as "Start" does, then writes the list
// export as page 'Salva' does.
#include "comandi.h"

#include "archivio.h"
#include "dati.h"
#include "dati_esportati.h"
#include "memoria_archivio.h"
#include "piattaforma.h"
#include "scansione.h"
#include "stampa_file.h"
#include "testo.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>
#include <variant>

namespace velmora::cli {

namespace {

constexpr std::string_view kUso =
    "Uso: velmora-cli list CARTELLA [--no-subfolders] [--no-analysis] [--mode A|B]\n"
    "                      [--columns N,N,...] [--date G/M/AAAA] [--format txt|csv|json]\n"
    "                      [-o FILE] [--db FILE] [--no-cache]\n"
    "Cataloga i file MIDI della cartella e delle sue sotto cartelle, come fa \"Start\",\n"
    "e ne scrive l'elenco, come fa la pagina 'Salva'.\n"
    "\n"
    "  --no-subfolders    solo la cartella indicata, senza le sotto cartelle\n"
    "  --no-analysis      solo nomi e cartelle, senza analizzare i file\n"
    "  --mode A|B         \"Modo A\", una riga per file, o \"Modo B\", per cartella\n"
    "                     (predefinito)\n"
    "  --columns N,N,...  le colonne da scrivere, per numero (predefinite: tutte):\n"
    "                     1 Percorso, 2 Directory, 3 Nome, 4 Durata, 5 Byte, 6 Tempo,\n"
    "                     7 BPM, 8 Tracce, 9 Tipo, 10 Testo, 11 Copyright;\n"
    "                     \"\" per nessuna\n"
    "  --date G/M/AAAA    la data della prima riga (predefinita: oggi)\n"
    "  --format F         txt: l'elenco (predefinito); csv: una tabella UTF-8 per i fogli\n"
    "                     di calcolo; json: un oggetto JSON per file, uno per riga.\n"
    "                     --mode, --columns e --date valgono solo per txt\n"
    "  -o FILE            scrive l'elenco in FILE invece che sullo standard output\n"
    "  --db FILE          il catalogo salvato da usare invece di quello dell'utente\n"
    "  --no-cache         rilegge e analizza ogni file, anche quelli non cambiati dal\n"
    "                     catalogo salvato, e ne aggiorna le voci\n"
    "  --help             mostra questo aiuto\n"
    "\n"
    "L'elenco è in Windows-1252 con righe chiuse da CR LF, anche sullo standard output;\n"
    "csv e json sono in UTF-8 e conservano ogni carattere dei nomi.\n"
    "I file non cambiati da quando sono nel catalogo salvato (stessa dimensione, stessa\n"
    "data di modifica) non vengono riletti: se ne usa l'analisi salvata.\n"
    "Le cartelle che non si possono leggere (percorso troppo lungo, accesso negato)\n"
    "sono elencate sullo standard error, e mancano dall'elenco.\n"
    "Stato d'uscita: 0 se l'elenco è stato scritto, 1 se non è stato possibile\n"
    "scriverlo o se qualche cartella non è stata letta, 2 per un errore d'uso.\n";

struct Richiesta {
    std::string cartella;
    bool sottoCartelle = true;
    bool analisi = true;
    OpzioniLista opzioni;
    Data data = Oggi();
    std::optional<FormatoDati> formato; // the text list when absent
    std::optional<std::string> uscita;  // standard output when absent
    OpzioniCatalogo catalogo;
};

std::optional<int> Numero(std::string_view testo) {
    int n = 0;
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), n);
    if (errore != std::errc() || fine != testo.data() + testo.size() || testo.empty()) {
        return std::nullopt;
    }
    return n;
}

// "1,3,11": the columns by number; "" for none.
std::optional<OpzioniLista> Colonne(std::string_view testo, OpzioniLista opzioni) {
    opzioni.colonne.fill(false);
    while (!testo.empty()) {
        const std::size_t virgola = testo.find(',');
        const std::optional<int> n = Numero(testo.substr(0, virgola));
        if (!n || *n < 1 || *n > 11) {
            return std::nullopt;
        }
        opzioni.Scegli(static_cast<Colonna>(*n), true);
        testo = virgola == std::string_view::npos ? std::string_view() : testo.substr(virgola + 1);
        if (virgola != std::string_view::npos && testo.empty()) {
            return std::nullopt; // a trailing comma
        }
    }
    return opzioni;
}

// "5/3/1999": a real calendar date.
std::optional<Data> LeggiData(std::string_view testo) {
    const std::size_t a = testo.find('/');
    const std::size_t b = a == std::string_view::npos ? a : testo.find('/', a + 1);
    if (b == std::string_view::npos) {
        return std::nullopt;
    }
    const auto g = Numero(testo.substr(0, a));
    const auto m = Numero(testo.substr(a + 1, b - a - 1));
    const auto y = Numero(testo.substr(b + 1));
    if (!g || !m || !y || *y < 1 || *y > 9999 || *g < 1 || *m < 1 ||
        !std::chrono::year_month_day(std::chrono::year(*y),
                                     std::chrono::month(static_cast<unsigned>(*m)),
                                     std::chrono::day(static_cast<unsigned>(*g)))
             .ok()) {
        return std::nullopt;
    }
    return Data{*g, *m, *y};
}

// The options followed by their value, which is taken as it is, even when it starts
// with "-".
constexpr std::string_view kConValore[] = {"--mode",   "--columns", "--date",
                                           "--format", "-o",        "--db"};

bool ConValore(std::string_view a) {
    return std::ranges::find(kConValore, a) != std::end(kConValore);
}

// Reads the arguments; on a usage error returns its message.
std::variant<Richiesta, std::string> Leggi(Argomenti argomenti) {
    Richiesta r;
    bool cartellaData = false;
    bool soloCartella = false;
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string& a = argomenti[i];
        const bool valore = ConValore(a);
        if (valore && !soloCartella && i + 1 == argomenti.size()) {
            return "manca il valore di " + a;
        }
        if (soloCartella || a.empty() || a[0] != '-' || a == "-") {
            if (cartellaData) {
                return "una sola cartella, per favore: \"" + a + "\" è di troppo";
            }
            r.cartella = a;
            cartellaData = true;
        } else if (a == "--") {
            soloCartella = true;
        } else if (r.catalogo.Leggi(argomenti, i)) {
            // --db or --no-cache
        } else if (a == "--no-subfolders") {
            r.sottoCartelle = false;
        } else if (a == "--no-analysis") {
            r.analisi = false;
        } else if (a == "--mode") {
            const std::string& m = argomenti[++i];
            if (m != "A" && m != "B") {
                return "--mode vuole A o B, non \"" + m + "\"";
            }
            r.opzioni.modo = m == "A" ? Modo::A : Modo::B;
        } else if (a == "--columns") {
            const auto colonne = Colonne(argomenti[++i], r.opzioni);
            if (!colonne) {
                return "--columns vuole numeri da 1 a 11 separati da virgole, non \"" +
                       argomenti[i] + "\"";
            }
            r.opzioni = *colonne;
        } else if (a == "--date") {
            const auto data = LeggiData(argomenti[++i]);
            if (!data) {
                return "--date vuole una data G/M/AAAA, non \"" + argomenti[i] + "\"";
            }
            r.data = *data;
        } else if (a == "--format") {
            const std::string& f = argomenti[++i];
            if (f != "txt" && f != "csv" && f != "json") {
                return "--format vuole txt, csv o json, non \"" + f + "\"";
            }
            r.formato = f == "txt"   ? std::nullopt
                        : f == "csv" ? std::optional(FormatoDati::Csv)
                                     : std::optional(FormatoDati::Json);
        } else if (a == "-o") {
            r.uscita = argomenti[++i];
        } else {
            return "opzione sconosciuta \"" + a + "\"";
        }
    }
    if (!cartellaData) {
        return "manca la cartella da catalogare";
    }
    return r;
}

// Files so far and the folder being read, on one line of the terminal, at most ten
// times a second; cleared at the end.
class Avanzamento {
public:
    explicit Avanzamento(std::ostream& flusso) : err(flusso) {}
    ~Avanzamento() {
        if (larghezza > 0) {
            err << '\r' << std::string(larghezza, ' ') << '\r' << std::flush;
        }
    }
    void Mostra(std::int32_t file, const std::string& cartella) {
        const auto adesso = std::chrono::steady_clock::now();
        if (larghezza > 0 && adesso - ultima < std::chrono::milliseconds(100)) {
            return;
        }
        ultima = adesso;
        std::string riga = std::to_string(file) + " file - ";
        // The end of the folder's path, so that the line fits an 80-column terminal.
        std::string_view coda = cartella;
        while (Caratteri(coda) + Caratteri(riga) > 79) {
            coda.remove_prefix(1);
            while (!coda.empty() && (static_cast<unsigned char>(coda[0]) & 0xC0) == 0x80) {
                coda.remove_prefix(1);
            }
        }
        riga += coda;
        const std::size_t caratteri = Caratteri(riga);
        err << '\r' << riga << std::string(larghezza > caratteri ? larghezza - caratteri : 0, ' ')
            << std::flush;
        larghezza = caratteri;
    }

private:
    std::ostream& err;
    std::chrono::steady_clock::time_point ultima;
    std::size_t larghezza = 0; // characters shown now
};

} // namespace

bool OpzioniCatalogo::Leggi(Argomenti argomenti, std::size_t& i) {
    if (argomenti[i] == "--no-cache") {
        senzaCache = true;
        return true;
    }
    if (argomenti[i] == "--db" && i + 1 < argomenti.size()) {
        db = argomenti[++i];
        return true;
    }
    return false;
}

std::optional<int> Cataloga(const std::string& cartella, bool analisi, bool sottoCartelle,
                            const OpzioniCatalogo& opzioni, dati& catalogo, std::ostream& err,
                            std::string_view comando, bool& incompleto) {
    std::optional<ListaCartelle> cartelle;
    try {
        cartelle.emplace(cartella);
    } catch (const ErroreCartella&) {
        err << "velmora-cli " << comando << ": \"" << cartella
            << "\" non esiste o non è una cartella\n";
        return kErroreUso;
    }
    ListaFile file;
    std::optional<Avanzamento> avanzamento;
    if (&err == &std::cerr && ErroreStandardSuTerminale()) {
        avanzamento.emplace(err);
    }
    Scansione::Ganci ganci;
    if (avanzamento) {
        ganci.stato = [&](const std::string&) {
            avanzamento->Mostra(catalogo.NumeroFile(), cartelle->Directory());
        };
    }
    Scansione scansione(*cartelle, file, catalogo, std::move(ganci));
    cartelle->AlCambio([&] { scansione.DirectoryChange(); });
    // The stored catalogue serves only a scan that analyses.
    std::optional<archivio::Archivio> salvato;
    std::optional<archivio::MemoriaArchivio> memoria;
    if (analisi) {
        salvato.emplace(opzioni.db ? *opzioni.db : PercorsoCatalogo());
        memoria.emplace(*salvato, opzioni.senzaCache);
        scansione.Memoria(&*memoria);
    }
    try {
        scansione.Button1Click(analisi, sottoCartelle);
    } catch (const ErroreCartella& e) {
        avanzamento.reset();
        err << "velmora-cli " << comando << ": " << e.what() << "\n";
        return kNonRiuscito;
    }
    avanzamento.reset();
    if (memoria && !memoria->Avviso().empty()) {
        err << "velmora-cli " << comando << ": " << memoria->Avviso() << "\n";
    }
    for (const std::string& c : scansione.CartelleNonLette()) {
        err << "velmora-cli " << comando << ": cartella non letta, esclusa dall'elenco: " << c
            << "\n";
    }
    incompleto = !scansione.CartelleNonLette().empty();
    return std::nullopt;
}

int Lista(Argomenti argomenti, std::ostream& out, std::ostream& err) {
    if (ChiedeAiuto(argomenti, kConValore)) {
        out << kUso;
        return kRiuscito;
    }
    auto letta = Leggi(argomenti);
    if (const std::string* errore = std::get_if<std::string>(&letta)) {
        err << "velmora-cli list: " << *errore << " (vedi velmora-cli list --help)\n";
        return kErroreUso;
    }
    Richiesta& r = std::get<Richiesta>(letta);

    dati catalogo;
    bool incompleto = false;
    if (const std::optional<int> esito = Cataloga(r.cartella, r.analisi, r.sottoCartelle,
                                                  r.catalogo, catalogo, err, "list", incompleto)) {
        return *esito;
    }
    const int esitoScansione = incompleto ? kNonRiuscito : kRiuscito;

    if (r.uscita) {
        const Esito esito = r.formato ? EsportaDati(catalogo, *r.formato, *r.uscita)
                                      : StampaFile(catalogo, r.opzioni, r.data, *r.uscita);
        if (!esito) {
            err << "velmora-cli list: " << esito.errore << "\n";
            return kNonRiuscito;
        }
        return esitoScansione;
    }
    if (r.formato) {
        out << TestoDati(catalogo, *r.formato);
    } else {
        ProduciLista(catalogo, r.opzioni, r.data, [&](std::string_view pezzo) {
            out.write(pezzo.data(), static_cast<std::streamsize>(pezzo.size()));
        });
    }
    if (!UscitaScritta(out, err, "list")) {
        return kNonRiuscito;
    }
    return esitoScansione;
}

} // namespace velmora::cli
