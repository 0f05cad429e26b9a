// Damaged MIDI files made on purpose: deterministic mutations of byte-built files that
// hold every kind of event the readers know, for tests that run the readers over
// thousands of damaged files.
#pragma once

#include "costruttore_midi.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

namespace prova {

// splitmix64: the same mutations on every run and machine.
struct Generatore {
    std::uint64_t stato;
    std::uint64_t operator()() {
        std::uint64_t z = (stato += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Fino(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>((*this)() % n); }
};

// One to three mutations: bytes changed, inserted, removed, copied, the file cut short.
inline Bytes Muta(Bytes b, Generatore& g) {
    static constexpr std::uint8_t kNotevoli[] = {0x00, 0x01, 0x03, 0x05, 0x2F, 0x40,
                                                 0x51, 0x58, 0x7F, 0x80, 0x81, 0x90,
                                                 0xC0, 0xF0, 0xF5, 0xF7, 0xFF, 0x4D};
    const std::size_t volte = 1 + g.Fino(3);
    for (std::size_t v = 0; v < volte && !b.empty(); ++v) {
        const std::size_t i = g.Fino(b.size());
        switch (g.Fino(7)) {
        case 0:
            b[i] = static_cast<std::uint8_t>(g());
            break;
        case 1:
            b[i] = kNotevoli[g.Fino(std::size(kNotevoli))];
            break;
        case 2:
            for (std::size_t k = 1 + g.Fino(8); k > 0; --k) {
                b.insert(b.begin() + static_cast<std::ptrdiff_t>(i),
                         static_cast<std::uint8_t>(g()));
            }
            break;
        case 3:
            b.erase(b.begin() + static_cast<std::ptrdiff_t>(i),
                    b.begin() +
                        static_cast<std::ptrdiff_t>(std::min(b.size(), i + 1 + g.Fino(16))));
            break;
        case 4:
            b.resize(i);
            break;
        case 5: {
            const std::size_t da = g.Fino(b.size());
            const std::size_t n = std::min({b.size() - da, b.size() - i, 1 + g.Fino(24)});
            std::copy_n(b.begin() + static_cast<std::ptrdiff_t>(da), n,
                        b.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
        default: {
            // A chunk length or a delta made large.
            const std::size_t n = std::min<std::size_t>(b.size() - i, 4);
            for (std::size_t k = 0; k < n; ++k) {
                b[i + k] = static_cast<std::uint8_t>(0x80 | g());
            }
            break;
        }
        }
    }
    return b;
}

// Files that hold every kind of event: deltas of one to four bytes, running status,
// texts, karaoke, system-exclusive messages the analysis reads, format 2, odd statuses,
// a chunk ended early by the next one, a chunk of no bytes, one longer than the file.
inline std::vector<Bytes> Semi() {
    const Bytes nota = Unisci({Evento(0, {0x90, 60, 100}), Evento(480, {0x80, 60, 0})});
    std::vector<Bytes> semi = {
        File(0, 480,
             {Unisci({Evento(0, {0xC0, 5}), nota, Evento(200, {0xE0, 0, 64}), Evento(0, {0xD0, 9}),
                      Evento(0x3FFF, {0xB0, 7, 100}), Evento(0x1FFFFF, {0x90, 61, 90}),
                      Evento(0x0FFFFFFF, {61, 0}), FineTraccia()})}),
        File(1, 96,
             {Unisci({Meta(0, 0x03, "Conduttore"), Tempo(0, 400000), Metrica(0, 6, 3),
                      Metrica(0, 3, 2), Tempo(96, 250000), Meta(0, 0x02, "(C) qualcuno"),
                      Meta(0, 0x7F, "xyz"), FineTraccia()}),
              Unisci({Meta(0, 0x03, "Melodia"), Evento(0, {0xC1, 40}), Evento(0, {0x91, 60, 100}),
                      Evento(48, {62, 90}), Evento(48, {0x81, 60, 0}), Evento(0, {62, 0}),
                      FineTraccia()}),
              Unisci({Evento(0, {0x99, 36, 127}), Evento(96, {0x89, 36, 0}), FineTraccia()})}),
        File(1, 120,
             {Unisci({Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, "@TTitolo"),
                      Meta(0, 0x01, "\\Hel"), Meta(0, 0x01, "lo"), Meta(0, 0x01, "/World"),
                      Meta(0, 0x05, "\rLa"), Meta(0, 0x01, "@"), Meta(0, 0x01, "@X"),
                      Meta(0, 0x01, std::string(200, 'a')), nota, FineTraccia()})}),
        File(0, 96,
             {Unisci({Sysex(0, 12,
                            {0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x00, 'N', 'o', 'm', 0x11, 0xF7}),
                      Sysex(0, 10, {0x00, 0x20, 0x24, 0x00, 0x05, 'C', 'i', 'a', 'o', '\n', 0xF7}),
                      Sysex(0, 9, {0x00, 0x20, 0x24, 0x00, 0x05, 'C', 'H', '1', 'x', 0xF7}),
                      Sysex(0, 3, {0x7E, 0x7F, 0xF7}), nota, FineTraccia()})}),
        File(2, 96,
             {Unisci({Evento(0, {0xC0, 5}), nota, FineTraccia()}),
              Unisci({nota, Tempo(0, 300000), nota, FineTraccia()})}),
        File(1, 96,
             {Unisci({Evento(0, {0x05}), Evento(0, {0xF7, 0x10}), Evento(0, {0xF5, 0x11}),
                      Evento(0, {0x12}), nota, Evento(0, {0xF3, 1}), nota, FineTraccia()})}),
    };
    // The next chunk begins inside the first chunk's declared length.
    const Bytes eventi = Unisci({nota, FineTraccia()});
    semi.push_back(Unisci({Intestazione(1, 2, 480), Testo("MTrk"),
                           BigEndian(static_cast<std::uint32_t>(eventi.size() + 8), 4), eventi,
                           Traccia(Unisci({Meta(0, 0x03, "Basso"), nota, FineTraccia()}))}));
    // A chunk of 0 bytes, then one that declares more than the file holds.
    semi.push_back(Unisci({Intestazione(1, 3, 480), Testo("MTrk"), BigEndian(0, 4),
                           Evento(0, {0xC0, 56}), Traccia(Unisci({nota, FineTraccia()})),
                           Testo("MTrk"), BigEndian(0xFFFF, 4), nota}));
    return semi;
}

} // namespace prova
