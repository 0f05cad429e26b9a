// Texts gathered by the walk: names, copyright, karaoke text, lyrics, time signature
// and the system-exclusive signatures.
#include "aiuti.h"

#include <gtest/gtest.h>

using namespace prova;

namespace {

Midi ConEventi(const Bytes& eventi) {
    return Analizzato(File(1, 480, {Unisci({eventi, Nota(0, 960), FineTraccia()})}));
}

// Patch-name system-exclusive message carrying the given name and checksum.
Bytes Patch(std::string_view nome, std::uint8_t checksum) {
    const Bytes dati =
        Unisci({{0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x00}, Testo(nome), {checksum, 0xF7}});
    return Sysex(0, static_cast<std::uint32_t>(dati.size()), dati);
}

// Text system-exclusive message of the given kind.
Bytes MessaggioTesto(std::uint8_t tipo, std::string_view testo) {
    const Bytes dati = Unisci({{0x00, 0x20, 0x24, 0x00, tipo}, Testo(testo), {0xF7}});
    return Sysex(0, static_cast<std::uint32_t>(dati.size()), dati);
}

} // namespace

TEST(Karaoke, MarcatoreTitoloETestoSpezzato) {
    const Bytes eventi =
        Unisci({Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, "@TTitle"),
                Meta(0, 0x01, "\\Hel"), Meta(0, 0x01, "lo"), Meta(0, 0x01, "/World")});
    const Midi m = ConEventi(eventi);
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.TipoTesto(), "MIDI KARAOKE FILE");
    EXPECT_EQ(m.TestoCompleto(), "Title\r\n\r\nHello\r\nWorld");
}

TEST(Karaoke, SenzaMarcatoreSoloIlTitolo) {
    const Bytes eventi = Unisci({Meta(0, 0x01, "@TTitle"), Meta(0, 0x01, "\\Hel"),
                                 Meta(0, 0x01, "lo"), Meta(0, 0x01, "/World")});
    const Midi m = ConEventi(eventi);
    EXPECT_EQ(m.TipoTesto(), "");
    EXPECT_EQ(m.TestoCompleto(), "Title\r\n");
}

TEST(Karaoke, IlMarcatoreEDistintoTraMaiuscoleEMinuscole) {
    const Midi m = ConEventi(Unisci({Meta(0, 0x01, "@KMidi Karaoke File"), Meta(0, 0x01, "ab")}));
    EXPECT_EQ(m.TipoTesto(), "Midi Karaoke File");
    EXPECT_EQ(m.TestoCompleto(), "");
}

TEST(Karaoke, LyricCambiaIlTipoEFermaIlTesto) {
    const Midi m =
        ConEventi(Unisci({Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, "a"),
                          Meta(0, 0x05, "la"), Meta(0, 0x01, "b"), Meta(0, 0x05, "\rdue")}));
    EXPECT_EQ(m.TipoTesto(), "Midi Karaoke File");
    EXPECT_EQ(m.TestoCompleto(), "ala\r\ndue");
}

TEST(Karaoke, LyricVuotoSegnaComunqueIlTipo) {
    EXPECT_EQ(ConEventi(Meta(0, 0x05, "")).TipoTesto(), "Midi Karaoke File");
}

TEST(Karaoke, ChiocciolaSolaEAltreLettere) {
    // "@" alone ends after its byte; "@L..." is skipped; a text cut at a zero byte.
    const Midi m =
        ConEventi(Unisci({Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, "@"),
                          Meta(0, 0x01, "@Lingua"), Meta(0, 0x01, std::string_view("ab\0cd", 5)),
                          Meta(0, 0x01, std::string_view("\0xy", 3)), Meta(0, 0x01, "")}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.TestoCompleto(), "abxy");
    EXPECT_EQ(m.DurataSecondi(), 1u);
}

TEST(Karaoke, TestoLungoConLunghezzaSuDueByte) {
    const std::string lungo(200, 'x');
    const Midi m = ConEventi(Unisci({Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, lungo)}));
    ASSERT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.TestoCompleto(), lungo);
    EXPECT_EQ(m.DurataSecondi(), 1u);
}

TEST(Nomi, PrimoCopyrightNonVuotoEUltimoNomeDiTraccia) {
    const Midi m =
        ConEventi(Unisci({Meta(0, 0x02, ""), Meta(0, 0x03, "Primo"), Meta(0, 0x06, "Marcatore"),
                          Meta(0, 0x02, "(C) 1999"), Meta(0, 0x03, "Secondo")}));
    EXPECT_EQ(m.TestoCopyright(), "Marcatore");
    EXPECT_EQ(m.NomeTraccia(0), "Secondo");
}

