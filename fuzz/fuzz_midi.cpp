// Fuzz entry: analyses arbitrary bytes in memory and reads them as the player's
// timeline, through the one event walk, and checks that every result keeps its
// invariants. Memory faults and undefined behaviour are caught by the sanitizers.
#include "midi.h"
#include "parole.h"
#include "sequenza.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Verifica(bool condizione) {
    if (!condizione) {
        __builtin_trap();
    }
}

// The timeline: times are finite and never go back, and every message is one a
// synthesizer can take: a channel status, data bytes below 0x80, the second one 0 for
// the messages that have one data byte.
void VerificaSequenza(const velmora::Sequenza& s) {
    double prima = 0;
    for (const velmora::EventoMidi& e : s.eventi) {
        Verifica(e.secondi >= prima && std::isfinite(e.secondi));
        prima = e.secondi;
        Verifica(e.stato >= 0x80 && e.stato < 0xF0 && e.dato1 < 0x80 && e.dato2 < 0x80);
        const unsigned tipo = e.stato >> 4;
        Verifica((tipo != 0xC && tipo != 0xD) || e.dato2 == 0);
    }
    Verifica(s.durata == (s.eventi.empty() ? 0 : s.eventi.back().secondi));
}

// The words: lines with syllables, in time order, each found again at its own time.
void VerificaParole(const velmora::Sequenza& s) {
    const velmora::Parole parole = velmora::ParoleDi(s);
    double prima = 0;
    for (std::size_t r = 0; r < parole.size(); ++r) {
        Verifica(!parole[r].sillabe.empty() && !parole[r].Testo().empty());
        for (const velmora::Sillaba& x : parole[r].sillabe) {
            Verifica(x.secondi >= prima && std::isfinite(x.secondi) && !x.testo.empty());
            prima = x.secondi;
        }
        Verifica(velmora::PuntoA(parole, parole[r].Secondi()).riga >= static_cast<int>(r));
    }
    Verifica(velmora::Lrc(parole, "t", "a").size() >= velmora::TestoParole(parole).size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    const velmora::Sequenza sequenza =
        velmora::LeggiSequenza(std::span<const std::uint8_t>(dati, dimensione));
    VerificaSequenza(sequenza);
    VerificaParole(sequenza);
    Midi m("fuzz.mid");
    m.Analizza(std::span<const std::uint8_t>(dati, dimensione));
    const std::uint32_t stato = m.Stato();
    Verifica(stato <= 2);
    if (stato != 0) {
        const std::string segno = stato == 1 ? "?" : "-";
        Verifica(m.DurataSecondi() == 0 && m.DimensioneFile() == 0 && m.BattuteMedie() == 0);
        Verifica(m.ContaTracce() == 0 && m.TracceUsate() == 0);
        Verifica(m.TempoIniziale() == segno + "/" + segno && m.TipoMidi() == segno);
        Verifica(m.TipoTesto() == segno && m.TestoCopyright() == segno);
        Verifica(m.TestoCompleto() == "?");
        Verifica(m.Titolo().empty() && m.Autore().empty() && m.DurataRiproduzioneSecondi() == 0);
        return 0;
    }
    Verifica(m.DimensioneFile() == dimensione);
    Verifica(m.DurataSecondi() <= 2147483647u && m.BattuteMedie() <= 2147483647u);
    Verifica(m.TipoMidi() == "0" || m.TipoMidi() == "1" || m.TipoMidi() == "2");
    Verifica(m.ContaTracce() >= 0 && m.TracceUsate() <= m.ContaTracce());
    // Texts are taken from the file, or doubled at most by the line ends added to them.
    Verifica(m.TestoCompleto().size() <= 2 * dimensione + 2);
    Verifica(m.Titolo().size() <= dimensione && m.Autore().size() <= dimensione);
    for (std::int32_t i = 0; i < m.ContaTracce(); ++i) {
        Verifica(m.TracciaAttiva(i) == 1 || m.TracciaAttiva(i) == 255);
        Verifica(!m.Strumento(i).empty());
        Verifica(m.NomeTraccia(i).size() <= dimensione);
    }
    return 0;
}
