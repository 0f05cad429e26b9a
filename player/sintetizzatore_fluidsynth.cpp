#include "sintetizzatore_fluidsynth.h"

#include <algorithm>

namespace velmora {

namespace {

// About 0.19 s of sound buffered (8192 frames at 44100 Hz): FluidSynth's default of 64
// frames runs dry as soon as the machine is busy, and 2048 still did with the processor
// shared by a dozen busy processes. The size costs latency only, not timing, since each
// event is placed at its frame in the buffer. ALSA's driver buffers kPeriodi periods,
// PulseAudio's only one, which then holds it all.
constexpr int kFrameInCoda = 8192;
constexpr int kPeriodi = 4;

int SuonaPerIlDriver(void* dati, int frame, int /*nfx*/, float* /*fx*/[], int nout, float* out[]) {
    if (nout < 2) {
        return FLUID_FAILED;
    }
    static_cast<SintetizzatoreFluid*>(dati)->Suona(frame, out[0], out[1]);
    return FLUID_OK;
}

} // namespace

SintetizzatoreFluid::SintetizzatoreFluid(ImpostazioniFluid i, SynthFluid s, Sorgente& f)
    : impostazioni(std::move(i)), synth(std::move(s)), sorgente(f) {
    double hz = 0;
    if (fluid_settings_getnum(impostazioni.get(), "synth.sample-rate", &hz) == FLUID_OK) {
        frequenza = static_cast<int>(hz);
    }
}

std::unique_ptr<SintetizzatoreFluid>
SintetizzatoreFluid::Crea(const std::string& soundFont, Sorgente& sorgente, std::string& errore) {
    ImpostazioniFluid impostazioni = NuoveImpostazioni();
    SynthFluid synth = NuovoSynth(impostazioni.get(), soundFont, errore);
    if (!synth) {
        return nullptr;
    }
    return std::unique_ptr<SintetizzatoreFluid>(
        new SintetizzatoreFluid(std::move(impostazioni), std::move(synth), sorgente));
}

bool SintetizzatoreFluid::ApriUscita() {
    fluid_settings_t* s = impostazioni.get();
    fluid_settings_setint(s, "audio.periods", kPeriodi);
    // JACK, which FluidSynth may prefer, would try to start a server of its own.
    for (std::string nome : {"pulseaudio", "alsa", ""}) {
        char* predefinito = nullptr;
        if (nome.empty() &&
            fluid_settings_getstr_default(s, "audio.driver", &predefinito) == FLUID_OK) {
            nome = predefinito;
        }
        if (fluid_settings_setstr(s, "audio.driver", nome.c_str()) != FLUID_OK) {
            continue; // not built into this FluidSynth
        }
        fluid_settings_setint(s, "audio.period-size",
                              nome == "pulseaudio" ? kFrameInCoda : kFrameInCoda / kPeriodi);
        driver.reset(new_fluid_audio_driver2(s, SuonaPerIlDriver, this));
        if (driver) {
            return true;
        }
    }
    return false;
}

void SintetizzatoreFluid::Suona(int frame, float* sinistra, float* destra) {
    std::fill_n(sinistra, frame, 0.0f);
    std::fill_n(destra, frame, 0.0f);
    uscita[0] = sinistra;
    uscita[1] = destra;
    resi = 0;
    sorgente.Periodo(frame, frequenza, *this);
    RendiFino(frame);
}

void SintetizzatoreFluid::Evento(int frame, const EventoMidi& e) {
    RendiFino(frame);
    InviaEvento(synth.get(), e);
}

void SintetizzatoreFluid::RendiFino(int frame) {
    if (frame <= resi) {
        return;
    }
    float* secco[2] = {uscita[0] + resi, uscita[1] + resi};
    // Reverb and chorus mixed into the two channels (FluidSynth adds to the buffers), as
    // the render writes them.
    float* effetti[4] = {secco[0], secco[1], secco[0], secco[1]};
    fluid_synth_process(synth.get(), frame - resi, 4, effetti, 2, secco);
    resi = frame;
}

void SintetizzatoreFluid::Silenzia() {
    fluid_synth_all_sounds_off(synth.get(), -1);
}

void SintetizzatoreFluid::Azzera() {
    fluid_synth_system_reset(synth.get());
    // A reset that comes before the synthesizer has rendered the silence just asked for
    // brings the silenced voices back (FluidSynth 2.3): they are silenced again after it.
    fluid_synth_all_sounds_off(synth.get(), -1);
    // Setting the chorus again restarts its modulation, which otherwise goes on from
    // wherever the previous sound left it: each file then sounds as its render (only the
    // reverb's slow modulation carries on).
    int voci = 0;
    if (fluid_synth_get_chorus_group_nr(synth.get(), 0, &voci) == FLUID_OK) {
        fluid_synth_set_chorus_group_nr(synth.get(), -1, voci);
    }
}

std::unique_ptr<Sintetizzatore> ApriSintetizzatore(const std::string& soundFont, Sorgente& sorgente,
                                                   std::string& errore) {
    std::unique_ptr<SintetizzatoreFluid> s = SintetizzatoreFluid::Crea(soundFont, sorgente, errore);
    if (s && !s->ApriUscita()) {
        errore = "Nessun dispositivo audio disponibile: impossibile ascoltare il file.";
        return nullptr;
    }
    return s;
}

} // namespace velmora
