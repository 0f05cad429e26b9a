// The walk over the track chunks: rows, running status, chunk ends, tempo map and duration.
#include "aiuti.h"

#include <gtest/gtest.h>

using namespace prova;

TEST(Righe, Formato0RegistraProgrammiSuiCanali) {
    const Midi m = Analizzato(File(
        0, 480,
        {Unisci({Evento(0, {0xC0, 24}), Evento(0, {0xC9, 40}), Nota(0, 480, 9), FineTraccia()})}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.Strumento(1), "Nylon Guitar");
    EXPECT_EQ(m.Strumento(10), "Drum");
    EXPECT_EQ(m.TracciaAttiva(10), 1);
    EXPECT_EQ(m.TracciaAttiva(1), 255);
    EXPECT_EQ(m.TracciaAttiva(0), 255);
    EXPECT_EQ(m.Strumento(0), "(traccia non attiva)");
    EXPECT_EQ(m.TracceUsate(), 1);
}

TEST(Righe, NoteOnVelocitaZeroENoteOffSpostanoLUltimaNota) {
    // Note-on at 0, note-on with velocity 0 at 960 (2 quarters), note-off at 1920.
    const Bytes conVelocitaZero =
        Unisci({Evento(0, {0x90, 60, 100}), Evento(960, {0x90, 60, 0}), FineTraccia()});
    const Bytes conNoteOff = Unisci({Evento(1920, {0x80, 60, 0}), FineTraccia()});
    const Midi a = Analizzato(File(1, 480, {conVelocitaZero}));
    EXPECT_EQ(a.DurataSecondi(), 1u);
    EXPECT_EQ(a.TracciaAttiva(0), 1);
    const Midi b = Analizzato(File(1, 480, {conNoteOff}));
    EXPECT_EQ(b.DurataSecondi(), 2u);
    EXPECT_EQ(b.TracciaAttiva(0), 1);
}

TEST(Righe, RunningStatusAttraversaMetaESysex) {
    // Program change on channel 3, then a meta and a sysex event, then a data byte alone:
    // it takes the program change's status, so it is a second program change (ignored),
    // and the note-on after it is read in full.
    const Midi m =
        Analizzato(File(0, 480,
                        {Unisci({Evento(0, {0xC3, 10}), Meta(0, 0x7F, "xyz"),
                                 Sysex(0, 2, {0x01, 0xF7}), Evento(0, {33}),
                                 Evento(0, {0x93, 60, 1}), Evento(960, {61, 0}), FineTraccia()})}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.Strumento(4), "MusicBox");
    EXPECT_EQ(m.TracciaAttiva(4), 1);
    EXPECT_EQ(m.DurataSecondi(), 1u);
    EXPECT_EQ(m.TracceUsate(), 1);
}

TEST(Righe, DatoSenzaStatusEStatusDiSistemaHannoUnByte) {
    // A data byte before any status (status 0), then F7 and F5 as one-data-byte messages,
    // then a running-status data byte of F5: the chunk is walked to its end-of-track.
    const Midi m = Analizzato(
        File(1, 480,
             {Unisci({Evento(0, {0x05}), Evento(0, {0xF7, 0x10}), Evento(0, {0xF5, 0x11}),
                      Evento(0, {0x12}), Nota(0, 960), FineTraccia()})}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.DurataSecondi(), 1u);
    EXPECT_EQ(m.Strumento(0), "(traccia non attiva)");
}

TEST(Righe, SoloIlPrimoCambioDiProgrammaConta) {
    const Midi m = Analizzato(
        File(1, 480, {Unisci({Evento(0, {0xC0, 40}), Evento(0, {0xC0, 0}), FineTraccia()})}));
    EXPECT_EQ(m.Strumento(0), "Violin");
    EXPECT_EQ(m.TracciaAttiva(0), 255);
}

TEST(Righe, Formato2NonRegistraEDuraZero) {
    const Midi m =
        Analizzato(File(2, 480, {Unisci({Evento(0, {0xC0, 5}), Nota(0, 1920), FineTraccia()})}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.DurataSecondi(), 0u);
    EXPECT_EQ(m.Strumento(0), "(traccia non attiva)");
    EXPECT_EQ(m.TracciaAttiva(0), 255);
    EXPECT_EQ(m.TipoMidi(), "2");
}

TEST(Righe, Formato0ConPiuTracceDichiarate) {
    // Two chunks declared in a format-0 file: still 17 rows, channel rows stay in range.
    const Midi m =
        Analizzato(File(0, 480,
                        {Unisci({Meta(0, 0x03, "Uno"), Nota(0, 960, 15), FineTraccia()}),
                         Unisci({Meta(0, 0x03, "Due"), Nota(0, 960, 2), FineTraccia()})}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.ContaTracce(), 17);
    EXPECT_EQ(m.TracciaAttiva(16), 1);
    EXPECT_EQ(m.TracciaAttiva(3), 1);
    EXPECT_EQ(m.TracceUsate(), 2);
    EXPECT_EQ(m.NomeTraccia(5), "Uno");
}

TEST(Chunk, FineTracciaSeguitaDaMTrkChiudeIlChunk) {
    // The first chunk declares 8 bytes more than its events: the next chunk's header.
    const Bytes eventi1 = Unisci({Nota(0, 480), FineTraccia()});
    const Bytes chunk2 = Traccia(Unisci({Meta(0, 0x03, "Basso"), Nota(0, 1920), FineTraccia()}));
    const Bytes b =
        Unisci({Intestazione(1, 2, 480), Testo("MTrk"),
                BigEndian(static_cast<std::uint32_t>(eventi1.size() + 8), 4), eventi1, chunk2});
    const Midi m = Analizzato(b);
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.NomeTraccia(1), "Basso");
    EXPECT_EQ(m.TracceUsate(), 2);
    EXPECT_EQ(m.DurataSecondi(), 2u);
}

TEST(Chunk, SguardoAvantiOltreLaFineNonCorrisponde) {
    // After the end-of-track only "MTr" is left: the look-ahead does not match, so those
    // bytes are walked as an event: delta 0x4D, then a note-off in running status.
    const Bytes eventi = Unisci({Evento(0, {0x80, 60, 0}), FineTraccia(), Testo("MTr")});
    const Midi m = Analizzato(File(1, 48, {eventi}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.TracciaAttiva(0), 1);
    EXPECT_EQ(m.DurataSecondi(), 0u); // 77 ticks at 48 per quarter: 0.8 seconds
    const Midi lungo = Analizzato(File(1, 24, {eventi}));
    EXPECT_EQ(lungo.DurataSecondi(), 1u); // 77 ticks at 24 per quarter: 1.6 seconds
}

TEST(Chunk, DopoLaFineTracciaSiContinuaDentroIlChunk) {
    // Events after an end-of-track that do not begin "MTrk" are walked.
    const Midi m =
        Analizzato(File(1, 480, {Unisci({FineTraccia(), Evento(0, {0xC0, 73}), Nota(0, 960)})}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.Strumento(0), "Flute");
    EXPECT_EQ(m.DurataSecondi(), 1u);
}

TEST(Chunk, ChunkDiZeroByteLeggeComunqueUnEvento) {
    const Bytes b =
        Unisci({Intestazione(1, 1, 480), Testo("MTrk"), BigEndian(0, 4), Evento(0, {0xC0, 56})});
    const Midi m = Analizzato(b);
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.Strumento(0), "Trumpet");
}

TEST(Chunk, TipoDelChunkNonControllato) {
    Bytes b = File(1, 480, {Unisci({Nota(0, 960), FineTraccia()})});
    b[14] = 'X';
    EXPECT_EQ(Analizzato(b).DurataSecondi(), 1u);
}

TEST(Chunk, LunghezzaOltreLaFineTagliata) {
    // The chunk declares far more than the file has: its events are walked to the end.
    const Bytes eventi = Unisci({Nota(0, 960), FineTraccia()});
    const Bytes b =
        Unisci({Intestazione(1, 1, 480), Testo("MTrk"), BigEndian(0xFFFFFFFF, 4), eventi});
    const Midi m = Analizzato(b);
    EXPECT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.DurataSecondi(), 1u);
}

TEST(Chunk, TroppeTracceDichiarateFalliscono) {
    Bytes b = File(1, 480, {Unisci({Nota(0, 960), FineTraccia()})});
    b[10] = b[11] = 0xFF; // 65535 chunks declared, one present
    EXPECT_EQ(Analizzato(b).Stato(), 1u);
}

TEST(Durata, MappaDeiTempiDelPrimoChunk) {
    // Tempo changes (0, 500000) and (1920, 250000), latest note at 3840: 2000 + 1000 ms.
    const Midi m = Analizzato(File(1, 480,
                                   {Unisci({Tempo(0, 500000), Tempo(1920, 250000), FineTraccia()}),
                                    Unisci({Nota(0, 3840), FineTraccia()})}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.DurataSecondi(), 3u);
    EXPECT_EQ(m.BattuteMedie(), 160u);
}

TEST(Durata, TempiDopoLUltimaNotaIgnorati) {
    const Midi m = Analizzato(File(
        1, 480, {Unisci({Nota(0, 1920), Tempo(0, 1000000), Tempo(480, 100000), FineTraccia()})}));
    EXPECT_EQ(m.DurataSecondi(), 2u);
    EXPECT_EQ(m.BattuteMedie(), 120u);
}

TEST(Durata, TempiFuoriDalPrimoChunkIgnorati) {
    const Midi m = Analizzato(
        File(1, 480,
             {Unisci({Nota(0, 3840), FineTraccia()}), Unisci({Tempo(0, 250000), FineTraccia()})}));
    EXPECT_EQ(m.DurataSecondi(), 4u);
}

TEST(Durata, MenoDiUnSecondo) {
    // 0.9 seconds: 432 ticks at 480 per quarter and 500 ms per quarter.
    const Midi m = Analizzato(File(1, 480, {Unisci({Nota(0, 432), FineTraccia()})}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.DurataSecondi(), 0u);
    EXPECT_EQ(m.BattuteMedie(), 0u);
}

TEST(Durata, ProdottiA64BitSenzaTroncamento) {
    // 100000000 ticks at 960 per quarter, 500 ms per quarter: 52083 seconds; the products
    // 500 x ticks and ticks x 60 exceed 32 bits (they would give 734 s and 34).
    const Midi a = Analizzato(File(1, 960, {Unisci({Nota(0, 100000000), FineTraccia()})}));
    EXPECT_EQ(a.DurataSecondi(), 52083u);
    EXPECT_EQ(a.BattuteMedie(), 120u);
    // Division 65535 and 66560 seconds: division x seconds exceeds 32 bits.
    const Midi b = Analizzato(
        File(1, 65535, {Unisci({Tempo(0, 16777215), Nota(0, 260000000), FineTraccia()})}));
    EXPECT_EQ(b.DurataSecondi(), 66560u);
    EXPECT_EQ(b.BattuteMedie(), 3u);
}

TEST(Durata, DurataTenutaAlMassimo) {
    // 16777 ms per tick for 268435455 ticks: far above 2147483647 seconds.
    const Midi m =
        Analizzato(File(1, 1, {Unisci({Tempo(0, 16777215), Nota(0, 0x0FFFFFFF), FineTraccia()})}));
    EXPECT_EQ(m.DurataSecondi(), 2147483647u);
    EXPECT_EQ(m.BattuteMedie(), 7u);
}

TEST(Durata, BattuteMedieTenuteAlMassimoDelCatalogo) {
    // One second, division 1, last note at tick 71582788: 71582788 x 60 = 4294967280 is
    // above what the catalogue keeps, so the report shows the catalogue's 2147483647.
    const Midi m =
        Analizzato(File(1, 1,
                        {Unisci({Tempo(0, 1000000), Evento(0, {0x90, 60, 1}), Tempo(1, 0),
                                 Evento(71582787, {0x80, 60, 0}), FineTraccia()})}));
    ASSERT_EQ(m.DurataSecondi(), 1u);
    EXPECT_EQ(m.BattuteMedie(), 2147483647u);
}
