// The words on the player's timeline: which events, the karaoke conventions, and
// where the song is at a given second.
#include "parole.h"

#include "costruttore_midi.h"

#include <gtest/gtest.h>

using namespace prova;
using velmora::LeggiSequenza;
using velmora::ParoleDi;

namespace {

std::string Righe(const velmora::Parole& parole) {
    std::string testo;
    for (const velmora::RigaParole& r : parole) {
        testo += (r.paragrafo ? "|" : "") + r.Testo() + "@" + std::to_string(r.Secondi()) + ";";
    }
    return testo;
}

} // namespace

TEST(Parole, KaraokeTestiDellaTracciaConLeChiocciole) {
    // Text events of another track, and lyric events, are not the words of a karaoke file.
    const Bytes file = File(
        1, 480,
        {Unisci({Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, "commento"), FineTraccia()}),
         Unisci({Meta(0, 0x01, "@TTitolo"), Meta(0, 0x01, "\\Ciao "), Meta(0, 0x05, "no"),
                 Meta(480, 0x01, "mon"), Meta(480, 0x01, "do"), Meta(480, 0x01, "/Sol"),
                 Meta(480, 0x01, "e\\"), Meta(480, 0x01, "\\Fi\xE8"), FineTraccia()})});
    EXPECT_EQ(Righe(ParoleDi(LeggiSequenza(file))),
              "Ciao mondo@0.000000;Sole\\@1.500000;|Fiè@2.500000;");
}

TEST(Parole, LyricConFineRigaESpaziTraLeParole) {
    const Bytes file =
        File(0, 480,
             {Unisci({Meta(0, 0x05, "la "), Meta(240, 0x05, "not"), Meta(0, 0x05, " "),
                      Meta(240, 0x05, "te\r"), Meta(240, 0x05, "scen\r\n"), Meta(240, 0x05, "\n"),
                      Meta(240, 0x05, "  de"), Meta(0, 0x05, "\r"), Meta(0, 0x05, "\r"),
                      Meta(240, 0x05, "x\ry"), FineTraccia()})});
    const velmora::Parole parole = ParoleDi(LeggiSequenza(file));
    EXPECT_EQ(Righe(parole),
              "la not te@0.000000;scen@0.750000;|de@1.250000;|x@1.500000;y@1.500000;");
    EXPECT_EQ(parole[0].sillabe[1].testo, "not ");
    EXPECT_EQ(velmora::TestoParole(parole), "la not te\nscen\n\nde\n\nx\ny\n");
}

TEST(Parole, PuntoSeguitoSillabaPerSillaba) {
    const Bytes file = File(0, 480,
                            {Unisci({Meta(480, 0x05, "a"), Meta(480, 0x05, "b\r"),
                                     Meta(480, 0x05, "c"), Meta(0, 0x05, "d"), FineTraccia()})});
    const velmora::Parole parole = ParoleDi(LeggiSequenza(file));
    using P = velmora::PuntoParole;
    EXPECT_EQ(velmora::PuntoA(parole, 0.499), (P{-1, -1}));
    EXPECT_EQ(velmora::PuntoA(parole, 0.5), (P{0, 0}));
    EXPECT_EQ(velmora::PuntoA(parole, 1.4), (P{0, 1}));
    EXPECT_EQ(velmora::PuntoA(parole, 1.5), (P{1, 1})); // "c" and "d" together
    EXPECT_EQ(velmora::PuntoA(parole, 99), (P{1, 1}));
    EXPECT_TRUE(ParoleDi(LeggiSequenza(File(0, 480, {FineTraccia()}))).empty());
}
