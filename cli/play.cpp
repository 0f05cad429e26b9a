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

constexpr std::string_view kConValore[] = {"--soundfont"};

} // namespace

int Play(Argomenti argomenti, std::ostream& out, std::ostream& err) {
    if (ChiedeAiuto(argomenti, kConValore)) {
        out << kUso;
        return kRiuscito;
    }
    const ArgomentiFile a = LeggiArgomentiFile(argomenti, kConValore, {});
    if (!a.errore.empty()) {
        err << "velmora-cli play: " << a.errore << " (vedi velmora-cli play --help)\n";
        return kErroreUso;
    }
    const auto font = a.opzioni.find("--soundfont");
    const std::string soundFont = font == a.opzioni.end() ? "" : font->second;
    std::mutex m;
    std::condition_variable cambiato;
    bool finito = false;
    const std::unique_ptr<Lettore> lettore = CreaLettore(soundFont);
    lettore->AlTermine([&] {
        std::lock_guard blocco(m);
        finito = true;
        cambiato.notify_all();
    });
    const std::string errore = lettore->Suona(a.file);
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
