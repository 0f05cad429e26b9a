// The real FluidSynth back end: the offline render, and the live synthesizer with the
// test in place of the sound card.
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

TEST_F(FluidSynth, LivePlaybackSoundsAsTheRenderAndEndsWithItsTail) {
    velmora::Sequenza scala; // short notes, strings with all the chorus
    scala.eventi = {{0, 0xC0, 48, 0}, {0, 0xB0, 93, 127}};
    for (std::uint8_t n = 0; n < 8; ++n) {
        const double t = 0.013 + n * 0.137;
        scala.eventi.push_back({t, 0x90, static_cast<std::uint8_t>(60 + n), 100});
        scala.eventi.push_back({t + 0.1, 0x80, static_cast<std::uint8_t>(60 + n), 0});
        scala.durata = t + 0.1;
    }
    const auto wav = cartella.Percorso() / "scala.wav";
    ASSERT_EQ(velmora::RenderizzaWav(scala, wav.string(), {"", 44100}), "");
    const Wav render = LeggiWav(wav);
    ASSERT_TRUE(render.valido);

    // The live back end, its periods asked for as a sound card would, the events falling
    // inside them.
    velmora::SintetizzatoreFluid* fluido = nullptr;
    velmora::Riproduzione lettore([&](velmora::Sorgente& s, std::string& errore) {
        auto p = velmora::SintetizzatoreFluid::Crea("", s, errore);
        fluido = p.get();
        return p;
    });
    std::vector<float> sinistra(960), destra(960);
    // Plays until the file ends or massimo samples, and returns how far the sound is from
    // the render's over the same stretch (0: the same).
    auto scarto = [&](std::size_t massimo, std::vector<double>& dalVivo) {
        while (lettore.InRiproduzione() && dalVivo.size() < massimo) {
            fluido->Suona(960, sinistra.data(), destra.data());
            for (std::size_t i = 0; i < sinistra.size(); ++i) {
                dalVivo.push_back(sinistra[i] * 32768.0);
                dalVivo.push_back(destra[i] * 32768.0);
            }
        }
        double differenza = 0;
        double segnale = 0;
        for (std::size_t i = 0; i < render.campioni.size() && i < dalVivo.size(); ++i) {
            differenza += std::pow(dalVivo[i] - render.campioni[i], 2);
            segnale += std::pow(static_cast<double>(render.campioni[i]), 2);
        }
        return std::sqrt(differenza / segnale);
    };
    ASSERT_EQ(lettore.Suona(scala), "");
    ASSERT_EQ(fluido->Frequenza(), 44100);
    std::vector<double> prima;
    // Half a second, stopping in the middle of a note.
    EXPECT_LT(scarto(44100, prima), 0.01) << "each event at its frame";
    // The same file again, on a synthesizer that has already played: nothing of the
    // first sound is left, the chorus starts over (the reverb's slow modulation does not:
    // a few hundredths).
    ASSERT_EQ(lettore.Suona(scala), "");
    std::vector<double> dopo;
    EXPECT_LT(scarto(render.campioni.size() + 10000, dopo), 0.1);
    EXPECT_GE(dopo.size(), render.campioni.size()) << "the release tail is played";
    EXPECT_LT(dopo.size(), render.campioni.size() + 2000) << "and then the file ends";
}
