// Offline rendering of a file to a 16-bit stereo WAV, as fast as the processor allows:
// no audio device is involved.
#pragma once

#include "sequenza.h"

#include <string>

namespace velmora {

// Seconds rendered after the last event, for the notes' release and the reverb.
constexpr double kCodaRender = 2.0;

struct OpzioniRender {
    std::string soundFont; // empty: the system's default General MIDI SoundFont
    int frequenza = 44100; // samples per second
};

// Writes sequenza to the file uscita (UTF-8 path). Returns an empty text on success,
// otherwise the message to show; a failed write leaves no partial file behind.
std::string RenderizzaWav(const Sequenza& sequenza, const std::string& uscita,
                          const OpzioniRender& opzioni);

} // namespace velmora
