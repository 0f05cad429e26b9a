// A destination of MIDI channel messages: the synthesizer the player drives. Each
// back end (FluidSynth, the Windows MIDI synthesizer) is one implementation, chosen
// when the program is built.
#pragma once

#include "sequenza.h"

#include <memory>
#include <string>

namespace velmora {

class Sintetizzatore {
public:
    virtual ~Sintetizzatore() = default;
    virtual void Invia(const EventoMidi& evento) = 0;
    // Every sound stops at once (after a stop, before the next file).
    virtual void Silenzia() = 0;
    // Programs and controllers back to their defaults, so a file never inherits the
    // previous one's instruments.
    virtual void Azzera() = 0;
};

// Opens this build's synthesizer on the system's audio output. soundFont is used by the
// back ends that need one (empty: the system's default General MIDI SoundFont). On
// failure the result is empty and errore says why, in words for the user.
std::unique_ptr<Sintetizzatore> ApriSintetizzatore(const std::string& soundFont,
                                                   std::string& errore);

} // namespace velmora
