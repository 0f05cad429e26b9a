#include "render_wav.h"

#include "sintesi_fluid.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace velmora {

namespace {

constexpr int kCanali = 2;
constexpr int kBlocco = 4096; // frames rendered per call

void Aggiungi32(std::string& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out += static_cast<char>(v >> (8 * i));
    }
}

std::string Intestazione(std::uint32_t frequenza, std::uint32_t byteDati) {
    std::string out = "RIFF";
    Aggiungi32(out, 36 + byteDati);
    out += "WAVEfmt ";
    Aggiungi32(out, 16);
    Aggiungi32(out, 1 | (kCanali << 16)); // PCM, channels
    Aggiungi32(out, frequenza);
    Aggiungi32(out, frequenza * kCanali * 2);
    Aggiungi32(out, (kCanali * 2) | (16 << 16)); // block align, bits per sample
    out += "data";
    Aggiungi32(out, byteDati);
    return out;
}

// Samples are written little-endian whatever the processor's order.
std::string_view Campioni(const std::vector<std::int16_t>& campioni, int frame,
                          std::vector<char>& b) {
    b.resize(static_cast<std::size_t>(frame) * kCanali * 2);
    for (std::size_t i = 0; i < b.size() / 2; ++i) {
        const auto v = static_cast<std::uint16_t>(campioni[i]);
        b[2 * i] = static_cast<char>(v);
        b[2 * i + 1] = static_cast<char>(v >> 8);
    }
    return {b.data(), b.size()};
}

// Music cut short: the pedals let go and every note released, so that the tail holds
// the release and not the notes still held.
void RilasciaTutto(fluid_synth_t* synth) {
    for (int canale = 0; canale < 16; ++canale) {
        fluid_synth_cc(synth, canale, 64, 0);  // sustain pedal
        fluid_synth_cc(synth, canale, 123, 0); // all notes off
    }
}

} // namespace

std::string RenderizzaWav(const Sequenza& sequenza, const PianoRender& piano,
                          const OpzioniRender& opzioni, UscitaWav& uscita) {
    if (opzioni.frequenza < 8000 || opzioni.frequenza > 96000) {
        return "Frequenza di campionamento non valida (da 8000 a 96000).";
    }
    if (piano.ByteWav() > kByteWavMassimi) {
        return "Il WAV supererebbe i 4 GiB che il formato consente.";
    }
    ImpostazioniFluid impostazioni = NuoveImpostazioni();
    if (impostazioni) {
        fluid_settings_setnum(impostazioni.get(), "synth.sample-rate", opzioni.frequenza);
    }
    std::string errore;
    SynthFluid synth = NuovoSynth(impostazioni.get(), opzioni.soundFont, errore);
    if (!synth) {
        return errore;
    }
    const auto byteDati = static_cast<std::uint32_t>(piano.ByteWav() - 44);
    errore = uscita.Apri(piano.ByteWav());
    if (errore.empty()) {
        errore =
            uscita.Scrivi(Intestazione(static_cast<std::uint32_t>(opzioni.frequenza), byteDati));
    }
    std::vector<std::int16_t> campioni(kBlocco * kCanali);
    std::vector<char> buffer;
    std::uint64_t scritti = 0;
    auto renderFino = [&](std::uint64_t frame) {
        while (scritti < frame && errore.empty()) {
            const int n = static_cast<int>(std::min<std::uint64_t>(kBlocco, frame - scritti));
            fluid_synth_write_s16(synth.get(), n, campioni.data(), 0, kCanali, campioni.data(), 1,
                                  kCanali);
            errore = uscita.Scrivi(Campioni(campioni, n, buffer));
            scritti += n;
        }
    };
    // Past the music only what falls in the tail (pedals and controllers let go after
    // the last note); past a cut, nothing.
    const double fine = piano.troncato ? piano.fineMusica : piano.fineMusica + kCodaRender;
    for (const EventoMidi& e : sequenza.eventi) {
        if (e.secondi >= fine || !errore.empty()) {
            break;
        }
        renderFino(std::min(
            piano.frame, static_cast<std::uint64_t>(std::llround(e.secondi * opzioni.frequenza))));
        InviaEvento(synth.get(), e);
    }
    if (piano.troncato) {
        renderFino(static_cast<std::uint64_t>(std::llround(piano.fineMusica * opzioni.frequenza)));
        RilasciaTutto(synth.get());
    }
    renderFino(piano.frame);
    return errore;
}

} // namespace velmora
