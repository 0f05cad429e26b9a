// Byte-by-byte builders for Standard MIDI File fixtures, shared by the tests,
// the fuzz seeds and the generator of the demo folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace prova {

using Bytes = std::vector<std::uint8_t>;

// Variable-length quantity, most significant group first.
inline Bytes Vlq(std::uint32_t v) {
    Bytes out{static_cast<std::uint8_t>(v & 0x7F)};
    while ((v >>= 7) != 0) {
        out.insert(out.begin(), static_cast<std::uint8_t>(0x80 | (v & 0x7F)));
    }
    return out;
}

inline Bytes BigEndian(std::uint32_t v, int n) {
    Bytes out;
    for (int i = n - 1; i >= 0; --i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    return out;
}

inline Bytes Unisci(std::initializer_list<Bytes> parti) {
    Bytes out;
    for (const Bytes& p : parti) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

inline Bytes Testo(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

// "MThd", length 6, format, number of chunks, division.
inline Bytes Intestazione(std::uint16_t formato, std::uint16_t tracce, std::uint16_t divisione) {
    return Unisci({Testo("MThd"), BigEndian(6, 4), BigEndian(formato, 2), BigEndian(tracce, 2),
                   BigEndian(divisione, 2)});
}

// "MTrk" chunk whose declared length is the size of the events given.
inline Bytes Traccia(const Bytes& eventi) {
    return Unisci({Testo("MTrk"), BigEndian(static_cast<std::uint32_t>(eventi.size()), 4), eventi});
}

// Meta event: delta, FF, type, length, data.
inline Bytes Meta(std::uint32_t delta, std::uint8_t tipo, std::string_view dati) {
    return Unisci(
        {Vlq(delta), {0xFF, tipo}, Vlq(static_cast<std::uint32_t>(dati.size())), Testo(dati)});
}

inline Bytes FineTraccia(std::uint32_t delta = 0) {
    return Meta(delta, 0x2F, "");
}

inline Bytes Tempo(std::uint32_t delta, std::uint32_t microsecondi) {
    return Unisci({Vlq(delta), {0xFF, 0x51, 0x03}, BigEndian(microsecondi, 3)});
}

inline Bytes Metrica(std::uint32_t delta, std::uint8_t nn, std::uint8_t dd) {
    return Unisci({Vlq(delta), {0xFF, 0x58, 0x04, nn, dd, 24, 8}});
}

// Channel message with one or two data bytes (pass only those that belong to it).
inline Bytes Evento(std::uint32_t delta, std::initializer_list<std::uint8_t> dati) {
    return Unisci({Vlq(delta), Bytes(dati)});
}

// System-exclusive event: delta, F0, declared length, then the bytes given as they are
// (the closing F7 included by the caller when wanted).
inline Bytes Sysex(std::uint32_t delta, std::uint32_t lunghezza, const Bytes& dati) {
    return Unisci({Vlq(delta), {0xF0}, Vlq(lunghezza), dati});
}

// A whole file: header plus one "MTrk" chunk per list of events.
inline Bytes File(std::uint16_t formato, std::uint16_t divisione,
                  std::initializer_list<Bytes> tracce) {
    Bytes out = Intestazione(formato, static_cast<std::uint16_t>(tracce.size()), divisione);
    for (const Bytes& t : tracce) {
        const Bytes chunk = Traccia(t);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    return out;
}

inline void ScriviFile(const std::filesystem::path& percorso, const Bytes& dati) {
    std::ofstream f(percorso, std::ios::binary | std::ios::trunc);
    f.write(reinterpret_cast<const char*>(dati.data()), static_cast<std::streamsize>(dati.size()));
}

} // namespace prova
