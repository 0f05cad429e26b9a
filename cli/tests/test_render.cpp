// velmora-cli render on the demo folder and on real files: a well-formed WAV, audible,
// as long as the file plus the release tail; damaged files never crash it.
#include "comandi.h"

#include "midi.h"
#include "piattaforma.h"
#include "render_wav.h"
#include "sequenza.h"

#include "cartella_temporanea.h"
#include "lettura_wav.h"

#include <gtest/gtest.h>

#include <sstream>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> FileMidi(const fs::path& cartella, std::size_t massimo) {
    std::vector<fs::path> file;
    for (const auto& v : fs::recursive_directory_iterator(cartella)) {
        if (v.is_regular_file() && v.path().extension() == ".mid") {
            file.push_back(v.path());
        }
    }
    std::sort(file.begin(), file.end());
    file.resize(std::min(file.size(), massimo));
    return file;
}

class Render : public ::testing::Test {
protected:
    void SetUp() override {
#ifndef VELMORA_FLUIDSYNTH
        GTEST_SKIP() << "compilato senza FluidSynth";
#endif
    }

    // Renders one file; returns the exit status, with the WAV read back in wav.
    int Esegui(const fs::path& midi, prova::Wav& wav, std::string& messaggi) {
        const fs::path uscita = cartella.Percorso() / "uscita.wav";
        fs::remove(uscita);
        const std::vector<std::string> argomenti = {velmora::Utf8DaPercorso(midi), "-o",
                                                    uscita.string(), "--rate", "11025"};
        std::ostringstream out, err;
        const int esito = velmora::cli::Render(argomenti, out, err);
        messaggi = err.str();
        wav = fs::exists(uscita) ? prova::LeggiWav(uscita) : prova::Wav{};
        return esito;
    }

    // Every sound file: rendered whole, audible, as long as the analysis says.
    void ControllaSani(const std::vector<fs::path>& file) {
        for (const fs::path& f : file) {
            Midi m(velmora::Utf8DaPercorso(f));
            m.Analizza();
            if (m.Stato() != 0 || m.DurataSecondi() == 0) {
                continue; // the damaged ones: ControllaDanneggiati
            }
            prova::Wav wav;
            std::string messaggi;
            ASSERT_EQ(Esegui(f, wav, messaggi), 0) << f << messaggi;
            ASSERT_TRUE(wav.valido) << f;
            EXPECT_EQ(wav.canali, 2u);
            EXPECT_GT(wav.Rms(), 0.002) << f;
            EXPECT_NEAR(wav.Secondi() - velmora::kCodaRender, m.DurataSecondi() + 0.5, 1.0) << f;
        }
    }

    prova::CartellaTemporanea cartella;
};

} // namespace

TEST_F(Render, DemoFolderRendersAudibleWavsOfTheFilesLengths) {
    ControllaSani(FileMidi(VELMORA_CAMPIONI, 100));
}

TEST_F(Render, CorpusFilesRenderAndDamagedOnesNeverCrash) {
    const fs::path corpus(VELMORA_CORPUS);
    if (!fs::is_directory(corpus)) {
        GTEST_SKIP() << "corpus assente: " << corpus;
    }
    ControllaSani(FileMidi(corpus / "karaoke", 2));
    for (const fs::path& f : FileMidi(corpus / "broken", 100)) {
        // A changed delta time can put a note most of an hour away: such files are read
        // (where a crash would be) but not rendered, to keep the suite quick.
        velmora::Sequenza s;
        std::string errore;
        if (velmora::CaricaSequenza(velmora::Utf8DaPercorso(f), s, errore) && s.durata > 300) {
            continue;
        }
        prova::Wav wav;
        std::string messaggi;
        const int esito = Esegui(f, wav, messaggi);
        ASSERT_TRUE(esito == 0 || esito == 1) << f;
        EXPECT_EQ(wav.valido, esito == 0) << f << messaggi;
        if (esito == 1) {
            EXPECT_FALSE(messaggi.empty()) << f;
        }
        EXPECT_LE(wav.Secondi(), velmora::kDurataMassima + velmora::kCodaRender) << f;
    }
}

TEST_F(Render, UsageErrorsAndUnplayableFiles) {
    std::ostringstream out, err;
    using A = std::vector<std::string>;
    EXPECT_EQ(velmora::cli::Render(A{"x.mid"}, out, err), velmora::cli::kErroreUso);
    EXPECT_EQ(velmora::cli::Render(A{"-o", "x.wav"}, out, err), velmora::cli::kErroreUso);
    EXPECT_EQ(velmora::cli::Render(A{"x.mid", "-o", "x.wav", "--rate", "44k"}, out, err),
              velmora::cli::kErroreUso);
    const fs::path vuoto = cartella.Percorso() / "vuoto.mid";
    std::ofstream(vuoto) << "MThd";
    prova::Wav wav;
    std::string messaggi;
    EXPECT_EQ(Esegui(vuoto, wav, messaggi), velmora::cli::kNonRiuscito);
    EXPECT_NE(messaggi.find("danneggiato"), std::string::npos) << messaggi;
    EXPECT_FALSE(wav.valido);
}
