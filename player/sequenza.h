// The channel messages of a Standard MIDI File on one timeline in seconds: what every
// synthesizer back end plays and what the offline render writes, read by the one event
// walk (passo.h) under the player's rules. Reading never throws; a file that breaks off
// keeps the events read before the fault.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace velmora {

struct EventoMidi {
    double secondi = 0;     // from the start of the file
    std::uint8_t stato = 0; // 0x80 to 0xEF
    std::uint8_t dato1 = 0;
    std::uint8_t dato2 = 0; // 0 for the messages with one data byte
};

struct Sequenza {
    std::vector<EventoMidi> eventi; // in time order; equal times keep the file's order
    double durata = 0;              // seconds up to the last event
    bool danneggiata = false;       // some track broke off
};

// A damaged file's events past this time are left out: a corrupt delta time can put one
// event days away, and a render must not fill the disk for it.
constexpr double kDurataMassima = 60.0 * 60.0;

Sequenza LeggiSequenza(std::span<const std::uint8_t> file);

// Reads the file at percorso (UTF-8). On failure the result is false and errore holds the
// message to show: unreadable, not a MIDI file, no notes to play.
bool CaricaSequenza(const std::string& percorso, Sequenza& sequenza, std::string& errore);

} // namespace velmora
