// Listening to a file: the small interface the program plays through, so that its
// windows can be tested against a player that only records what it is asked.
#pragma once

#include <functional>
#include <string>

namespace velmora {

class Lettore {
public:
    virtual ~Lettore() = default;
    // Plays the file (UTF-8 path) from its start, stopping what was playing. Returns an
    // empty text when it plays, otherwise the message to show; then nothing plays.
    virtual std::string Suona(const std::string& percorso) = 0;
    virtual void Ferma() = 0;
    virtual bool InRiproduzione() const = 0;
    virtual double Posizione() const = 0; // seconds since the start of the file
    virtual double Durata() const = 0;    // seconds, of the file playing or last played
    // Called once when a file ends by itself, its release heard (never after Ferma), on
    // the player's own thread: the receiver hands it over to its own thread and must not
    // call Ferma there.
    virtual void AlTermine(std::function<void()> fine) = 0;
};

} // namespace velmora
