#include "analisi_file.h"

#include "midi.h"
#include "testo.h"

#include <algorithm>
#include <limits>

namespace {

// The analysis counts in unsigned 32 bits, the catalogue in signed 32 bits.
std::int32_t Intero(std::uint32_t n) {
    return static_cast<std::int32_t>(
        std::min<std::uint32_t>(n, std::numeric_limits<std::int32_t>::max()));
}

// What the catalogue keeps of an analysis, and with testi what search needs.
AnalisiFile Risultati(const Midi& midi, bool testi = false) {
    AnalisiFile a;
    a.analizzato = true;
    a.durata = Intero(midi.DurataSecondi());
    a.lunghezza = Intero(midi.DimensioneFile());
    a.tempo = midi.TempoIniziale();
    a.bpm = Intero(midi.BattuteMedie());
    a.tracce = midi.TracceUsate();
    a.copyright = midi.TestoCopyright();
    a.tipo = midi.TipoMidi();
    a.testo = midi.TipoTesto();
    a.durataRiproduzione = Intero(midi.DurataRiproduzioneSecondi());
    a.titolo = midi.Titolo();
    a.autore = midi.Autore();
    a.lingua = midi.Lingua();
    a.hashByte = midi.HashByte();
    a.impronta = midi.ImprontaMusicale();
    if (testi && midi.Stato() == 0) {
        // Each name decoded on its own, as the report shows it.
        for (std::int32_t i = 0; i < midi.ContaTracce(); ++i) {
            const std::string nome = midi.NomeTraccia(i);
            if (!nome.empty()) {
                a.nomiTracce += velmora::DecodificaTesto(nome);
                a.nomiTracce += '\n';
            }
        }
        a.testoCompleto = velmora::DecodificaTesto(midi.TestoCompleto());
    }
    return a;
}

} // namespace

AnalisiFile AnalizzaFile(const std::string& percorsoFile) {
    Midi midi(percorsoFile);
    midi.Analizza();
    return Risultati(midi);
}

AnalisiFile AnalizzaFile(const velmora::CartellaAperta& cartella, const std::string& nome,
                         bool testi) {
    Midi midi(nome);
    midi.Analizza(velmora::LeggiInCartella(
        cartella, nome, static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())));
    return Risultati(midi, testi);
}

void AggiungiVoce(dati& catalogo, const std::string& directory, const std::string& nome,
                  const std::string& percorso, const AnalisiFile& a) {
    if (a.analizzato && a.durata == 0) {
        catalogo.ContaCorrotto();
    }
    catalogo.Aggiungi(directory, nome, percorso, a.durata, a.lunghezza, a.tempo, a.bpm, a.tracce,
                      a.copyright, a.tipo, a.testo);
    catalogo.Ultimo()->durataRiproduzione = a.durataRiproduzione;
    catalogo.Ultimo()->ImpostaIdentita(a.titolo, a.autore, a.lingua);
    catalogo.Ultimo()->hashByte = a.hashByte;
    catalogo.Ultimo()->impronta = a.impronta;
}
