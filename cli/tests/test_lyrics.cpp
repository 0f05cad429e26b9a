// velmora-cli lyrics: the words as text and as LRC, read back by a small LRC parser,
// and the LRC times against the notes' onsets in the render of the same file.
#include "comandi.h"

#include "cartella_temporanea.h"
#include "costruttore_midi.h"
#include "lettura_wav.h"
#include "piattaforma.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <regex>
#include <sstream>

using namespace prova;
namespace fs = std::filesystem;

namespace {

// A karaoke song of six syllables, each on a note-on; the tempo slows at tick 960 in
// the first track: 0.5, 1, 1.75, 2.5, 3.25 and 4 seconds.
Bytes Canzone() {
    Bytes parole = Unisci({Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, "@TVolare"),
                           Meta(0, 0x01, "@TModugno")});
    std::uint32_t delta = 480;
    for (const char* sillaba : {"\\Vo", "la", "re ", "/oh ", "oh", "!"}) {
        parole = Unisci({parole, Meta(delta, 0x01, sillaba), Evento(0, {0x90, 72, 110}),
                         Evento(120, {0x80, 72, 0})});
        delta = 360;
    }
    return File(1, 480,
                {Unisci({Tempo(0, 500000), Tempo(960, 750000), FineTraccia()}),
                 Unisci({parole, FineTraccia()})});
}

struct RigaLrc {
    double secondi;
    std::vector<std::pair<double, std::string>> sillabe;
};

// LRC as players read it: "[xx:...]" tags, then lines "[mm:ss.xx]" with enhanced
// "<mm:ss.xx>" word times. Any other line fails the test.
std::vector<RigaLrc> LeggiLrc(const std::string& lrc, std::map<std::string, std::string>& tag) {
    static const std::regex kTag(R"(^\[([a-z]+):([^\]]*)\]$)");
    static const std::regex kRiga(
        R"(^\[(\d{2,}):([0-5]\d\.\d{2})\]((<\d{2,}:[0-5]\d\.\d{2}>[^<]+)+)$)");
    static const std::regex kParola(R"(<(\d{2,}):([0-5]\d\.\d{2})>([^<]+))");
    std::vector<RigaLrc> righe;
    std::istringstream in(lrc);
    std::smatch m;
    for (std::string riga; std::getline(in, riga);) {
        if (std::regex_match(riga, m, kTag)) {
            tag[m[1]] = m[2];
        } else if (std::regex_match(riga, m, kRiga)) {
            RigaLrc r{std::stoi(m[1]) * 60 + std::stod(m[2]), {}};
            const std::string parole = m[3];
            for (std::sregex_iterator p(parole.begin(), parole.end(), kParola), fine; p != fine;
                 ++p) {
                r.sillabe.emplace_back(std::stoi((*p)[1]) * 60 + std::stod((*p)[2]), (*p)[3]);
            }
            righe.push_back(r);
        } else {
            ADD_FAILURE() << "riga LRC non valida: \"" << riga << "\"";
        }
    }
    return righe;
}

class Lyrics : public ::testing::Test {
protected:
    int Esegui(std::vector<std::string> argomenti) {
        std::ostringstream o, e;
        const int esito = velmora::cli::Lyrics(argomenti, o, e);
        out = o.str();
        err = e.str();
        return esito;
    }
    std::string Scrivi(const std::string& nome, const Bytes& byte) {
        ScriviFile(cartella.Percorso() / nome, byte);
        return velmora::Utf8DaPercorso(cartella.Percorso() / nome);
    }
    CartellaTemporanea cartella;
    std::string out, err;
};

} // namespace

