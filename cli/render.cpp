// velmora-cli render FILE -o OUT.wav [--soundfont SF2] [--rate HZ]: the file played
// offline into a 16-bit stereo WAV, as fast as the processor allows.
#include "comandi.h"

#include "render_wav.h"
#include "sequenza.h"

#include <charconv>
#include <optional>

namespace velmora::cli {

namespace {

constexpr std::string_view kUso =
    "Uso: velmora-cli render FILE -o USCITA.wav [--soundfont SF2] [--rate HZ]\n"
    "Suona il file MIDI fuori tempo reale e ne scrive l'audio in un WAV stereo a 16 bit.\n"
    "\n"
    "  -o USCITA.wav     il file WAV da scrivere\n"
    "  --soundfont SF2   il SoundFont (.sf2 o .sf3) da usare invece di quello General MIDI\n"
    "                    del sistema\n"
    "  --rate HZ         la frequenza di campionamento (predefinita 44100)\n"
    "  --help            mostra questo aiuto\n"
    "\n"
    "Un file danneggiato viene reso fino al punto in cui si legge, con un avviso.\n"
    "Stato d'uscita: 0 se il WAV è stato scritto, 1 se non lo è stato, 2 per un errore d'uso.\n";

struct Richiesta {
    std::string file;
    std::string uscita;
    OpzioniRender opzioni;
};

std::optional<int> Intero(const std::string& testo) {
    int v = 0;
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), v);
    if (errore != std::errc{} || fine != testo.data() + testo.size()) {
        return std::nullopt;
    }
    return v;
}

// Reads the arguments; on a usage error returns false with its message.
bool Leggi(Argomenti argomenti, Richiesta& r, std::string& errore) {
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string& a = argomenti[i];
        const bool valore = a == "-o" || a == "--soundfont" || a == "--rate";
        if (valore && i + 1 == argomenti.size()) {
            errore = "manca il valore di " + a;
            return false;
        }
        if (a == "-o") {
            r.uscita = argomenti[++i];
        } else if (a == "--soundfont") {
            r.opzioni.soundFont = argomenti[++i];
        } else if (a == "--rate") {
            const std::optional<int> hz = Intero(argomenti[++i]);
            if (!hz || *hz < 8000 || *hz > 96000) {
                errore = "--rate vuole un numero da 8000 a 96000, non \"" + argomenti[i] + "\"";
                return false;
            }
            r.opzioni.frequenza = *hz;
        } else if (!a.empty() && a[0] == '-') {
            errore = "opzione sconosciuta \"" + a + "\"";
            return false;
        } else if (!r.file.empty()) {
            errore = "un solo file, per favore: \"" + a + "\" è di troppo";
            return false;
        } else {
            r.file = a;
        }
    }
    errore = r.file.empty() ? "manca il file MIDI" : r.uscita.empty() ? "manca -o USCITA.wav" : "";
    return errore.empty();
}

} // namespace

int Render(Argomenti argomenti, std::ostream& out, std::ostream& err) {
    for (const std::string& a : argomenti) {
        if (a == "--help" || a == "-h") {
            out << kUso;
            return kRiuscito;
        }
    }
    Richiesta r;
    std::string errore;
    if (!Leggi(argomenti, r, errore)) {
        err << "velmora-cli render: " << errore << " (vedi velmora-cli render --help)\n";
        return kErroreUso;
    }
    Sequenza sequenza;
    if (!CaricaSequenza(r.file, sequenza, errore)) {
        err << "velmora-cli render: " << errore << "\n";
        return kNonRiuscito;
    }
    errore = RenderizzaWav(sequenza, r.uscita, r.opzioni);
    if (!errore.empty()) {
        err << "velmora-cli render: " << errore << "\n";
        return kNonRiuscito;
    }
    if (sequenza.danneggiata) {
        err << "velmora-cli render: attenzione, \"" << r.file
            << "\" è danneggiato: è stato reso fino al punto in cui si legge\n";
    }
    return kRiuscito;
}

} // namespace velmora::cli
