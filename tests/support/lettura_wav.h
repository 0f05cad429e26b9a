// Reads back the 16-bit WAV files the render writes, for the tests' checks.
#pragma once

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace prova {

struct Wav {
    bool valido = false; // RIFF/WAVE, PCM, 16 bits, sizes that match the file
    std::uint32_t canali = 0;
    std::uint32_t frequenza = 0;
    std::vector<std::int16_t> campioni;

    double Secondi() const {
        return canali && frequenza ? static_cast<double>(campioni.size()) / canali / frequenza : 0;
    }
    // Root mean square of the samples, 1.0 being full scale.
    double Rms() const {
        double somma = 0;
        for (std::int16_t c : campioni) {
            somma += static_cast<double>(c) * c;
        }
        return campioni.empty() ? 0 : std::sqrt(somma / campioni.size()) / 32768.0;
    }
};

inline Wav LeggiWav(const std::filesystem::path& percorso) {
    std::ifstream in(percorso, std::ios::binary);
    const std::vector<unsigned char> b{std::istreambuf_iterator<char>(in),
                                       std::istreambuf_iterator<char>()};
    auto n32 = [&](std::size_t p) {
        return static_cast<std::uint32_t>(b[p] | b[p + 1] << 8 | b[p + 2] << 16 | b[p + 3] << 24);
    };
    Wav w;
    if (b.size() < 44 || std::string(b.begin(), b.begin() + 4) != "RIFF" ||
        std::string(b.begin() + 8, b.begin() + 16) != "WAVEfmt " || n32(4) != b.size() - 8 ||
        std::string(b.begin() + 36, b.begin() + 40) != "data" || n32(40) != b.size() - 44) {
        return w;
    }
    const auto formato = static_cast<std::uint16_t>(n32(20));
    w.canali = n32(20) >> 16;
    w.frequenza = n32(24);
    const std::uint32_t bit = n32(32) >> 16;
    w.valido = formato == 1 && bit == 16 && n32(28) == w.frequenza * w.canali * 2;
    for (std::size_t p = 44; p + 1 < b.size(); p += 2) {
        w.campioni.push_back(static_cast<std::int16_t>(b[p] | b[p + 1] << 8));
    }
    return w;
}

} // namespace prova
