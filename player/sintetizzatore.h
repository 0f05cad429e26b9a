// A synthesizer the player drives, and the player's side of it. The back end keeps the
// time: before each period of sound it plays it asks the player for the events due in
// that period, so the music follows the sound card's own clock (or the system's, for a
// back end that has none). Each back end (FluidSynth, the Windows MIDI synthesizer) is
// one implementation, chosen when the program is built.
#pragma once

#include "sequenza.h"

#include <memory>
#include <string>

namespace velmora {

// Where the events of one period go: the back end playing it.
class Ricevente {
public:
    // e is due `frame` frames after the start of the period.
    virtual void Evento(int frame, const EventoMidi& e) = 0;

protected:
    ~Ricevente() = default;
};

// The player, as a back end sees it.
class Sorgente {
public:
    // Called on the back end's own thread for each period of `frame` frames (at
    // `frequenza` frames a second) it plays, before a sound card plays it or once the
    // system's clock has gone through it: hands ricevente the events due in it, in order.
    // The first period after a file starts is that file's time zero.
    virtual void Periodo(int frame, int frequenza, Ricevente& ricevente) = 0;

protected:
    ~Sorgente() = default;
};

class Sintetizzatore {
public:
    // Stops asking the player for periods before it returns.
    virtual ~Sintetizzatore() = default;
    // Every sound stops at once (after a stop, before the next file).
    virtual void Silenzia() = 0;
    // Programs and controllers back to their defaults, so a file never inherits the
    // previous one's instruments.
    virtual void Azzera() = 0;
};

// Opens this build's synthesizer on the system's audio output, fed by sorgente from then
// on. soundFont is used by the back ends that need one (empty: the system's default
// General MIDI SoundFont). On failure the result is empty and errore says why, in words
// for the user.
std::unique_ptr<Sintetizzatore> ApriSintetizzatore(const std::string& soundFont, Sorgente& sorgente,
                                                   std::string& errore);

} // namespace velmora
