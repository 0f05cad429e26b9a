// What the live FluidSynth back end and the offline render share: one synthesizer with
// its SoundFont, fed with the file's channel messages.
#pragma once

#include "sequenza.h"

#include <fluidsynth.h>
#include <memory>
#include <string>

namespace velmora {

struct ChiudiImpostazioni {
    void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
};
struct ChiudiSynth {
    void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
};
using ImpostazioniFluid = std::unique_ptr<fluid_settings_t, ChiudiImpostazioni>;
using SynthFluid = std::unique_ptr<fluid_synth_t, ChiudiSynth>;

// The first General MIDI SoundFont of the system's usual places, or "" when none is there.
std::string SoundFontPredefinita();

// FluidSynth's own settings, with its console messages silenced: the program reports
// failures in its own words.
ImpostazioniFluid NuoveImpostazioni();

// A synthesizer on impostazioni with soundFont loaded (empty: SoundFontPredefinita()).
// On failure the result is empty and errore says why.
SynthFluid NuovoSynth(fluid_settings_t* impostazioni, const std::string& soundFont,
                      std::string& errore);

void InviaEvento(fluid_synth_t* synth, const EventoMidi& e);

} // namespace velmora
