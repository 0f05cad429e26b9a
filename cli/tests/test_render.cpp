// velmora-cli render on the demo folder and on real files: a well-formed WAV, audible,
// as long as the file plus the release tail; damaged files never crash it.
#include "comandi.h"

#include "midi.h"
#include "piattaforma.h"
#include "render_wav.h"
#include "sequenza.h"

#include "cartella_temporanea.h"
#include "costruttore_midi.h"
#include "lettura_wav.h"
#include "prova_file.h"

#include <gtest/gtest.h>

#include <sstream>

#ifndef _WIN32
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#endif

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
        // A changed delta time can put a note hours away: such files are read (where a
        // crash would be) but not rendered, to keep the suite quick.
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
        EXPECT_LE(wav.Secondi(), s.durata + velmora::kCodaRender + 0.001) << f;
    }
}

TEST_F(Render, UsageErrorsAndUnplayableFiles) {
    std::ostringstream out, err;
    using A = std::vector<std::string>;
    EXPECT_EQ(velmora::cli::Render(A{"x.mid"}, out, err), velmora::cli::kErroreUso);
    EXPECT_EQ(velmora::cli::Render(A{"-o", "x.wav"}, out, err), velmora::cli::kErroreUso);
    EXPECT_EQ(velmora::cli::Render(A{"x.mid", "-o", "x.wav", "--rate", "44k"}, out, err),
              velmora::cli::kErroreUso);
    // "-o --help" names the WAV: no help, the missing input is the failure.
    EXPECT_EQ(velmora::cli::Render(A{"assente.mid", "-o", "--help"}, out, err),
              velmora::cli::kNonRiuscito);
    EXPECT_EQ(out.str(), "");
    const fs::path vuoto = cartella.Percorso() / "vuoto.mid";
    std::ofstream(vuoto) << "MThd";
    prova::Wav wav;
    std::string messaggi;
    EXPECT_EQ(Esegui(vuoto, wav, messaggi), velmora::cli::kNonRiuscito);
    EXPECT_NE(messaggi.find("danneggiato"), std::string::npos) << messaggi;
    EXPECT_FALSE(wav.valido);
}

namespace {

#ifdef VELMORA_FLUIDSYNTH
constexpr bool kSintetizzatore = true;
#else
constexpr bool kSintetizzatore = false;
#endif

// The hostile cases: files the user did not ask to change, and inputs that are no
// MIDI files. Each run returns the exit status and what was said on standard error.
// What is refused before a WAV is made is checked without a synthesizer too.
class RenderSicuro : public CartellaProva {
protected:
    void SetUp() override {
        // A note of one second.
        midi =
            prova::File(0, 480,
                        {prova::Unisci({prova::Evento(0, {0x90, 60, 100}),
                                        prova::Evento(960, {0x80, 60, 0}), prova::FineTraccia()})});
        prova::ScriviFile(F("a.mid"), midi);
    }
    int Esegui(std::vector<std::string> argomenti, std::string& messaggi) const {
        argomenti.insert(argomenti.end(), {"--rate", "8000"});
        std::ostringstream out, err;
        const int esito = velmora::cli::Render(argomenti, out, err);
        messaggi = err.str();
        return esito;
    }
    std::string Midi() const { return std::string(midi.begin(), midi.end()); }
    prova::Bytes midi;
};

// The cases that get as far as writing a WAV.
class RenderScritto : public RenderSicuro {
protected:
    void SetUp() override {
        if (!kSintetizzatore) {
            GTEST_SKIP() << "compilato senza FluidSynth";
        }
        RenderSicuro::SetUp();
    }
};

} // namespace

TEST_F(RenderSicuro, TheInputIsNeverTheOutputUnderAnyName) {
    std::string m;
    EXPECT_EQ(Esegui({P("a.mid"), "-o", P("a.mid")}, m), velmora::cli::kErroreUso);
    EXPECT_NE(m.find("il file MIDI stesso"), std::string::npos) << m;
    std::error_code ec;
    fs::create_hard_link(F("a.mid"), F("fisso.wav"), ec);
    if (!ec) {
        EXPECT_EQ(Esegui({P("a.mid"), "-o", P("fisso.wav")}, m), velmora::cli::kErroreUso);
    }
    fs::create_symlink(F("a.mid"), F("collegato.wav"), ec);
    if (!ec) {
        EXPECT_EQ(Esegui({P("a.mid"), "-o", P("collegato.wav")}, m), velmora::cli::kErroreUso);
        EXPECT_TRUE(fs::is_symlink(F("collegato.wav")));
    }
    EXPECT_EQ(Leggi("a.mid"), Midi());
}

