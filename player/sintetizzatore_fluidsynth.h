// The FluidSynth back end. Its audio driver asks for each buffer of sound; the events due
// in the buffer are played at their own frames, between the pieces rendered around them,
// exactly as the offline render places them.
#pragma once

#include "sintesi_fluid.h"
#include "sintetizzatore.h"

namespace velmora {

class SintetizzatoreFluid final : public Sintetizzatore, private Ricevente {
public:
    // The synthesizer with soundFont (empty: the system's default) loaded, fed by sorgente,
    // silent until ApriUscita or the caller plays its periods. On failure the result is
    // empty and errore says why.
    static std::unique_ptr<SintetizzatoreFluid> Crea(const std::string& soundFont,
                                                     Sorgente& sorgente, std::string& errore);

    // Plays on the system's audio output, trying PulseAudio (also served by PipeWire),
    // ALSA, then FluidSynth's default. False when none opens.
    bool ApriUscita();
    // One period of sound into sinistra and destra (frame floats each, overwritten) with
    // the events due in it: what the audio driver asks for each buffer.
    void Suona(int frame, float* sinistra, float* destra);
    int Frequenza() const { return frequenza; }

    void Silenzia() override;
    void Azzera() override;

private:
    SintetizzatoreFluid(ImpostazioniFluid impostazioni, SynthFluid synth, Sorgente& sorgente);
    void Evento(int frame, const EventoMidi& e) override;
    void RendiFino(int frame);

    struct ChiudiDriver {
        void operator()(fluid_audio_driver_t* d) const { delete_fluid_audio_driver(d); }
    };

    ImpostazioniFluid impostazioni;
    SynthFluid synth;
    Sorgente& sorgente;
    int frequenza = 44100;
    // The period being played, on the driver's thread only.
    float* uscita[2] = {};
    int resi = 0; // its frames rendered so far
    // Last, so destroyed first: the driver stops asking for sound before the synth goes.
    std::unique_ptr<fluid_audio_driver_t, ChiudiDriver> driver;
};

} // namespace velmora
