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

class FluidSynth : public ::testing::Test {
protected:
    void SetUp() override {
        if (velmora::SoundFontPredefinita().empty()) {
            GTEST_SKIP() << "nessun SoundFont General MIDI installato";
        }
    }
    CartellaTemporanea cartella;
};

} // namespace

TEST_F(FluidSynth, RendersAWellFormedAudibleWavOfTheFilesLength) {
    const auto uscita = cartella.Percorso() / "accordo.wav";
    ASSERT_EQ(velmora::RenderizzaWav(Accordo(), uscita.string(), {"", 22050}), "");
    const Wav w = LeggiWav(uscita);
    ASSERT_TRUE(w.valido);
    EXPECT_EQ(w.canali, 2u);
    EXPECT_EQ(w.frequenza, 22050u);
    EXPECT_NEAR(w.Secondi(), 1.0 + velmora::kCodaRender, 0.001);
    EXPECT_GT(w.Rms(), 0.005);
}

TEST_F(FluidSynth, RenderFailuresAreMessagesAndLeaveNoFile) {
    const auto uscita = cartella.Percorso() / "x.wav";
    EXPECT_NE(velmora::RenderizzaWav(Accordo(), uscita.string(), {"/nessun/font.sf2", 44100})
                  .find("SoundFont"),
              std::string::npos);
    const auto falso = cartella.Percorso() / "falso.sf2";
    ScriviFile(falso, Testo("RIFF non proprio"));
    EXPECT_NE(velmora::RenderizzaWav(Accordo(), uscita.string(), {falso.string(), 44100}), "");
    EXPECT_NE(velmora::RenderizzaWav(Accordo(), uscita.string(), {"", 100}), "");
    EXPECT_NE(velmora::RenderizzaWav(Accordo(), (cartella.Percorso() / "no" / "x.wav").string(),
                                     {"", 44100}),
              "");
    EXPECT_FALSE(std::filesystem::exists(uscita));
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