TEST(Nomi, CopyrightSenzaMetrica) {
    const Midi m = ConEventi(Meta(0, 0x02, "(C) Autore"));
    EXPECT_EQ(m.TestoCopyright(), "(C) Autore");
    EXPECT_EQ(m.TempoIniziale(), "4/4");
}

TEST(Metrica, SoloLaPrima) {
    const Midi m = ConEventi(Unisci({Metrica(0, 3, 2), Metrica(0, 4, 2), Metrica(0, 6, 3)}));
    EXPECT_EQ(m.TempoIniziale(), "3/4");
    EXPECT_EQ(ConEventi(Metrica(0, 6, 3)).TempoIniziale(), "6/8");
}

TEST(Metrica, DenominatoriEstremi) {
    EXPECT_EQ(ConEventi(Metrica(0, 7, 31)).TempoIniziale(), "7/2147483648");
    EXPECT_EQ(ConEventi(Metrica(0, 7, 32)).TempoIniziale(), "7/?");
    EXPECT_EQ(ConEventi(Metrica(0, 255, 255)).TempoIniziale(), "255/?");
}

TEST(Sysex, NomeDiPatchDiventaCopyright) {
    const Midi m = ConEventi(Unisci({Patch("Pad", 0x2A), Meta(0, 0x02, "(C) dopo")}));
    EXPECT_EQ(m.TestoCopyright(), "Pad*");
    // A zero checksum adds nothing; a copyright already found wins.
    EXPECT_EQ(ConEventi(Patch("Pad", 0x00)).TestoCopyright(), "Pad");
    EXPECT_EQ(ConEventi(Unisci({Meta(0, 0x02, "Prima"), Patch("Pad", 1)})).TestoCopyright(),
              "Prima");
}

TEST(Sysex, MessaggioDiTestoCanaleNonAggiungeTesto) {
    const Midi m = ConEventi(MessaggioTesto(5, "CH1 voce"));
    EXPECT_EQ(m.TipoTesto(), "Midi con testo");
    EXPECT_EQ(m.TestoCompleto(), "");
    EXPECT_EQ(ConEventi(MessaggioTesto(4, "ch9")).TestoCompleto(), "");
}

TEST(Sysex, MessaggioDiTestoConRitorni) {
    const Midi m = ConEventi(MessaggioTesto(6, "uno\ndue\r\ntre"));
    EXPECT_EQ(m.TipoTesto(), "Midi con testo");
    EXPECT_EQ(m.TestoCompleto(), "uno\r\ndue\r\r\ntre");
    // "Ch" followed by a letter is ordinary text.
    EXPECT_EQ(ConEventi(MessaggioTesto(4, "Chi")).TestoCompleto(), "Chi");
}

TEST(Sysex, TipoDiMessaggioNonDiTesto) {
    const Midi m = ConEventi(MessaggioTesto(7, "abc"));
    EXPECT_EQ(m.TipoTesto(), "");
    EXPECT_EQ(m.TestoCompleto(), "");
}

TEST(Sysex, LunghezzaDichiarataEF7) {
    // n = 0 reads one byte; n = 2 stops after two bytes; F7 ends before n.
    const Midi a = ConEventi(Unisci({Sysex(0, 0, {0x10}), Sysex(0, 2, {0x10, 0x11}),
                                     Sysex(0, 100, {0x10, 0xF7}), Evento(0, {0xC0, 1})}));
    ASSERT_EQ(a.Stato(), 0u);
    EXPECT_EQ(a.Strumento(0), "PianoBrite");
    EXPECT_EQ(a.DurataSecondi(), 1u);
}

TEST(Sysex, LetturaFallitaFermaIlMessaggio) {
    // A message that declares more bytes than the file holds and has no F7.
    const Bytes b = Unisci(
        {Intestazione(1, 1, 480), Testo("MTrk"), BigEndian(100, 4), Sysex(0, 1000, {0x41, 0x10})});
    EXPECT_EQ(Analizzato(b).Stato(), 1u);
}

TEST(Strumenti, ProgrammaFuoriTabella) {
    // A program change whose data byte has its top bit set.
    const Midi m = ConEventi(Evento(0, {0xC0, 0x85}));
    EXPECT_EQ(m.Strumento(0), "?");
    EXPECT_EQ(ConEventi(Evento(0, {0xC0, 127})).Strumento(0), "GunShot");
}
