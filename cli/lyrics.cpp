// velmora-cli lyrics FILE [--lrc] [-o OUT]: the words of a song, as text or as timed
// LRC, on the same timeline the player plays.
#include "comandi.h"

#include "midi.h"
#include "parole.h"
#include "piattaforma.h"
#include "scrittura.h"
#include "sequenza.h"
#include "testo.h"

namespace velmora::cli {

namespace {

constexpr std::string_view kUso =
    "Uso: velmora-cli lyrics FILE [--lrc] [-o USCITA]\n"
    "Scrive le parole del file MIDI (file karaoke o con eventi di testo cantato), una riga\n"
    "per riga del canto, in UTF-8.\n"
    "\n"
    "  --lrc       in formato LRC: il tempo di ogni riga [mm:ss.cc] e di ogni sillaba\n"
    "              <mm:ss.cc>, con titolo [ti:] e autore [ar:] quando il file li dice\n"
    "  -o USCITA   il file da scrivere invece dello standard output; uno che c'è già è\n"
    "              sostituito solo da un file completo, e mai dal file MIDI stesso\n"
    "  --help      mostra questo aiuto\n"
    "\n"
    "Stato d'uscita: 0 se le parole sono state scritte, 1 se il file non si legge, non ha\n"
    "parole o l'uscita non si scrive, 2 per un errore d'uso.\n";

constexpr std::string_view kConValore[] = {"-o"};
constexpr std::string_view kSemplici[] = {"--lrc"};

} // namespace

int Lyrics(Argomenti argomenti, std::ostream& out, std::ostream& err) {
    if (ChiedeAiuto(argomenti, kConValore)) {
        out << kUso;
        return kRiuscito;
    }
    const ArgomentiFile a = LeggiArgomentiFile(argomenti, kConValore, kSemplici);
    if (!a.errore.empty()) {
        err << "velmora-cli lyrics: " << a.errore << " (vedi velmora-cli lyrics --help)\n";
        return kErroreUso;
    }
    const std::string& file = a.file;
    const auto o = a.opzioni.find("-o");
    const std::string uscita = o == a.opzioni.end() ? "" : o->second;
    const std::optional<IdentitaFile> ingresso = IdentitaDi(file);
    if (!uscita.empty() && ingresso && ingresso == IdentitaDi(uscita)) {
        err << "velmora-cli lyrics: \"" << uscita << "\" è il file MIDI stesso\n";
        return kErroreUso;
    }
    const std::optional<ContenutoFile> contenuto = LeggiFileRegolare(file, kByteSequenzaMassimi);
    if (!contenuto) {
        err << "velmora-cli lyrics: impossibile leggere il file \"" << file
            << "\": non esiste, non è un file regolare o supera i 64 MiB\n";
        return kNonRiuscito;
    }
    const std::span<const std::uint8_t> byte(contenuto->byte.get(), contenuto->dimensione);
    const Parole parole = ParoleDi(LeggiSequenza(byte));
    if (parole.empty()) {
        err << "velmora-cli lyrics: il file \"" << file << "\" non contiene parole\n";
        return kNonRiuscito;
    }
    std::string testo;
    if (a.opzioni.contains("--lrc")) {
        Midi midi(file);
        midi.Analizza(byte);
        testo = Lrc(parole, DecodificaTesto(midi.Titolo()), DecodificaTesto(midi.Autore()));
    } else {
        testo = TestoParole(parole);
    }
    if (uscita.empty()) {
        out << testo;
        return UscitaScritta(out, err, "lyrics") ? kRiuscito : kNonRiuscito;
    }
    if (const Esito esito = ScriviFile(uscita, testo); !esito) {
        err << "velmora-cli lyrics: " << esito.errore << "\n";
        return kNonRiuscito;
    }
    return kRiuscito;
}

} // namespace velmora::cli
