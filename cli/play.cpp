// velmora-cli play FILE [--soundfont SF2]: the file heard on the system's audio output
// through the same player as the grid's "Ascolta", up to the end of its release.
#include "comandi.h"

#include "riproduzione.h"

#include <condition_variable>
#include <mutex>

namespace velmora::cli {

namespace {

constexpr std::string_view kUso =
    "Uso: velmora-cli play FILE [--soundfont SF2]\n"
    "Suona il file MIDI sull'uscita audio del sistema, come \"Ascolta\" nella griglia, e\n"
    "termina quando il file è finito (Ctrl+C lo interrompe).\n"
    "\n"
    "  --soundfont SF2   il SoundFont (.sf2 o .sf3) da usare invece di quello General MIDI\n"
    "                    del sistema\n"
    "  --help            mostra questo aiuto\n"
    "\n"
    "Stato d'uscita: 0 se il file è stato suonato, 1 se non si può ascoltare, 2 per un\n"
    "errore d'uso.\n";

} // namespace

int Play(Argomenti argomenti, std::ostream& out, std::ostream& err) {
    std::string file;
    std::string soundFont;
    std::string errore;
    for (std::size_t i = 0; i < argomenti.size() && errore.empty(); ++i) {
        const std::string& a = argomenti[i];
        if (a == "--help" || a == "-h") {
            out << kUso;
            return kRiuscito;
        }
        if (a == "--soundfont" && i + 1 < argomenti.size()) {
            soundFont = argomenti[++i];
        } else if (!a.empty() && a[0] == '-') {
            errore = a == "--soundfont" ? "manca il valore di " + a
                                        : "opzione sconosciuta \"" + a + "\"";
        } else if (!file.empty()) {
            errore = "un solo file, per favore: \"" + a + "\" è di troppo";
        } else {
            file = a;
        }
    }
    if (errore.empty() && file.empty()) {
        errore = "manca il file MIDI";
    }
    if (!errore.empty()) {
        err << "velmora-cli play: " << errore << " (vedi velmora-cli play --help)\n";
        return kErroreUso;
    }
    std::mutex m;
    std::condition_variable cambiato;
    bool finito = false;
    const std::unique_ptr<Lettore> lettore = CreaLettore(soundFont);
    lettore->AlTermine([&] {
        std::lock_guard blocco(m);
        finito = true;
        cambiato.notify_all();
    });
    errore = lettore->Suona(file);
    if (!errore.empty()) {
        err << "velmora-cli play: " << errore << "\n";
        return kNonRiuscito;
    }
    {
        std::unique_lock blocco(m);
        cambiato.wait(blocco, [&] { return finito; });
    }
    lettore->Ferma();
    return kRiuscito;
}

} // namespace velmora::cli
