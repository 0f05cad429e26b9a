// Builds without FluidSynth have no synthesizer to render with offline.
#include "render_wav.h"

namespace velmora {

std::string RenderizzaWav(const Sequenza& /*sequenza*/, const PianoRender& /*piano*/,
                          const OpzioniRender& /*opzioni*/, UscitaWav& /*uscita*/) {
    return "Render non disponibile: il programma è stato compilato senza FluidSynth.";
}

} // namespace velmora
