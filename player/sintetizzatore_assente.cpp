// Builds with no synthesizer back end (FluidSynth not found, not Windows): listening
// is reported as unavailable, everything else works.
#include "sintetizzatore.h"

namespace velmora {

std::unique_ptr<Sintetizzatore> ApriSintetizzatore(const std::string& /*soundFont*/,
                                                   Sorgente& /*sorgente*/, std::string& errore) {
    errore = "Ascolto non disponibile: il programma è stato compilato senza FluidSynth.";
    return nullptr;
}

} // namespace velmora
