// Offline rendering of a file to a 16-bit stereo WAV, as fast as the processor allows:
// no audio device is involved.
#pragma once

#include "sequenza.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// Seconds rendered after the music, for the notes' release and the reverb.
constexpr double kCodaRender = 2.0;

// The largest WAV the format can describe: its sizes are 32-bit numbers.
constexpr std::uint64_t kByteWavMassimi = 0xFFFFFFFF;

struct OpzioniRender {
    std::string soundFont;                // empty: the system's default General MIDI SoundFont
    int frequenza = 44100;                // samples per second
    std::optional<double> secondiMassimi; // only the first seconds of music (a preview)
};

// What the WAV of a sequence holds: its music up to its last note event, where the
// catalogue's duration of a file ends too (a corrupt controller hours after the last
// note adds nothing), cut at secondiMassimi, then the release tail.
struct PianoRender {
    double fineMusica = 0;   // seconds of music
    std::uint64_t frame = 0; // sample frames of the whole WAV, tail included
    bool troncato = false;   // secondiMassimi cut the music short

    std::uint64_t ByteWav() const; // the size of the WAV file, header included
};

PianoRender Pianifica(const Sequenza& sequenza, const OpzioniRender& opzioni);

// Where the WAV goes: opened once the synthesizer is ready, then given the bytes in
// order. Each call returns an empty text, or the message that stops the render.
class UscitaWav {
public:
    virtual ~UscitaWav() = default;
    virtual std::string Apri(std::uint64_t byteWav) = 0;
    virtual std::string Scrivi(std::string_view byte) = 0;
};

// Renders sequenza as piano says into uscita. Returns an empty text on success,
// otherwise the message to show.
std::string RenderizzaWav(const Sequenza& sequenza, const PianoRender& piano,
                          const OpzioniRender& opzioni, UscitaWav& uscita);

} // namespace velmora
