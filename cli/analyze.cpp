// velmora-cli analyze [--json] FILE...: the detailed report of each file, as text or
// as one JSON object a line.
#include "comandi.h"

#include "midi.h"
#include "piattaforma.h"
#include "rapporto.h"
#include "testo.h"

#include <filesystem>
#include <nlohmann/json.hpp>
#include <vector>

namespace velmora::cli {

namespace {

constexpr std::string_view kUso =
    "Uso: velmora-cli analyze [--json] FILE...\n"
    "Analizza i file MIDI indicati e ne stampa il rapporto dettagliato.\n"
    "\n"
    "  --json   un oggetto JSON per file, uno per riga\n"
    "  --help   mostra questo aiuto\n"
    "  --       i nomi che seguono sono file, anche se iniziano con \"-\"\n"
    "\n"
    "Stato d'uscita: 0 se ogni file è stato analizzato, 1 se qualcuno non lo è stato\n"
    "o se non è stato possibile scrivere il rapporto, 2 per un errore d'uso.\n";

nlohmann::ordered_json Json(const std::string& file, const Midi& m) {
    nlohmann::ordered_json informazioni = nlohmann::ordered_json::array();
    for (const std::string& riga : m.Karaoke().informazioni) {
        informazioni.push_back(DecodificaTesto(riga));
    }
    nlohmann::ordered_json tracce = nlohmann::ordered_json::array();
    for (std::int32_t i = 0; i < m.ContaTracce(); ++i) {
        tracce.push_back({{"NomeTraccia", DecodificaTesto(m.NomeTraccia(i))},
                          {"TracciaAttiva", m.TracciaAttiva(i)},
                          {"Strumento", m.Strumento(i)}});
    }
    return {{"file", file},
            {"stato", m.Stato()},
            {"DurataSecondi", m.DurataSecondi()},
            {"DimensioneFile", m.DimensioneFile()},
            {"TempoIniziale", DecodificaTesto(m.TempoIniziale())},
            {"BattuteMedie", m.BattuteMedie()},
            {"ContaTracce", m.ContaTracce()},
            {"TracceUsate", m.TracceUsate()},
            {"TipoMidi", m.TipoMidi()},
            {"TipoTesto", DecodificaTesto(m.TipoTesto())},
            {"TestoCopyright", DecodificaTesto(m.TestoCopyright())},
            {"TestoCompleto", DecodificaTesto(m.TestoCompleto())},
            {"titolo", DecodificaTesto(m.Titolo())},
            {"autore", DecodificaTesto(m.Autore())},
            {"lingua", DecodificaTesto(m.Lingua())},
            {"informazioni", std::move(informazioni)},
            {"versione", DecodificaTesto(m.Karaoke().versione)},
            {"durata_riproduzione_secondi", m.DurataRiproduzioneSecondi()},
            {"tracce", std::move(tracce)}};
}

// The report with the folder's name and path taken from the file's own path.
std::string Testo(const std::string& file, const Midi& m) {
    // An empty path, or a working folder that is gone, has no absolute form: then
    // the path as given stands.
    std::error_code errore;
    std::filesystem::path completo = std::filesystem::absolute(PercorsoDaUtf8(file), errore);
    if (errore) {
        completo = PercorsoDaUtf8(file);
    }
    completo = completo.lexically_normal();
    const std::string cartella = NormalizzaCartella(Utf8DaPercorso(completo.parent_path()));
    const std::string nome = Utf8DaPercorso(completo.filename());
    std::string testo =
        SoloLf(TestoRapporto(CostruisciRapporto(m, nome, NomeCartella(cartella), cartella)));
    if (testo.empty() || testo.back() != '\n') {
        testo.push_back('\n');
    }
    return testo;
}

} // namespace

int Analyze(Argomenti argomenti, std::ostream& out, std::ostream& err) {
    bool json = false;
    bool soloFile = false;
    std::vector<std::string> file;
    for (const std::string& a : argomenti) {
        if (soloFile || a.empty() || a[0] != '-' || a == "-") {
            file.push_back(a);
        } else if (a == "--") {
            soloFile = true;
        } else if (a == "--json") {
            json = true;
        } else if (a == "--help" || a == "-h") {
            out << kUso;
            return kRiuscito;
        } else {
            err << "velmora-cli analyze: opzione sconosciuta \"" << a << "\" (vedi --help)\n";
            return kErroreUso;
        }
    }
    if (file.empty()) {
        err << "velmora-cli analyze: nessun file indicato (vedi --help)\n";
        return kErroreUso;
    }
    int esito = kRiuscito;
    for (std::size_t i = 0; i < file.size(); ++i) {
        Midi m(file[i]);
        m.Analizza();
        if (m.Stato() != 0) {
            esito = kNonRiuscito;
        }
        if (json) {
            // A path given in bytes that are not UTF-8 is written with replacement characters.
            out << Json(file[i], m).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace)
                << '\n';
        } else {
            out << (i > 0 ? "\n" : "") << Testo(file[i], m);
        }
    }
    // A report that could not be written (a full disk, a closed output) is a failure.
    if (!UscitaScritta(out, err, "analyze")) {
        return kNonRiuscito;
    }
    return esito;
}

} // namespace velmora::cli