TEST_F(Lyrics, TestoELrcConTitoloAutoreETempi) {
    const std::string file = Scrivi("volare.mid", Canzone());
    ASSERT_EQ(Esegui({file}), 0) << err;
    EXPECT_EQ(out, "Volare\noh oh!\n");

    const std::string lrc = (cartella.Percorso() / "volare.lrc").string();
    ASSERT_EQ(Esegui({"--lrc", file, "-o", lrc}), 0) << err;
    EXPECT_EQ(out, "");
    std::ifstream letto(lrc, std::ios::binary);
    const std::string scritto((std::istreambuf_iterator<char>(letto)), {});
    std::map<std::string, std::string> tag;
    const std::vector<RigaLrc> righe = LeggiLrc(scritto, tag);
    EXPECT_EQ(tag, (std::map<std::string, std::string>{{"ti", "Volare"}, {"ar", "Modugno"}}));
    ASSERT_EQ(righe.size(), 2u);
    EXPECT_DOUBLE_EQ(righe[1].secondi, 2.5);
    EXPECT_EQ(righe[1].sillabe,
              (std::vector<std::pair<double, std::string>>{{2.5, "oh "}, {3.25, "oh"}, {4, "!"}}));
}

TEST_F(Lyrics, SenzaParoleOIlFileStessoNonScrivono) {
    const std::string file =
        Scrivi("muto.mid", File(0, 480, {Unisci({Evento(0, {0x90, 60, 9}), FineTraccia(480)})}));
    EXPECT_EQ(Esegui({file}), 1);
    EXPECT_NE(err.find("non contiene parole"), std::string::npos);
    const std::string karaoke = Scrivi("k.mid", Canzone());
    EXPECT_EQ(Esegui({karaoke, "-o", karaoke}), 2);
    EXPECT_EQ(Esegui({karaoke, file}), 2);
    EXPECT_EQ(fs::file_size(karaoke), Canzone().size());
    // "-o --help" writes the words to a file of that name.
    const fs::path prima = fs::current_path();
    fs::current_path(cartella.Percorso());
    EXPECT_EQ(Esegui({karaoke, "-o", "--help"}), 0) << err;
    fs::current_path(prima);
    EXPECT_EQ(out, "");
    std::ifstream aiuto(cartella.Percorso() / "--help", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(aiuto), {}), "Volare\noh oh!\n");
}

// Each LRC time is where its note is heard in the render, within 30 ms.
TEST_F(Lyrics, ITempiLrcCadonoSugliAttacchiDelRender) {
#ifndef VELMORA_FLUIDSYNTH
    GTEST_SKIP() << "compilato senza FluidSynth";
#endif
    const std::string file = Scrivi("volare.mid", Canzone());
    const fs::path wav = cartella.Percorso() / "volare.wav";
    std::ostringstream o, e;
    if (velmora::cli::Render(std::vector<std::string>{file, "-o", wav.string()}, o, e) != 0) {
        GTEST_SKIP() << "render non disponibile: " << e.str();
    }
    const Wav w = LeggiWav(wav);
    ASSERT_TRUE(w.valido);
    ASSERT_EQ(Esegui({"--lrc", file}), 0);
    std::map<std::string, std::string> tag;
    // The loudest sample of each millisecond, both channels.
    const std::size_t frame = w.frequenza / 1000;
    std::vector<int> picchi(w.campioni.size() / w.canali / frame);
    for (std::size_t i = 0; i < picchi.size() * frame * w.canali; ++i) {
        picchi[i / w.canali / frame] =
            std::max(picchi[i / w.canali / frame], std::abs(int{w.campioni[i]}));
    }
    int sillabe = 0;
    for (const RigaLrc& r : LeggiLrc(out, tag)) {
        for (const auto& [secondi, testo] : r.sillabe) {
            // The onset: the first millisecond from 100 ms before, past ten times the
            // level there, of the notes that went before.
            const auto prima = static_cast<std::size_t>(std::lround(secondi * 1000)) - 100;
            std::size_t attacco = prima;
            while (attacco < picchi.size() && picchi[attacco] <= 10 * picchi[prima] + 300) {
                ++attacco;
            }
            EXPECT_NEAR(attacco / 1000.0, secondi, 0.030) << testo;
            ++sillabe;
        }
    }
    EXPECT_EQ(sillabe, 6);
}
