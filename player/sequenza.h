// The channel messages of a Standard MIDI File on one timeline in seconds: what every
// synthesizer back end plays and what the offline render writes, read by the one event
// walk (passo.h) under the player's rules. Reading never throws; a file that breaks off
// keeps the events read before the fault.
#pragma once

#include <cstddef>
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

// A text (FF01) or lyric (FF05) event, its bytes as the file has them.
struct TestoMidi {
    double secondi = 0;
    std::uint32_t traccia = 0; // the track chunk, counted from 0
    std::uint8_t tipo = 0;     // 0x01 or 0x05
    std::string testo;
};

struct Sequenza {
    std::vector<EventoMidi> eventi; // in time order; equal times keep the file's order
    std::vector<TestoMidi> testi;   // in time order too
    double durata = 0;              // seconds up to the last event
    bool danneggiata = false;       // some track broke off
};

// Larger files are not played: their events alone could take gigabytes of memory.
constexpr std::size_t kByteSequenzaMassimi = std::size_t{64} << 20;

Sequenza LeggiSequenza(std::span<const std::uint8_t> file);

// Reads the regular file at percorso (UTF-8) of at most kByteSequenzaMassimi bytes. On
// failure the result is false and errore holds the message to show: unreadable (also a
// folder, a device or a pipe), not a MIDI file, nothing to play (no note-on with a
// velocity above 0).
bool CaricaSequenza(const std::string& percorso, Sequenza& sequenza, std::string& errore);

} // namespace velmora
