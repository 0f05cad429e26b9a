// Every file of the real-world corpus, analysed from disk and from memory, with the
// invariants every result must keep. Skipped when the corpus is absent.
#include "aiuti.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

void ControllaInvarianti(const Midi& m, std::uintmax_t dimensione) {
    ASSERT_LE(m.Stato(), 2u);
    if (m.Stato() != 0) {
        prova::AttendiFallimento(m, m.Stato());
        return;
    }
    EXPECT_EQ(m.DimensioneFile(), dimensione);
    EXPECT_TRUE(m.TipoMidi() == "0" || m.TipoMidi() == "1" || m.TipoMidi() == "2");
    EXPECT_GE(m.ContaTracce(), 0);
    EXPECT_LE(m.TracceUsate(), m.ContaTracce());
    EXPECT_NE(m.TempoIniziale().find('/'), std::string::npos);
    EXPECT_EQ(m.BattuteMedie() == 0, m.DurataSecondi() == 0);
    for (std::int32_t i = 0; i < m.ContaTracce(); ++i) {
        EXPECT_TRUE(m.TracciaAttiva(i) == 1 || m.TracciaAttiva(i) == 255);
        EXPECT_FALSE(m.Strumento(i).empty());
    }
}

} // namespace

TEST(Corpus, OgniFileRispettaGliInvarianti) {
    const fs::path cartella(VELMORA_CORPUS);
    if (!fs::is_directory(cartella)) {
        GTEST_SKIP() << "corpus assente: " << cartella;
    }
    int analizzati = 0;
    int riusciti = 0;
    for (const auto& voce : fs::recursive_directory_iterator(cartella)) {
        if (!voce.is_regular_file() || voce.path().extension() != ".mid") {
            continue;
        }
        SCOPED_TRACE(voce.path().string());
        Midi daDisco(voce.path().string());
        daDisco.Analizza();
        ControllaInvarianti(daDisco, voce.file_size());

        std::ifstream f(voce.path(), std::ios::binary);
        const prova::Bytes bytes((std::istreambuf_iterator<char>(f)), {});
        const Midi inMemoria = prova::Analizzato(bytes);
        EXPECT_EQ(inMemoria.Stato(), daDisco.Stato());
        EXPECT_EQ(inMemoria.DurataSecondi(), daDisco.DurataSecondi());
        EXPECT_EQ(inMemoria.TestoCompleto(), daDisco.TestoCompleto());
        ++analizzati;
        riusciti += daDisco.Stato() == 0 ? 1 : 0;
    }
    EXPECT_GT(analizzati, 0);
    EXPECT_GT(riusciti, 0);
}

// The karaoke files of the corpus name their songs in their first track ("song2",
// "Canzone 3 seme 1"), whatever else they hold; no file of the corpus gets a name
// sequencers give by default as its title.
TEST(Corpus, TitoliDeiKaraokeENessunSegnaposto) {
    const fs::path cartella(VELMORA_CORPUS);
    if (!fs::is_directory(cartella / "karaoke")) {
        GTEST_SKIP() << "corpus assente: " << cartella;
    }
    int karaoke = 0;
    for (const auto& voce : fs::recursive_directory_iterator(cartella)) {
        if (!voce.is_regular_file() || voce.path().extension() != ".mid") {
            continue;
        }
        SCOPED_TRACE(voce.path().string());
        Midi m(voce.path().string());
        m.Analizza();
        std::string minuscolo = m.Titolo();
        for (char& c : minuscolo) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        for (const char* segnaposto : {"untitled", "track 1", "notes", "sequence", "traccia 1"}) {
            EXPECT_NE(minuscolo, segnaposto);
        }
        const std::string nome = voce.path().stem().string();
        if (voce.path().parent_path().filename() != "karaoke") {
            continue;
        }
        ++karaoke;
        std::string atteso; // abc_s1_3 -> "Canzone 3 seme 1", mma_s1_song5_kar -> "song5"
        if (nome.starts_with("abc_s")) {
            atteso = "Canzone " + nome.substr(nome.rfind('_') + 1) + " seme " +
                     nome.substr(5, nome.find('_', 5) - 5);
        } else {
            atteso = nome.substr(nome.find("song"),
                                 nome.find('_', nome.find("song")) - nome.find("song"));
        }
        EXPECT_EQ(m.Titolo(), atteso);
    }
    EXPECT_GT(karaoke, 0);
}
