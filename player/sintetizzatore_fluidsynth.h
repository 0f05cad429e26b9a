// The FluidSynth back end on an audio driver of FluidSynth's own.
#pragma once

#include "sintetizzatore.h"

namespace velmora {

// driver "" tries the usual desktop outputs (PulseAudio, also served by PipeWire, then
// ALSA) and then FluidSynth's default; "file" writes the sound to fileAudio instead.
std::unique_ptr<Sintetizzatore> ApriFluidSynth(const std::string& soundFont,
                                               const std::string& driver,
                                               const std::string& fileAudio, std::string& errore);

} // namespace velmora
