// Builds without FluidSynth have no synthesizer to render with offline.
#include "render_wav.h"

namespace velmora {

std::string RenderizzaWav(const Sequenza& /*sequenza*/, const std::string& /*uscita*/,
                          const OpzioniRender& /*opzioni*/) {
    return "Render non disponibile: il programma è stato compilato senza FluidSynth.";
}

} // namespace velmora
