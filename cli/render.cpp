// velmora-cli render FILE -o OUT.wav [--soundfont SF2] [--rate HZ] [--max-seconds N]:
// the file played offline into a 16-bit stereo WAV, as fast as the processor allows.
#include "comandi.h"

#include "piattaforma.h"
#include "render_wav.h"
#include "scrittura.h"
#include "sequenza.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace velmora::cli {

namespace {

constexpr std::string_view kUso =
    "Uso: velmora-cli render FILE -o USCITA.wav [--soundfont SF2] [--rate HZ]\n"
    "                        [--max-seconds N]\n"
    "Suona il file MIDI fuori tempo reale e ne scrive l'audio in un WAV stereo a 16 bit:\n"
    "la musica fino alla sua ultima nota, poi due secondi di coda per la risonanza.\n"
    "\n"
    "  -o USCITA.wav     il file WAV da scrivere; uno che c'è già è sostituito solo da un\n"
    "                    WAV completo, e mai dal file MIDI stesso\n"
    "  --soundfont SF2   il SoundFont (.sf2 o .sf3) da usare invece di quello General MIDI\n"
    "                    del sistema\n"
    "  --rate HZ         la frequenza di campionamento (predefinita 44100)\n"
    "  --max-seconds N   solo i primi N secondi di musica, per un'anteprima\n"
    "  --help            mostra questo aiuto\n"
    "\n"
    "Un file danneggiato viene reso fino al punto in cui si legge, con un avviso.\n"
    "Il WAV non si scrive quando supera lo spazio libero del disco o i 4 GiB del formato.\n"
    "Stato d'uscita: 0 se il WAV è stato scritto, 1 se non lo è stato, 2 per un errore d'uso.\n";

struct Richiesta {
    std::string file;
    std::string uscita;
    OpzioniRender opzioni;
};

// The whole text as a number of type T, or nothing.
template <typename T> std::optional<T> Numero(const std::string& testo) {
    T v{};
    const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), v);
    if (errore != std::errc{} || fine != testo.data() + testo.size()) {
        return std::nullopt;
    }
    return v;
}

// The options followed by their value.
constexpr std::string_view kConValore[] = {"-o", "--soundfont", "--rate", "--max-seconds"};

// Reads the arguments; on a usage error returns false with its message.
bool Leggi(Argomenti argomenti, Richiesta& r, std::string& errore) {
    for (std::size_t i = 0; i < argomenti.size(); ++i) {
        const std::string& a = argomenti[i];
        const bool valore = std::ranges::find(kConValore, a) != std::end(kConValore);
        if (valore && i + 1 == argomenti.size()) {
            errore = "manca il valore di " + a;
            return false;
        }
        if (a == "-o") {
            r.uscita = argomenti[++i];
        } else if (a == "--soundfont") {
            r.opzioni.soundFont = argomenti[++i];
        } else if (a == "--rate") {
            const std::optional<int> hz = Numero<int>(argomenti[++i]);
            if (!hz || *hz < 8000 || *hz > 96000) {
                errore = "--rate vuole un numero da 8000 a 96000, non \"" + argomenti[i] + "\"";
                return false;
            }
            r.opzioni.frequenza = *hz;
        } else if (a == "--max-seconds") {
            const std::optional<double> secondi = Numero<double>(argomenti[++i]);
            if (!secondi || !std::isfinite(*secondi) || *secondi <= 0) {
                errore = "--max-seconds vuole un numero di secondi maggiore di 0, non \"" +
                         argomenti[i] + "\"";
                return false;
            }
            r.opzioni.secondiMassimi = *secondi;
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

// The WAV goes through the safe write: a file is replaced only by a complete WAV, a
// device or a pipe is written to and never removed.
class UscitaFile : public UscitaWav {
public:
    explicit UscitaFile(const std::string& file) : nome(file), scrittura(file) {}

    std::string Apri(std::uint64_t byteWav) override {
        if (!scrittura.Apri()) {
            return "Impossibile creare il file \"" + nome + "\".";
        }
        const std::optional<std::uint64_t> spazio = scrittura.Spazio();
        if (spazio && byteWav > *spazio) {
            return "Spazio insufficiente sul disco di \"" + nome + "\": il WAV occuperebbe " +
                   Mega(byteWav, true) + " MB e ne restano liberi " + Mega(*spazio, false) + " MB.";
        }
        return {};
    }
    std::string Scrivi(std::string_view byte) override {
        return scrittura.Scrivi(byte) ? std::string() : ErroreScrittura();
    }
    std::string Concludi() { return scrittura.Concludi() ? std::string() : ErroreScrittura(); }

private:
    // Megabytes, rounded up for what is needed and down for what is free.
    static std::string Mega(std::uint64_t byte, bool perEccesso) {
        constexpr std::uint64_t kMega = 1000 * 1000;
        return std::to_string(byte / kMega + (perEccesso && byte % kMega != 0 ? 1 : 0));
    }
    std::string ErroreScrittura() const {
        return "Errore di scrittura sul file \"" + nome + "\": il WAV non è stato scritto.";
    }

    std::string nome;
    ScritturaFile scrittura;
};

} // namespace

int Render(Argomenti argomenti, std::ostream& out, std::ostream& err) {
    if (ChiedeAiuto(argomenti, kConValore)) {
        out << kUso;
        return kRiuscito;
    }
    Richiesta r;
    std::string errore;
    if (!Leggi(argomenti, r, errore)) {
        err << "velmora-cli render: " << errore << " (vedi velmora-cli render --help)\n";
        return kErroreUso;
    }
    // The same file under any name, through links too: writing the WAV would destroy it.
    const std::optional<IdentitaFile> ingresso = IdentitaDi(r.file);
    if (ingresso && ingresso == IdentitaDi(r.uscita)) {
        err << "velmora-cli render: \"" << r.uscita << "\" è il file MIDI stesso: il WAV va"
            << " scritto in un altro file\n";
        return kErroreUso;
    }
    Sequenza sequenza;
    if (!CaricaSequenza(r.file, sequenza, errore)) {
        err << "velmora-cli render: " << errore << "\n";
        return kNonRiuscito;
    }
    const PianoRender piano = Pianifica(sequenza, r.opzioni);
    if (piano.ByteWav() > kByteWavMassimi) {
        err << "velmora-cli render: la musica di \"" << r.file << "\" dura "
            << std::llround(piano.fineMusica) << " secondi: il suo WAV supererebbe i 4 GiB che"
            << " il formato consente (--max-seconds ne rende solo l'inizio)\n";
        return kNonRiuscito;
    }
    UscitaFile uscita(r.uscita);
    errore = RenderizzaWav(sequenza, piano, r.opzioni, uscita);
    if (errore.empty()) {
        errore = uscita.Concludi();
    }
    if (!errore.empty()) {
        err << "velmora-cli render: " << errore << "\n";
        return kNonRiuscito;
    }
    if (sequenza.danneggiata) {
        err << "velmora-cli render: attenzione, \"" << r.file
            << "\" è danneggiato: è stato reso fino al punto in cui si legge\n";
    }
    if (piano.troncato) {
        err << "velmora-cli render: \"" << r.file << "\" è stato troncato ai primi "
            << *r.opzioni.secondiMassimi << " secondi, come chiesto da --max-seconds\n";
    }
    return kRiuscito;
}

} // namespace velmora::cli
