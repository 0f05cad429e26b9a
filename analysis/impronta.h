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
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace velmora {

// A 64-bit hash of the bytes (the XXH64 algorithm, seed 0).
std::uint64_t Hash64(std::span<const std::uint8_t> bytes);

// The note-ons of one walk, gathered as they are met, in any order. Ticks are counted
// in 64 bits: a track's deltas can add up past 2^32, and a wrapped tick would give a
// late note the fingerprint of an early one.
class RaccoltaNote {
public:
    // Where the walk writes the notes.
    struct Penna {
        std::uint64_t* scrivi = nullptr;
        std::uint64_t* ultima = nullptr; // the end of the room
    };

    // Room for every note a file of this size can hold (three bytes each at least), and
    // the pen that writes there.
    Penna Riserva(std::int32_t dimensione);
    // One channel message of the walk; the note-ons with a velocity above 0 are kept.
    void Messaggio(Penna& penna, std::uint64_t tick, std::uint8_t status, std::uint8_t tasto,
                   std::uint8_t velocita) {
        if (status >> 4 != 9 || velocita == 0) {
            return;
        }
        if (tick >> kBitTick != 0 || penna.scrivi == penna.ultima) [[unlikely]] {
            Altrove(penna, tick, status, tasto);
            return;
        }
        // Inside a note-on, channel 10 (the drums) is status 0x99.
        *penna.scrivi++ = tick << 9 | std::uint64_t{tasto} << 1 | (status == 0x99 ? 1 : 0);
    }
    // The fingerprint for the given division, none without notes or without a division.
    // Takes the notes the pen wrote: call it once, after the walk.
    std::optional<std::uint64_t> Impronta(const Penna& penna, std::uint32_t divisione);

private:
    struct Lontana {
        std::uint64_t tick;
        std::uint64_t chiave; // key, drum
    };
    // A note whose tick does not fit its word, or one more than the room reserved.
    void Altrove(Penna& penna, std::uint64_t tick, std::uint8_t status, std::uint8_t tasto);

    // Ticks below 2^55 fit in a word beside the key and the drum bit; only files of
    // hundreds of megabytes reach beyond.
    static constexpr int kBitTick = 55;
    std::unique_ptr<std::uint64_t[]> note; // tick, key, drum
    std::size_t capacita = 0;
    std::vector<Lontana> lontane; // notes from 2^55 ticks on
};

} // namespace velmora
