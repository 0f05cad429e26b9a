// The real FluidSynth back end: offline render and the live synthesizer on its file
// driver (no sound card needed).
#include "render_wav.h"
#include "riproduzione.h"
#include "sintesi_fluid.h"
#include "sintetizzatore_fluidsynth.h"

#include "cartella_temporanea.h"
#include "costruttore_midi.h"
#include "lettura_wav.h"

#include <gtest/gtest.h>

using namespace prova;

namespace {

// One second of a C major chord on a piano.
velmora::Sequenza Accordo() {
    return velmora::LeggiSequenza(
        File(0, 480,
             {Unisci({Evento(0, {0xC0, 0}), Evento(0, {0x90, 60, 100}), Evento(0, {64, 100}),
                      Evento(0, {67, 100}), Evento(960, {0x80, 60, 0}), Evento(0, {0x80, 64, 0}),
                      Evento(0, {0x80, 67, 0}), FineTraccia()})}));
}

// Keeps the WAV in memory; fails the writes from the given one on.
struct InMemoria : velmora::UscitaWav {
    std::string Apri(std::uint64_t byteWav) override {
        annunciati = byteWav;
        return {};
    }
    std::string Scrivi(std::string_view b) override {
        if (++scritture >= guastoDa) {
            return "guasto";
        }
        byte += b;
        return {};
    }
    Wav Letto(const std::filesystem::path& file) const {
        ScriviFile(file, Bytes(byte.begin(), byte.end()));
        return LeggiWav(file);
    }
    std::string byte;
    std::uint64_t annunciati = 0;
    int scritture = 0;
    int guastoDa = 1 << 30;
};

class FluidSynth : public ::testing::Test {
protected:
    void SetUp() override {
        if (velmora::SoundFontPredefinita().empty()) {
            GTEST_SKIP() << "nessun SoundFont General MIDI installato";
        }
    }
    std::string Render(const velmora::Sequenza& s, const velmora::OpzioniRender& o,
                       InMemoria& uscita) {
        return velmora::RenderizzaWav(s, velmora::Pianifica(s, o), o, uscita);
    }
    CartellaTemporanea cartella;
};

} // namespace

TEST_F(FluidSynth, RendersAWellFormedAudibleWavOfTheFilesLength) {
    InMemoria uscita;
    ASSERT_EQ(Render(Accordo(), {"", 22050, {}}, uscita), "");
    EXPECT_EQ(uscita.annunciati, uscita.byte.size());
    const Wav w = uscita.Letto(cartella.Percorso() / "accordo.wav");
    ASSERT_TRUE(w.valido);
    EXPECT_EQ(w.canali, 2u);
    EXPECT_EQ(w.frequenza, 22050u);
    EXPECT_NEAR(w.Secondi(), 1.0 + velmora::kCodaRender, 0.001);
    EXPECT_GT(w.Rms(), 0.005);
}

TEST_F(FluidSynth, RenderFailuresAreMessagesAndStopTheRender) {
    InMemoria uscita;
    EXPECT_NE(Render(Accordo(), {"/nessun/font.sf2", 44100, {}}, uscita).find("SoundFont"),
              std::string::npos);
    const auto falso = cartella.Percorso() / "falso.sf2";
    ScriviFile(falso, Testo("RIFF non proprio"));
    EXPECT_NE(Render(Accordo(), {falso.string(), 44100, {}}, uscita), "");
    EXPECT_NE(Render(Accordo(), {"", 100, {}}, uscita), "");
    EXPECT_EQ(uscita.annunciati, 0u) << "nothing is opened before the synthesizer is ready";
    uscita.guastoDa = 3;
    EXPECT_EQ(Render(Accordo(), {"", 44100, {}}, uscita), "guasto");
    EXPECT_EQ(uscita.scritture, 3) << "the first failed write ends the render";
}

// A preview cut while an organ holds its chord: the notes are let go at the cut, so
// the tail holds their release, not the chord going on.
TEST_F(FluidSynth, MusicCutShortReleasesItsNotes) {
    const velmora::Sequenza organo = velmora::LeggiSequenza(
        File(0, 1,
             {Unisci({Evento(0, {0xC0, 19}), Evento(0, {0x90, 60, 110}), Evento(0, {64, 110}),
                      Evento(20, {0x80, 60, 0}), Evento(0, {0x80, 64, 0}), FineTraccia()})}));
    InMemoria uscita;
    ASSERT_EQ(Render(organo, {"", 8000, 1.0}, uscita), "");
    Wav w = uscita.Letto(cartella.Percorso() / "organo.wav");
    ASSERT_NEAR(w.Secondi(), 1.0 + velmora::kCodaRender, 0.001);
    const auto rms = [&](double da, double a) {
        Wav parte = w;
        parte.campioni.assign(w.campioni.begin() + static_cast<std::ptrdiff_t>(da * 16000),
                              w.campioni.begin() + static_cast<std::ptrdiff_t>(a * 16000));
        return parte.Rms();
    };
    EXPECT_GT(rms(0.5, 1.0), 0.01);
    EXPECT_LT(rms(2.5, 3.0), rms(0.5, 1.0) / 20);
}

TEST_F(FluidSynth, LiveBackEndPlaysThroughItsAudioDriver) {
    const auto uscita = cartella.Percorso() / "dal_vivo.wav";
    std::mutex m;
    std::condition_variable cv;
    bool finito = false;
    {
        velmora::Riproduzione lettore([&](std::string& errore) {
            return velmora::ApriFluidSynth("", "file", uscita.string(), errore);
        });
        lettore.AlTermine([&] {
            std::lock_guard b(m);
            finito = true;
            cv.notify_all();
        });
        ASSERT_EQ(lettore.Suona(Accordo()), "");
        std::unique_lock b(m);
        ASSERT_TRUE(cv.wait_for(b, std::chrono::seconds(20), [&] { return finito; }));
    }
    // The file driver writes raw samples; some of them must carry the chord.
    std::ifstream in(uscita, std::ios::binary);
    std::vector<char> dati{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_GT(dati.size(), 44100u);
    EXPECT_TRUE(std::any_of(dati.begin(), dati.end(), [](char c) { return c != 0; }));
}
