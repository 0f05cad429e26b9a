// Damaged files through both readers of the one event walk, the analysis and the
// player, each fixture named after the fault it reproduces, with both results pinned
// on purpose; and thousands of mutated files whose results are pinned as one digest.
#include "costruttore_midi.h"
#include "impronta.h"
#include "midi.h"
#include "mutazioni.h"
#include "sequenza.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

using namespace prova;

namespace {

std::string Analisi(const Bytes& file) {
    Midi m("danneggiato.mid");
    m.Analizza(file);
    return std::to_string(m.Stato()) + " " + std::to_string(m.DurataSecondi()) + "s usate " +
           std::to_string(m.TracceUsate()) + (m.ImprontaMusicale() ? " impronta" : "");
}

std::string Player(const Bytes& file) {
    const velmora::Sequenza s = velmora::LeggiSequenza(file);
    std::string r = s.danneggiata ? "danneggiata" : "intera";
    char evento[32];
    for (const velmora::EventoMidi& e : s.eventi) {
        std::snprintf(evento, sizeof evento, " %02X%02X%02X@%g", e.stato, e.dato1, e.dato2,
                      e.secondi);
        r += evento;
    }
    return r;
}

// One chunk of the given events, its length as long as they are.
Bytes UnaTraccia(const Bytes& eventi) {
    return Unisci({Intestazione(0, 1, 480), Traccia(eventi)});
}

struct Fixture {
    const char* nome;
    Bytes file;
    const char* analisi;
    const char* player;
};

} // namespace

TEST(Danneggiati, AnalisiEPlayerSuOgniGuasto) {
    const Bytes nota = Unisci({Evento(0, {0x90, 60, 100}), Evento(960, {0x80, 60, 0})});
    const Fixture casi[] = {
        {"traccia_troncata_nel_delta", UnaTraccia(Unisci({Evento(0, {0x90, 60, 100}), {0x83}})),
         "1 0s usate 0", "danneggiata 903C64@0"},
        {"sysex_lunghezza_impossibile",
         UnaTraccia(Unisci({Sysex(0, 0x0FFFFFFF, {0x7E, 0xF7}), nota, FineTraccia()})),
         "0 1s usate 1 impronta", "danneggiata"},
        {"dato_oltre_0x80_in_nota",
         UnaTraccia(
             Unisci({Evento(0, {0x90, 60, 0xCC}), Evento(960, {0x80, 0xBC, 0}), FineTraccia()})),
         "0 1s usate 1 impronta", "intera 903C4C@0 803C00@1"},
        {"meta_lunghezza_oltre_il_chunk",
         UnaTraccia(Unisci({nota, {0x00, 0xFF, 0x01, 0x81, 0x48}})), "1 0s usate 0",
         "danneggiata 903C64@0 803C00@1"},
        {"fine_traccia_senza_lunghezza", UnaTraccia(Unisci({nota, {0x00, 0xFF, 0x2F}})),
         "1 0s usate 0", "danneggiata 903C64@0 803C00@1"},
        {"stato_di_sistema_in_traccia",
         UnaTraccia(Unisci({nota, Evento(0, {0xF3, 1}), nota, FineTraccia()})),
         "0 2s usate 1 impronta", "danneggiata 903C64@0 803C00@1"},
        {"dato_senza_status", UnaTraccia(Unisci({Evento(0, {60, 100}), nota, FineTraccia()})),
         "0 3s usate 1", "danneggiata"},
        {"nota_troncata_prima_della_velocita", UnaTraccia({0x00, 0x90, 60}), "0 0s usate 1",
         "danneggiata"},
        {"delta_di_cinque_byte",
         UnaTraccia(Unisci({nota, {0x81, 0x80, 0x80, 0x80, 0x00}, nota, FineTraccia()})),
         "0 2187s usate 1 impronta", "danneggiata 903C64@0 803C00@1"},
    };
    for (const Fixture& f : casi) {
        SCOPED_TRACE(f.nome);
        EXPECT_EQ(Analisi(f.file), f.analisi);
        EXPECT_EQ(Player(f.file), f.player);
    }
}

TEST(Danneggiati, MutazioniConRisultatiFissati) {
    // Every result of both readers over the same deterministic mutations, hashed: any
    // change in what either reader makes of damaged files changes the digest.
    std::string analisi;
    std::string player;
    const std::vector<Bytes> semi = Semi();
    for (std::size_t s = 0; s < semi.size(); ++s) {
        Generatore g{s};
        for (int k = 0; k < 400; ++k) {
            const Bytes file = Muta(semi[s], g);
            Midi m("mutato.mid");
            m.Analizza(file);
            analisi += std::to_string(m.Stato()) + m.TipoTesto() + m.TestoCopyright() +
                       m.TestoCompleto() + m.TempoIniziale() + std::to_string(m.DurataSecondi()) +
                       std::to_string(m.BattuteMedie()) + std::to_string(m.TracceUsate()) +
                       std::to_string(m.ImprontaMusicale().value_or(0));
            for (std::int32_t i = 0; i < m.ContaTracce(); ++i) {
                analisi += m.NomeTraccia(i) + m.Strumento(i);
            }
            const velmora::Sequenza q = velmora::LeggiSequenza(file);
            player += std::to_string(q.danneggiata);
            for (const velmora::EventoMidi& e : q.eventi) {
                char evento[16];
                std::memcpy(evento, &e.secondi, 8);
                evento[8] = static_cast<char>(e.stato);
                evento[9] = static_cast<char>(e.dato1);
                evento[10] = static_cast<char>(e.dato2);
                player.append(evento, 11);
            }
        }
    }
    const auto digest = [](const std::string& s) {
        return velmora::Hash64({reinterpret_cast<const std::uint8_t*>(s.data()), s.size()});
    };
    EXPECT_EQ(digest(analisi), 16819746127205284770u);
    EXPECT_EQ(digest(player), 9855184906093336165u);
}
