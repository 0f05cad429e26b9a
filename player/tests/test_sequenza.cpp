#include "sequenza.h"

#include "costruttore_midi.h"
#include "midi.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

using namespace prova;
using velmora::LeggiSequenza;

namespace {

// Note on and off of middle C on channel 0, with the given deltas.
Bytes Nota(std::uint32_t delta, std::uint32_t durata) {
    return Unisci({Evento(delta, {0x90, 60, 100}), Evento(durata, {0x80, 60, 0})});
}

} // namespace

TEST(Sequenza, TempoMapOfTrackZeroTimesEveryTrackAndRunningStatusHolds) {
    const Bytes file =
        File(1, 480,
             {Unisci({Tempo(0, 500000), Tempo(480, 250000), FineTraccia()}),
              Unisci({Evento(0, {0x90, 60, 100}), Evento(480, {62, 100}), Evento(480, {0xC1, 5}),
                      Evento(480, {0x80, 60, 0}), FineTraccia()})});
    const velmora::Sequenza s = LeggiSequenza(file);
    ASSERT_EQ(s.eventi.size(), 4u);
    EXPECT_DOUBLE_EQ(s.eventi[0].secondi, 0.0);
    EXPECT_DOUBLE_EQ(s.eventi[1].secondi, 0.5);
    EXPECT_EQ(s.eventi[1].stato, 0x90); // running status
    EXPECT_EQ(s.eventi[1].dato1, 62);
    EXPECT_DOUBLE_EQ(s.eventi[2].secondi, 0.75); // after the tempo doubled
    EXPECT_EQ(s.eventi[2].stato, 0xC1);
    EXPECT_EQ(s.eventi[2].dato2, 0);
    EXPECT_DOUBLE_EQ(s.durata, 1.0);
    EXPECT_FALSE(s.danneggiata);
}

TEST(Sequenza, Format2PlaysSongsInTurnAndSmpteDivisionCountsFrames) {
    const velmora::Sequenza f2 = LeggiSequenza(File(
        2, 480, {Unisci({Nota(0, 480), FineTraccia()}), Unisci({Nota(0, 480), FineTraccia()})}));
    ASSERT_EQ(f2.eventi.size(), 4u);
    EXPECT_DOUBLE_EQ(f2.eventi[2].secondi, 0.5);
    EXPECT_DOUBLE_EQ(f2.durata, 1.0);
    // 25 frames of 40 ticks: 1000 ticks a second, whatever the tempo events say.
    const velmora::Sequenza smpte =
        LeggiSequenza(File(0, 0xE728, {Unisci({Tempo(0, 250000), Nota(0, 1500), FineTraccia()})}));
    EXPECT_DOUBLE_EQ(smpte.durata, 1.5);
}

TEST(Sequenza, DamagedFilesKeepWhatWasReadBeforeTheFault) {
    Bytes tagliato = File(0, 480, {Unisci({Nota(0, 480), Nota(0, 480), FineTraccia()})});
    tagliato.resize(tagliato.size() - 6);
    velmora::Sequenza s = LeggiSequenza(tagliato);
    EXPECT_TRUE(s.danneggiata);
    EXPECT_EQ(s.eventi.size(), 3u);

    s = LeggiSequenza(File(0, 480, {Unisci({Evento(0, {60, 0}), Nota(0, 10)})}));
    EXPECT_TRUE(s.eventi.empty()) << "a data byte with no status before it";
    // Many files lean on the running status across a meta event: it is kept.
    s = LeggiSequenza(File(
        0, 480, {Unisci({Nota(0, 480), Meta(0, 0x01, "x"), Evento(0, {62, 0}), FineTraccia()})}));
    EXPECT_EQ(s.eventi.size(), 3u);
    EXPECT_FALSE(s.danneggiata);

    s = LeggiSequenza(File(0, 480, {Unisci({Nota(0, 480), Evento(0, {0xF3, 1}), Nota(0, 1)})}));
    EXPECT_TRUE(s.danneggiata);
    EXPECT_EQ(s.eventi.size(), 2u);

    // Length alone damages nothing: a note weeks away is kept where it is (a render
    // bounds its own work).
    s = LeggiSequenza(File(0, 1, {Unisci({Nota(0, 10), Nota(0x0FFFFFFF, 1), FineTraccia()})}));
    EXPECT_FALSE(s.danneggiata);
    ASSERT_EQ(s.eventi.size(), 4u);
    EXPECT_DOUBLE_EQ(s.durata, (10.0 + 0x0FFFFFFF + 1) / 2);

    for (const Bytes& vuoto : {Bytes{}, Testo("RIFF0000RMID"), File(0, 0, {Nota(0, 10)}),
                               File(0, 0xE700, {Nota(0, 10)})}) {
        s = LeggiSequenza(vuoto);
        EXPECT_TRUE(s.eventi.empty());
        EXPECT_TRUE(s.danneggiata);
    }
}

