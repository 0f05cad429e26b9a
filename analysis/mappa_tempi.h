// Ticks to seconds through the tempo events of every track: how the player times a
// file, and with it the render, the lyrics and the player's duration in the analysis.
// A PPQ division starts at 120 beats a minute; an SMPTE division has a fixed frame rate
// and no tempo map.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace velmora {

struct CambioTempo {
    std::uint64_t tick;
    std::uint32_t microsecondi; // per quarter note
};

class MappaTempi {
public:
    // divisione as the header gives it; it must not be 0, nor an SMPTE one with 0 ticks
    // a frame. Changes at the same tick keep their order: the last one counts.
    MappaTempi(std::vector<CambioTempo> cambi, std::uint16_t divisioneFile)
        : tempi(std::move(cambi)), divisione(divisioneFile), smpte((divisioneFile & 0x8000) != 0) {
        std::stable_sort(
            tempi.begin(), tempi.end(),
            [](const CambioTempo& a, const CambioTempo& b) { return a.tick < b.tick; });
        Riparti();
    }

    // Seconds from the start of the file to tick. Ticks asked in growing order cost
    // only the tempo changes passed; an earlier tick starts over from the beginning.
    double Secondi(std::uint64_t tick) {
        if (tick < tickBase) {
            Riparti();
        }
        for (; !smpte && t < tempi.size() && tempi[t].tick <= tick; ++t) {
            secondiBase += static_cast<double>(tempi[t].tick - tickBase) * secondiPerTick;
            tickBase = tempi[t].tick;
            secondiPerTick = tempi[t].microsecondi / 1e6 / divisione;
        }
        return secondiBase + static_cast<double>(tick - tickBase) * secondiPerTick;
    }

private:
    void Riparti() {
        t = 0;
        tickBase = 0;
        secondiBase = 0;
        if (smpte) {
            const int fotogrammi = -static_cast<std::int8_t>(divisione >> 8);
            const double fps = fotogrammi == 29 ? 29.97 : fotogrammi;
            secondiPerTick = 1.0 / (fps * (divisione & 0xFF));
        } else {
            secondiPerTick = 0.5 / divisione;
        }
    }

    std::vector<CambioTempo> tempi;
    std::uint16_t divisione;
    bool smpte;
    std::size_t t = 0;
    std::uint64_t tickBase = 0;
    double secondiBase = 0;
    double secondiPerTick = 0;
};

} // namespace velmora
