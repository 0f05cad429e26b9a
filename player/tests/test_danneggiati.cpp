// Damaged files through both readers of the one event walk, the analysis and the
// player, each fixture named after the fault it reproduces, with both results pinned
// on purpose; and thousands of mutated files whose results are pinned as one digest.
#include "costruttore_midi.h"
#include "impronta.h"
#include "midi.h"
#include "sequenza.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

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

// splitmix64: the same mutations on every run and machine.
struct Generatore {
    std::uint64_t stato;
    std::uint64_t operator()() {
        std::uint64_t z = (stato += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Fino(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>((*this)() % n); }
};

// One to three mutations: bytes changed, inserted, removed, copied, the file cut short.
Bytes Muta(Bytes b, Generatore& g) {
    static constexpr std::uint8_t kNotevoli[] = {0x00, 0x01, 0x03, 0x05, 0x2F, 0x40,
                                                 0x51, 0x58, 0x7F, 0x80, 0x81, 0x90,
                                                 0xC0, 0xF0, 0xF5, 0xF7, 0xFF, 0x4D};
    const std::size_t volte = 1 + g.Fino(3);
    for (std::size_t v = 0; v < volte && !b.empty(); ++v) {
        const std::size_t i = g.Fino(b.size());
        switch (g.Fino(7)) {
        case 0:
            b[i] = static_cast<std::uint8_t>(g());
            break;
        case 1:
            b[i] = kNotevoli[g.Fino(std::size(kNotevoli))];
            break;
        case 2:
            for (std::size_t k = 1 + g.Fino(8); k > 0; --k) {
                b.insert(b.begin() + static_cast<std::ptrdiff_t>(i),
                         static_cast<std::uint8_t>(g()));
            }
            break;
        case 3:
            b.erase(b.begin() + static_cast<std::ptrdiff_t>(i),
                    b.begin() +
                        static_cast<std::ptrdiff_t>(std::min(b.size(), i + 1 + g.Fino(16))));
            break;
        case 4:
            b.resize(i);
            break;
        case 5: {
            const std::size_t da = g.Fino(b.size());
            const std::size_t n = std::min({b.size() - da, b.size() - i, 1 + g.Fino(24)});
            std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(da), n,
                        b.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
        default: {
            // A chunk length or a delta made large.
            const std::size_t n = std::min<std::size_t>(b.size() - i, 4);
            for (std::size_t k = 0; k < n; ++k) {
                b[i + k] = static_cast<std::uint8_t>(0x80 | g());
            }
            break;
        }
        }
    }
    return b;
}

// Files that hold every kind of event: deltas of one to four bytes, running status,
// texts, karaoke, system-exclusive messages the analysis reads, format 2, odd statuses,
// a chunk ended early by the next one, a chunk of no bytes, one longer than the file.
std::vector<Bytes> Semi() {
    const Bytes nota = Unisci({Evento(0, {0x90, 60, 100}), Evento(480, {0x80, 60, 0})});
    std::vector<Bytes> semi = {
        File(0, 480,
             {Unisci({Evento(0, {0xC0, 5}), nota, Evento(200, {0xE0, 0, 64}), Evento(0, {0xD0, 9}),
                      Evento(0x3FFF, {0xB0, 7, 100}), Evento(0x1FFFFF, {0x90, 61, 90}),
                      Evento(0x0FFFFFFF, {61, 0}), FineTraccia()})}),
        File(1, 96,
             {Unisci({Meta(0, 0x03, "Conduttore"), Tempo(0, 400000), Metrica(0, 6, 3),
                      Metrica(0, 3, 2), Tempo(96, 250000), Meta(0, 0x02, "(C) qualcuno"),
                      Meta(0, 0x7F, "xyz"), FineTraccia()}),
              Unisci({Meta(0, 0x03, "Melodia"), Evento(0, {0xC1, 40}), Evento(0, {0x91, 60, 100}),
                      Evento(48, {62, 90}), Evento(48, {0x81, 60, 0}), Evento(0, {62, 0}),
                      FineTraccia()}),
              Unisci({Evento(0, {0x99, 36, 127}), Evento(96, {0x89, 36, 0}), FineTraccia()})}),
        File(1, 120,
             {Unisci({Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, "@TTitolo"),
                      Meta(0, 0x01, "\\Hel"), Meta(0, 0x01, "lo"), Meta(0, 0x01, "/World"),
                      Meta(0, 0x05, "\rLa"), Meta(0, 0x01, "@"), Meta(0, 0x01, "@X"),
                      Meta(0, 0x01, std::string(200, 'a')), nota, FineTraccia()})}),
        File(0, 96,
             {Unisci({Sysex(0, 12,
                            {0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x00, 'N', 'o', 'm', 0x11, 0xF7}),
                      Sysex(0, 10, {0x00, 0x20, 0x24, 0x00, 0x05, 'C', 'i', 'a', 'o', '\n', 0xF7}),
                      Sysex(0, 9, {0x00, 0x20, 0x24, 0x00, 0x05, 'C', 'H', '1', 'x', 0xF7}),
                      Sysex(0, 3, {0x7E, 0x7F, 0xF7}), nota, FineTraccia()})}),
        File(2, 96,
             {Unisci({Evento(0, {0xC0, 5}), nota, FineTraccia()}),
              Unisci({nota, Tempo(0, 300000), nota, FineTraccia()})}),
        File(1, 96,
             {Unisci({Evento(0, {0x05}), Evento(0, {0xF7, 0x10}), Evento(0, {0xF5, 0x11}),
                      Evento(0, {0x12}), nota, Evento(0, {0xF3, 1}), nota, FineTraccia()})}),
    };
    // The next chunk begins inside the first chunk's declared length.
    const Bytes eventi = Unisci({nota, FineTraccia()});
    semi.push_back(Unisci({Intestazione(1, 2, 480), Testo("MTrk"),
                           BigEndian(static_cast<std::uint32_t>(eventi.size() + 8), 4), eventi,
                           Traccia(Unisci({Meta(0, 0x03, "Basso"), nota, FineTraccia()}))}));
    // A chunk of 0 bytes, then one that declares more than the file holds.
    semi.push_back(Unisci({Intestazione(1, 3, 480), Testo("MTrk"), BigEndian(0, 4),
                           Evento(0, {0xC0, 56}), Traccia(Unisci({nota, FineTraccia()})),
                           Testo("MTrk"), BigEndian(0xFFFF, 4), nota}));
    return semi;
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
    EXPECT_EQ(digest(player), 12693281137877724606u);
}
