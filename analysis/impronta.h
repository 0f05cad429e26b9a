// What finds duplicate files: a hash of a file's bytes and a fingerprint of its music.
//
// The musical fingerprint hashes the file's note-ons with a velocity above 0, each as
// (time in quarter notes, key, drum channel or not), sorted by time, key and drum, from
// whatever track or channel they come. The time is the note's tick over the division,
// kept exact: all ticks and the division are divided by their greatest common divisor,
// so a file saved at twice the division with every delta doubled keeps its fingerprint.
// Left out on purpose, so that a file saved again by another program keeps it: the
// track layout and order, channels other than the drum channel, running status, note-
// offs and velocities, every meta and system-exclusive event (names, texts, copyright,
// tempo, time signature), program and controller changes. Every note-on counts, also
// one that repeats a sounding note, so the notes form a multiset and a changed, added or
// removed note changes the fingerprint. The notes are hashed as that multiset, which is
// what hashing them sorted amounts to, without sorting them (impronta.cpp). A file
// without such notes, or whose analysis failed, has no fingerprint; a format-2 file
// counts each pattern from its own start.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace velmora {

// A 64-bit hash of the bytes (the XXH64 algorithm, seed 0).
std::uint64_t Hash64(std::span<const std::uint8_t> bytes);

// The note-ons of one walk, gathered as they are met, in any order.
class RaccoltaNote {
public:
    void Nota(std::uint32_t tick, std::uint8_t canale, std::uint8_t tasto) {
        note.push_back(std::uint64_t{tick} << 9 | std::uint64_t{tasto} << 1 |
                       (canale == kCanaleBatteria ? 1u : 0u));
    }
    // Room for every note a file of this size can hold (three bytes each at least), so
    // that gathering never moves them.
    void Riserva(std::int32_t dimensione) {
        note.reserve(static_cast<std::size_t>(dimensione) / 3);
    }
    // The fingerprint for the given division, none without notes or without a division.
    // Consumes the notes: call it once, after the walk.
    std::optional<std::uint64_t> Impronta(std::uint32_t divisione);

private:
    static constexpr std::uint8_t kCanaleBatteria = 9; // MIDI channel 10
    std::vector<std::uint64_t> note;                   // tick, key, drum
};

} // namespace velmora
