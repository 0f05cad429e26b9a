// Results of a whole analysis and the per-row descriptions.
#include "aiuti.h"

#include <gtest/gtest.h>

using namespace prova;

TEST(Risultati, FileDi38Byte) {
    const Midi m = Analizzato(kFile38);
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.DurataSecondi(), 2u);
    EXPECT_EQ(m.DimensioneFile(), 38u);
    EXPECT_EQ(m.TempoIniziale(), "4/4");
    EXPECT_EQ(m.BattuteMedie(), 120u);
    EXPECT_EQ(m.ContaTracce(), 17);
    EXPECT_EQ(m.TracceUsate(), 1);
    EXPECT_EQ(m.TipoMidi(), "0");
    EXPECT_EQ(m.TipoTesto(), "");
    EXPECT_EQ(m.TestoCopyright(), "");
    EXPECT_EQ(m.TestoCompleto(), "");
    for (std::int32_t i = 0; i < 17; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.Strumento(i), i == 1 ? "EPiano2" : "(traccia non attiva)");
        EXPECT_EQ(m.TracciaAttiva(i), i == 1 ? 1 : 255);
    }
}

TEST(Risultati, UnTempoSolo) {
    const Midi m =
        Analizzato(File(1, 480, {Unisci({Tempo(0, 500000), Nota(0, 3840), FineTraccia()})}));
    EXPECT_EQ(m.DurataSecondi(), 4u);
    EXPECT_EQ(m.BattuteMedie(), 120u);
    EXPECT_EQ(m.TipoMidi(), "1");
}

TEST(Risultati, Formato1TracceUsate) {
    const Bytes conNote = Unisci({Nota(0, 480), FineTraccia()});
    const Midi m = Analizzato(File(
        1, 480,
        {conNote, conNote, Unisci({Meta(0, 0x03, "Vuota"), FineTraccia()}), conNote, conNote}));
    EXPECT_EQ(m.ContaTracce(), 5);
    EXPECT_EQ(m.TracceUsate(), 4);
}

TEST(Righe, DescrizioniFormato1) {
    const Midi m = Analizzato(
        File(1, 480,
             {Unisci({Evento(0, {0xC0, 0}), Nota(0, 960), FineTraccia()}),
              Unisci({Evento(0, {0xC9, 24}), FineTraccia()}), Unisci({Nota(0, 960), FineTraccia()}),
              Unisci({Meta(0, 0x03, "Solo meta"), FineTraccia()})}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.Strumento(0), "PianoGrd");
    EXPECT_EQ(m.Strumento(1), "Drum");
    EXPECT_EQ(m.Strumento(2), "(traccia non attiva)");
    EXPECT_EQ(m.TracciaAttiva(2), 1);
    EXPECT_EQ(m.Strumento(3), "(traccia non attiva)");
    EXPECT_EQ(m.TracciaAttiva(3), 255);
    EXPECT_EQ(m.NomeTraccia(3), "Solo meta");
    EXPECT_EQ(m.NomeTraccia(0), "");
}

TEST(Righe, Formato0IlNomeValePerTutteLeRighe) {
    const Midi m = Analizzato(File(0, 480, {Unisci({Meta(0, 0x03, "Song"), Nota(0, 960, 9)})}));
    ASSERT_EQ(m.Stato(), 0u);
    for (std::int32_t i = 0; i < 17; ++i) {
        EXPECT_EQ(m.NomeTraccia(i), "Song");
    }
    // Notes on channel 9 without a program change: not "Drum".
    EXPECT_EQ(m.Strumento(10), "(traccia non attiva)");
    EXPECT_EQ(m.TracciaAttiva(10), 1);
}

TEST(Righe, RigheFuoriIntervalloSonoVuote) {
    const Midi m = Analizzato(File(1, 480, {Unisci({Evento(0, {0xC0, 3}), Nota(0, 960)})}));
    for (std::int32_t i : {-1, 1, 17, 100000}) {
        EXPECT_EQ(m.NomeTraccia(i), "");
        EXPECT_EQ(m.TracciaAttiva(i), 255);
        EXPECT_EQ(m.Strumento(i), "(traccia non attiva)");
    }
}