TEST_F(RenderScritto, AFailedWriteLeavesTheOldFileAndNoTemporary) {
    if (!DiscoPieno::kPossibile) {
        GTEST_SKIP() << kSenzaDiscoPieno;
    }
    Crea("vecchio.wav", "il WAV di prima");
    Crea("vero.wav", "quello vero");
    fs::create_symlink(F("vero.wav"), F("collegamento.wav"));
    for (const char* uscita : {"vecchio.wav", "collegamento.wav"}) {
        std::string m;
        int esito = 0;
        {
            const DiscoPieno pieno;
            esito = Esegui({P("a.mid"), "-o", P(uscita)}, m);
        }
        EXPECT_EQ(esito, velmora::cli::kNonRiuscito) << uscita;
        EXPECT_NE(m.find("Errore di scrittura"), std::string::npos) << m;
    }
    EXPECT_EQ(Leggi("vecchio.wav"), "il WAV di prima");
    EXPECT_EQ(Leggi("vero.wav"), "quello vero");
    EXPECT_TRUE(fs::is_symlink(F("collegamento.wav")));
    EXPECT_EQ(Voci(),
              (std::set<std::string>{"a.mid", "vecchio.wav", "vero.wav", "collegamento.wav"}));
}

TEST_F(RenderScritto, ADeviceIsWrittenToAndNeverRemoved) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no device nodes";
#else
    // A copy of /dev/full: every write fails.
    if (mknod(F("pieno").c_str(), S_IFCHR | 0600, makedev(1, 7)) != 0) {
        GTEST_SKIP() << "only root makes device nodes";
    }
    std::string m;
    EXPECT_EQ(Esegui({P("a.mid"), "-o", P("pieno")}, m), velmora::cli::kNonRiuscito);
    EXPECT_TRUE(fs::is_character_file(F("pieno")));
    EXPECT_EQ(Esegui({P("a.mid"), "-o", "/dev/null"}, m), velmora::cli::kRiuscito) << m;
#endif
}

TEST_F(RenderSicuro, WhatIsNoPlayableFileFailsAtOnceWithAMessage) {
    fs::create_directory(F("cartella.mid"));
    // Its one note-on has velocity 0: a note-off.
    prova::ScriviFile(
        F("muto.mid"),
        prova::File(0, 96,
                    {prova::Unisci({prova::Evento(0, {0x90, 60, 0}), prova::FineTraccia()})}));
    std::vector<std::string> ingressi = {P("cartella.mid"), P("muto.mid")};
#ifndef _WIN32
    ASSERT_EQ(mkfifo(F("tubo.mid").c_str(), 0600), 0);
    ingressi.insert(ingressi.end(), {P("tubo.mid"), "/dev/zero"});
#endif
    for (const std::string& ingresso : ingressi) {
        std::string m;
        EXPECT_EQ(Esegui({ingresso, "-o", P("x.wav")}, m), velmora::cli::kNonRiuscito) << ingresso;
        EXPECT_NE(m.find(ingresso), std::string::npos) << m;
        EXPECT_FALSE(fs::exists(F("x.wav"))) << ingresso;
    }
}

TEST_F(RenderScritto, APreviewIsCutWhereAskedAndSaysSo) {
    std::string m;
    ASSERT_EQ(Esegui({P("a.mid"), "-o", P("x.wav"), "--max-seconds", "0.5"}, m),
              velmora::cli::kRiuscito);
    EXPECT_NE(m.find("troncato"), std::string::npos) << m;
    EXPECT_NEAR(prova::LeggiWav(F("x.wav")).Secondi(), 0.5 + velmora::kCodaRender, 0.001);
    ASSERT_EQ(Esegui({P("a.mid"), "-o", P("x.wav"), "--max-seconds", "60"}, m),
              velmora::cli::kRiuscito);
    EXPECT_EQ(m, "");
    EXPECT_NEAR(prova::LeggiWav(F("x.wav")).Secondi(), 1 + velmora::kCodaRender, 0.001);
    EXPECT_EQ(Esegui({P("a.mid"), "-o", P("x.wav"), "--max-seconds", "0"}, m),
              velmora::cli::kErroreUso);
}

TEST_F(RenderSicuro, AWavBeyondTheFormatOrTheFreeSpaceIsRefused) {
    // A note weeks away: more than the 4 GiB a WAV can hold.
    prova::ScriviFile(F("lontano.mid"),
                      prova::File(0, 1,
                                  {prova::Unisci({prova::Evento(0, {0x90, 60, 100}),
                                                  prova::Evento(0x0FFFFFFF, {0x80, 60, 0}),
                                                  prova::FineTraccia()})}));
    std::string m;
    EXPECT_EQ(Esegui({P("lontano.mid"), "-o", P("x.wav")}, m), velmora::cli::kNonRiuscito);
    EXPECT_NE(m.find("4 GiB"), std::string::npos) << m;
    EXPECT_FALSE(fs::exists(F("x.wav")));
#ifdef _WIN32
    GTEST_SKIP() << "a small disk is mounted only on Linux";
#else
    if (!kSintetizzatore) {
        GTEST_SKIP() << "compilato senza FluidSynth";
    }
    // A disk of 64 KiB for a WAV of 96,044 bytes.
    const fs::path disco = F("disco");
    fs::create_directory(disco);
    if (mount("velmora", disco.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "only root mounts a small disk";
    }
    const std::unique_ptr<const char, int (*)(const char*)> smonta(disco.c_str(), umount);
    EXPECT_EQ(Esegui({P("a.mid"), "-o", P("disco/x.wav")}, m), velmora::cli::kNonRiuscito);
    EXPECT_NE(m.find("Spazio insufficiente"), std::string::npos) << m;
    EXPECT_TRUE(fs::is_empty(F("disco")));
#endif
}
