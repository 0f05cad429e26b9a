// The runs of the detailed report: order, texts, styles and the failure form.
#include "rapporto.h"

#include "aiuti.h"
#include "midi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>

using namespace prova;
namespace fs = std::filesystem;

// Shown by GoogleTest when a comparison fails.
void PrintTo(const Frammento& f, std::ostream* os) {
    *os << "(\"" << f.testo << "\", " << f.stile << ")";
}

namespace {

const Frammento kCorrotto{"File corrotto o impossibile da aprire", 1};

Rapporto Intestazione(const std::string& percorso) {
    return {{"Nome: ", 1},      {"brano.mid\r\n", 0}, {"Directory: ", 1},
            {"Cartella - ", 0}, {"Percorso: ", 1},    {percorso + "\r\n\r\n", 0}};
}

Rapporto DaMemoria(const Bytes& bytes) {
    const Midi m = Analizzato(bytes);
    return CostruisciRapporto(m, "brano.mid", "Cartella", "/x/Cartella");
}

} // namespace

TEST(Rapporto, FileDi38ByteDaDisco) {
    const CartellaTemporanea temporanea;
    const fs::path cartella = temporanea.Percorso() / "Cartella";
    fs::create_directories(cartella);
    ScriviFile(cartella / "brano.mid", kFile38);
    const Rapporto r = CostruisciRapporto("brano.mid", "Cartella", cartella.string());

    Rapporto atteso = Intestazione(cartella.string());
    const Rapporto risultati = {{"Durata: ", 1},
                                {" 0:02\r\n", 0},
                                {"Lunghezza: ", 1},
                                {"38\r\n", 0},
                                {"Tempo iniziale: ", 1},
                                {"4/4\r\n", 0},
                                {"Battute per minuto medie: ", 1},
                                {"120\r\n", 0},
                                {"Tracce usate: ", 1},
                                {"1\r\n", 0},
                                {"Tipo midi: ", 1},
                                {"0 ", 0},
                                {"(monotraccia)", 1},
                                {"\r\n", 0},
                                {"Testo: ", 1},
                                {"", 2},
                                {"\r\n", 0},
                                {"Copyright: ", 1},
                                {"\r\n", 0},
                                {"\r\n", 0}};
    atteso.insert(atteso.end(), risultati.begin(), risultati.end());
    for (int i = 0; i < 17; ++i) {
        const std::string numero = "Traccia " + std::to_string(i) + " ";
        if (i == 1) {
            atteso.insert(atteso.end(), {{numero, 1}, {": ", 1}, {"EPiano2\r\n", 0}});
        } else {
            atteso.insert(atteso.end(), {{numero, 3}, {": ", 3}, {"(traccia non attiva)\r\n", 3}});
        }
    }
    EXPECT_EQ(r, atteso);
}

TEST(Rapporto, FileIllegibile) {
    Rapporto atteso = Intestazione("/non/esiste");
    atteso.push_back(kCorrotto);
    EXPECT_EQ(CostruisciRapporto("brano.mid", "Cartella", "/non/esiste"), atteso);
    // A header that is not MIDI, and a valid format-1 file without chunks.
    for (const Bytes& b : {Testo("RIFF....WAVE"), Intestazione(1, 0, 96)}) {
        const Rapporto r = DaMemoria(b);
        ASSERT_FALSE(r.empty());
        EXPECT_EQ(r.back(), kCorrotto);
        EXPECT_EQ(r.size(), 7u);
    }
}

TEST(Rapporto, CaratteriDiControlloNeiNomiComePuntiInterrogativi) {
    const Rapporto r = CostruisciRapporto("a\r\nDurata: 9:99.mid", "C\x01", "/non/C\x01");
    ASSERT_GE(r.size(), 6u);
    EXPECT_EQ(r[1].testo, "a??Durata: 9:99.mid\r\n");
    EXPECT_EQ(r[3].testo, "C? - ");
    EXPECT_EQ(r[5].testo, "/non/C?\r\n\r\n");
}

