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

TEST_F(FluidSynth, LivePlaybackSoundsAsTheRenderAndEndsWithItsTail) {
    velmora::Sequenza scala; // short notes, strings with all the chorus
    scala.eventi = {{0, 0xC0, 48, 0}, {0, 0xB0, 93, 127}};
    for (std::uint8_t n = 0; n < 8; ++n) {
        const double t = 0.013 + n * 0.137;
        scala.eventi.push_back({t, 0x90, static_cast<std::uint8_t>(60 + n), 100});
        scala.eventi.push_back({t + 0.1, 0x80, static_cast<std::uint8_t>(60 + n), 0});
        scala.durata = t + 0.1;
    }
    InMemoria uscita;
    ASSERT_EQ(Render(scala, {"", 44100, {}}, uscita), "");
    const Wav render = uscita.Letto(cartella.Percorso() / "scala.wav");
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
