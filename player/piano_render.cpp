#include "render_wav.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

constexpr std::uint64_t kIntestazioneWav = 44;
constexpr std::uint64_t kBytePerFrame = 4; // two channels of 16 bits
constexpr std::uint64_t kFrameAssurdi = std::uint64_t{1} << 60;

bool Nota(const EventoMidi& e) {
    return (e.stato & 0xF0) == 0x80 || (e.stato & 0xF0) == 0x90;
}

} // namespace

std::uint64_t PianoRender::ByteWav() const {
    return kIntestazioneWav + frame * kBytePerFrame;
}

PianoRender Pianifica(const Sequenza& sequenza, const OpzioniRender& opzioni) {
    PianoRender piano;
    const auto ultima = std::find_if(sequenza.eventi.rbegin(), sequenza.eventi.rend(), Nota);
    piano.fineMusica = ultima == sequenza.eventi.rend() ? 0 : ultima->secondi;
    if (opzioni.secondiMassimi && *opzioni.secondiMassimi < piano.fineMusica) {
        piano.fineMusica = std::max(0.0, *opzioni.secondiMassimi);
        piano.troncato = true;
    }
    // Held far above any WAV that can be written, so that the size of an absurd one is
    // still a number to refuse.
    const double frame = std::round((piano.fineMusica + kCodaRender) * opzioni.frequenza);
    piano.frame = frame < static_cast<double>(kFrameAssurdi) ? static_cast<std::uint64_t>(frame)
                                                             : kFrameAssurdi;
    return piano;
}

} // namespace velmora