TEST(Sequenza, LoadingExplainsWhyNothingCanPlay) {
    velmora::Sequenza s;
    std::string errore;
    EXPECT_FALSE(velmora::CaricaSequenza("/nessuna/cartella/x.mid", s, errore));
    EXPECT_NE(errore.find("Impossibile leggere"), std::string::npos) << errore;
}

// The analysis gives the player's duration in the same pass as its own: every track's
// tempo events, up to the last channel message of any track, songs of format 2 in turn.
TEST(Sequenza, LAnalisiDaLaDurataDelPlayer) {
    const auto durate = [](const Bytes& file) {
        Midi m("m.mid");
        m.Analizza(file);
        const double player = LeggiSequenza(file).durata;
        EXPECT_EQ(m.DurataRiproduzioneSecondi(), static_cast<std::uint32_t>(player));
        return std::pair{m.DurataSecondi(), player};
    };
    // The tempo event of the second track counts for the player only; a controller
    // after the last note too. 0.5 s + 1440 ticks at 1 s a quarter + 480 more.
    const auto [analisi, player] =
        durate(File(1, 480,
                    {FineTraccia(),
                     Unisci({Evento(0, {0x90, 60, 100}), Tempo(480, 1000000), Evento(1440, {60, 0}),
                             Evento(480, {0xB0, 7, 90}), FineTraccia()})}));
    EXPECT_EQ(analisi, 2u);
    EXPECT_DOUBLE_EQ(player, 4.5);
    // Format 2: the second song starts where the first ended.
    EXPECT_DOUBLE_EQ(durate(File(2, 96,
                                 {Unisci({Nota(0, 192), FineTraccia(96)}),
                                  Unisci({Tempo(0, 1000000), Nota(0, 96), FineTraccia()})}))
                         .second,
                     1.5 + 1);
    durate(File(1, 0xE728, {Unisci({Nota(0, 4000), FineTraccia()})})); // SMPTE, 25 fps x 40

    const std::filesystem::path corpus(VELMORA_CORPUS);
    if (!std::filesystem::is_directory(corpus)) {
        GTEST_SKIP() << "corpus assente: " << corpus;
    }
    for (const auto& voce : std::filesystem::recursive_directory_iterator(corpus)) {
        // Damaged files are read differently by the two (chunk types, header lengths).
        if (!voce.is_regular_file() || voce.path().parent_path().filename() == "broken") {
            continue;
        }
        std::ifstream f(voce.path(), std::ios::binary);
        const Bytes file((std::istreambuf_iterator<char>(f)), {});
        Midi m("m.mid");
        m.Analizza(file);
        const velmora::Sequenza s = LeggiSequenza(file);
        if (m.Stato() == 0) {
            EXPECT_FALSE(s.danneggiata) << voce.path();
            EXPECT_EQ(m.DurataRiproduzioneSecondi(), static_cast<std::uint32_t>(s.durata))
                << voce.path();
        }
    }
}
