// The byte hash and the musical fingerprint on byte-built files.
#include "costruttore_midi.h"
#include "impronta.h"
#include "midi.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace prova;

std::optional<std::uint64_t> Impronta(const Bytes& file) {
    Midi m("");
    m.Analizza(file);
    return m.ImprontaMusicale();
}

// A melody on channel 0 and a drum hit on channel 9, at division 96.
Bytes Formato1(std::uint16_t divisione = 96, std::uint32_t passo = 48) {
    return File(
        1, divisione,
        {Unisci({Meta(0, 0x03, "Conduttore"), Tempo(0, 500000), FineTraccia()}),
         Unisci({Meta(0, 0x03, "Melodia"), Evento(0, {0xC0, 5}), Evento(0, {0x90, 60, 100}),
                 Evento(passo, {0x80, 60, 0}), Evento(0, {0x90, 64, 90}),
                 Evento(passo, {0x90, 64, 0}), FineTraccia()}),
         Unisci({Evento(passo, {0x99, 36, 127}), Evento(1, {0x89, 36, 0}), FineTraccia()})});
}

TEST(Impronta, Hash64ComeXxh64) {
    EXPECT_EQ(velmora::Hash64({}), 0xEF46DB3751D8E999ull);
    const std::string abc = "abc";
    EXPECT_EQ(velmora::Hash64({reinterpret_cast<const std::uint8_t*>(abc.data()), 3}),
              0x44BC2CF5AD770999ull);
    // Long enough for the four lanes, with a tail of every length class.
    Bytes lunghi(1003);
    for (std::size_t i = 0; i < lunghi.size(); ++i) {
        lunghi[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    EXPECT_EQ(velmora::Hash64(lunghi), 0x778430D269B09BD7ull);
}

TEST(Impronta, IndipendenteDaComeLaMusicaESalvata) {
    const auto originale = Impronta(Formato1());
    ASSERT_TRUE(originale);
    // One track, running status, other channels, other names, no tempo, a copyright
    // and the division doubled with every delta doubled.
    const Bytes formato0 =
        File(0, 192,
             {Unisci({Meta(0, 0x02, "(C) altri"), Evento(0, {0x93, 60, 1}), Evento(96, {64, 7}),
                      Evento(0, {0x99, 36, 64}), Evento(0, {0x93, 60, 0}), Evento(0, {64, 0}),
                      Evento(0, {0x99, 36, 0}), FineTraccia()})});
    EXPECT_EQ(Impronta(formato0), originale);
    EXPECT_EQ(Impronta(Formato1(480, 240)), originale);
    // Ticks with no common divisor, and the same tripled.
    const auto primi = Impronta(Formato1(97, 47));
    EXPECT_EQ(primi, Impronta(Formato1(291, 141)));
    // Stored catalogues keep fingerprints: the values themselves must not change.
    EXPECT_EQ(originale, 0xD3BCBB0C6B388C91ull);
    EXPECT_EQ(primi, 0x936932041370A462ull);
}

TEST(Impronta, CambiaConLeNote) {
    const auto originale = Impronta(Formato1());
    // Half the time between the notes, or the drum hit on an ordinary channel.
    EXPECT_NE(Impronta(Formato1(96, 24)), originale);
    Bytes senzaBatteria = Formato1();
    const Bytes colpo{0x99, 36, 127};
    const auto it =
        std::search(senzaBatteria.begin(), senzaBatteria.end(), colpo.begin(), colpo.end());
    ASSERT_NE(it, senzaBatteria.end());
    *it = 0x98;
    EXPECT_NE(Impronta(senzaBatteria), originale);
    // One key changed.
    Bytes chiave = Formato1();
    const Bytes nota{0x90, 64, 90};
    *(std::search(chiave.begin(), chiave.end(), nota.begin(), nota.end()) + 1) = 65;
    EXPECT_NE(Impronta(chiave), originale);
}

TEST(Impronta, SenzaNoteOFileRovinatoNessunaImpronta) {
    // Note-ons of velocity 0 only.
    EXPECT_FALSE(Impronta(File(0, 96, {Unisci({Evento(0, {0x90, 60, 0}), FineTraccia()})})));
    Bytes tagliato = Formato1();
    tagliato.resize(tagliato.size() - 6);
    Midi m("");
    m.Analizza(tagliato);
    EXPECT_FALSE(m.ImprontaMusicale());
    EXPECT_TRUE(m.HashByte());
    // The byte hash is the hash of the whole file.
    EXPECT_EQ(m.HashByte(), velmora::Hash64(tagliato));
    Midi assente("/non/esiste.mid");
    assente.Analizza();
    EXPECT_FALSE(assente.HashByte());
}

TEST(Impronta, TickOltre32BitNonSiRipiega) {
    // Controller changes whose deltas add up to 2^32, then a note: counted in 32 bits its
    // tick would wrap to 0, the tick of the one note of the other file.
    Bytes eventi;
    for (int k = 0; k < 16; ++k) {
        eventi = Unisci({eventi, Evento(0x0FFFFFFF, {0xB0, 7, 100})});
    }
    const Bytes lontana = File(
        0, 96,
        {Unisci({eventi, Evento(16, {0xB0, 7, 100}), Evento(0, {0x90, 60, 100}), FineTraccia()})});
    const Bytes vicina = File(0, 96, {Unisci({Evento(0, {0x90, 60, 100}), FineTraccia()})});
    ASSERT_TRUE(Impronta(lontana));
    EXPECT_NE(Impronta(lontana), Impronta(vicina));
}

TEST(Impronta, NoteLontaneRidotteComeLeAltre) {
    const auto impronta = [](std::uint32_t divisione, std::initializer_list<std::uint64_t> tick) {
        velmora::RaccoltaNote r;
        velmora::RaccoltaNote::Penna penna = r.Riserva(0);
        for (const std::uint64_t t : tick) {
            r.Messaggio(penna, t, 0x90, 60, 100);
        }
        return r.Impronta(penna, divisione);
    };
    // From 2^48 ticks on the notes are kept apart, yet divided by the same common
    // divisor: the same music at twice the division keeps its fingerprint...
    constexpr std::uint64_t k56 = std::uint64_t{1} << 56;
    EXPECT_EQ(impronta(96, {k56, k56 + 96}), impronta(192, {2 * k56, 2 * k56 + 192}));
    // ...and a tick that stays beyond it is not taken for a near one.
    EXPECT_NE(impronta(96, {k56 / 2 + 1}), impronta(96, {1}));
}

} // namespace
