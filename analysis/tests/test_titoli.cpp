// Title, author and language: what the file plainly says, never a guess.
#include "aiuti.h"
#include "titoli.h"

#include <gtest/gtest.h>

using namespace prova;

namespace {

Midi Traccia0(const Bytes& eventi, std::uint16_t formato = 1) {
    return Analizzato(File(formato, 480, {Unisci({eventi, Nota(0, 960), FineTraccia()})}));
}

} // namespace

TEST(Titoli, SoftKaraokeTitoloAutoreLinguaInformazioni) {
    const Midi m = Analizzato(
        File(1, 480,
             {Unisci({Meta(0, 0x03, "Untitled"), Meta(0, 0x01, "@KMIDI KARAOKE FILE"),
                      Meta(0, 0x01, "@V0100"), Meta(0, 0x01, "@I Prima riga "), FineTraccia()}),
              Unisci({Meta(0, 0x01, "@LITA"), Meta(0, 0x01, "@T  Volare \r"),
                      Meta(0, 0x01, "@TDomenico Modugno"), Meta(0, 0x01, "@T(c) 1958"),
                      Meta(0, 0x01, "@ISeconda"), Meta(0, 0x01, "Words by Nobody"), Nota(0, 960),
                      FineTraccia()})}));
    EXPECT_EQ(m.Titolo(), "Volare");
    EXPECT_EQ(m.Autore(), "Domenico Modugno");
    EXPECT_EQ(m.Lingua(), "ITA");
    EXPECT_EQ(m.Karaoke().titoli,
              (std::vector<std::string>{"Volare", "Domenico Modugno", "(c) 1958"}));
    EXPECT_EQ(m.Karaoke().informazioni, (std::vector<std::string>{"Prima riga", "Seconda"}));
    EXPECT_EQ(m.Karaoke().versione, "0100");
    // The words of a karaoke file are not credits, and the report's text is as before.
    EXPECT_EQ(m.TestoCompleto(), "  Volare \r\r\nDomenico Modugno\r\n(c) 1958\r\nWords by Nobody");
}

TEST(Titoli, NomeDellaPrimaTracciaSalvoSeGenerico) {
    EXPECT_EQ(Traccia0(Meta(0, 0x03, " Nel blu dipinto di blu ")).Titolo(),
              "Nel blu dipinto di blu");
    // Format 0: the first name of the track, not the last one the rows show.
    EXPECT_EQ(Traccia0(Unisci({Meta(0, 0x03, "Primo"), Meta(0, 0x03, "Piano")}), 0).Titolo(),
              "Primo");
    for (const char* generico :
         {"Untitled", "TRACK 1", "Traccia-12", "Sequence", "Staff #3", "  ", "", "tempo track"}) {
        EXPECT_EQ(Traccia0(Meta(0, 0x03, generico)).Titolo(), "") << generico;
    }
    EXPECT_EQ(Traccia0(Meta(0, 0x03, "1999")).Titolo(), "1999");
    EXPECT_EQ(Traccia0(Meta(0, 0x03, "Tracks of my tears")).Titolo(), "Tracks of my tears");
    // Format 2: each chunk is a song of its own, none names the file.
    EXPECT_EQ(Traccia0(Meta(0, 0x03, "Canzone"), 2).Titolo(), "");
    // A failed analysis (division 0) names nothing.
    const Midi fallito = Analizzato(File(1, 0, {Meta(0, 0x03, "Canzone")}));
    ASSERT_NE(fallito.Stato(), 0u);
    EXPECT_EQ(fallito.Titolo(), "");
}

TEST(Titoli, AutoreSoloDaUnCreditoEsplicitoAllInizio) {
    EXPECT_EQ(Traccia0(Meta(0, 0x02, "Words and Music by  Lucio Dalla")).Autore(), "Lucio Dalla");
    EXPECT_EQ(Traccia0(Meta(0, 0x01, "testo e musica di: Mina")).Autore(), "Mina");
    EXPECT_EQ(Traccia0(Meta(0, 0x01, "Autore:Paoli")).Autore(), "Paoli");
    // Not a credit, a placeholder, too long, too late, or outside the first chunk.
    for (const Bytes& nessuno :
         {Meta(0, 0x02, "(C) 1990 Edizioni"), Meta(0, 0x01, "Bye bye"), Meta(0, 0x01, "by <Name>"),
          Meta(0, 0x01, "By " + std::string(61, 'x')), Meta(10, 0x01, "By Mina")}) {
        EXPECT_EQ(Traccia0(nessuno).Autore(), "");
    }
    const Midi secondaTraccia = Analizzato(File(
        1, 480, {FineTraccia(), Unisci({Meta(0, 0x01, "By Mina"), Nota(0, 960), FineTraccia()})}));
    EXPECT_EQ(secondaTraccia.Autore(), "");
}