TEST(Rapporto, TestiDecodificatiENomiDiTraccia) {
    // Windows-1252 bytes (0xA9 is the copyright sign) and UTF-8 bytes in the same file.
    const Bytes b = File(1, 480,
                         {Unisci({Meta(0, 0x02, "\xA9 1999"), Meta(0, 0x03, "Voce \xC3\xA8"),
                                  Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, "\\Ciao"),
                                  Meta(0, 0x01, " caff\xE8"), Nota(0, 960), FineTraccia()}),
                          Unisci({Meta(0, 0x03, "Muta"), FineTraccia()})});
    const Rapporto r = DaMemoria(b);
    const std::string testo = TestoRapporto(r);
    EXPECT_NE(testo.find("Testo: MIDI KARAOKE FILE\r\nCopyright: \xC2\xA9 1999\r\n\r\n"),
              std::string::npos);
    EXPECT_NE(testo.find("Tipo midi: 1 (multitraccia)\r\n"), std::string::npos);
    EXPECT_NE(testo.find("Traccia 0 (Voce \xC3\xA8) : (traccia non attiva)\r\n"
                         "Traccia 1 (Muta) : (traccia non attiva)\r\n"),
              std::string::npos);
    ASSERT_GE(r.size(), 2u);
    EXPECT_EQ(r[r.size() - 2],
              (Frammento{"\r\nIn questa base \xC3\xA8 presente del testo\r\n", 2}));
    EXPECT_EQ(r.back(), (Frammento{"\r\nCiao caff\xC3\xA8", 0}));
    // The named active track: number and colon bold red, name green, instrument blue.
    const auto nome = std::find_if(
        r.begin(), r.end(), [](const Frammento& f) { return f.testo == "(Voce \xC3\xA8) "; });
    ASSERT_NE(nome, r.end());
    EXPECT_EQ(nome->stile, 2);
    EXPECT_EQ((nome - 1)->stile, 1);
    EXPECT_EQ((nome + 1)->stile, 1);
    EXPECT_EQ((nome + 2)->stile, 0);
    // The silent named track: every part in black.
    const auto muta =
        std::find_if(r.begin(), r.end(), [](const Frammento& f) { return f.testo == "(Muta) "; });
    ASSERT_NE(muta, r.end());
    EXPECT_EQ(muta->stile, 3);
    EXPECT_EQ((muta + 2)->stile, 3);
}

TEST(Rapporto, Formato2SenzaNota) {
    const std::string testo =
        TestoRapporto(DaMemoria(File(2, 480, {Unisci({Nota(0, 960), FineTraccia()})})));
    EXPECT_NE(testo.find("Durata:  0:00\r\n"), std::string::npos);
    EXPECT_NE(testo.find("Tipo midi: 2 \r\nTesto: \r\n"), std::string::npos);
    EXPECT_EQ(testo.find("In questa base"), std::string::npos);
}

// Title and author follow the file name, each only when the file names it.
TEST(Rapporto, TitoloEAutoreDopoIlNome) {
    const Rapporto r =
        DaMemoria(File(1, 480,
                       {Unisci({Meta(0, 0x03, "Caff\xE8"), Meta(0, 0x02, "Music by A\tB"),
                                Nota(0, 960), FineTraccia()})}));
    ASSERT_GE(r.size(), 6u);
    EXPECT_EQ(Rapporto(r.begin() + 2, r.begin() + 6),
              (Rapporto{{"Titolo: ", 1}, {"Caffè\r\n", 0}, {"Autore: ", 1}, {"A?B\r\n", 0}}));
    const Rapporto soloAutore =
        DaMemoria(File(1, 480, {Unisci({Meta(0, 0x02, "By Mina"), Nota(0, 960), FineTraccia()})}));
    EXPECT_EQ(soloAutore[2], (Frammento{"Autore: ", 1}));
    EXPECT_EQ(soloAutore[4], (Frammento{"Directory: ", 1}));
}
