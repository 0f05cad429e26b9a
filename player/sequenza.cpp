#include "sequenza.h"

#include "piattaforma.h"

#include <algorithm>
#include <optional>

namespace velmora {

namespace {

struct Grezzo {
    std::uint64_t tick;
    std::uint8_t stato, dato1, dato2;
};

struct CambioTempo {
    std::uint64_t tick;
    std::uint32_t microsecondi; // per quarter note
};

// Reads one track chunk's bytes; false when it broke off or held invalid data.
class LettoreTraccia {
public:
    LettoreTraccia(std::span<const std::uint8_t> d, std::uint64_t inizio) : dati(d), tick(inizio) {}

    bool Leggi(std::vector<Grezzo>& eventi, std::vector<CambioTempo>& tempi) {
        std::uint8_t corrente = 0; // running status
        while (pos < dati.size()) {
            std::uint32_t delta = 0;
            if (!Variabile(delta)) {
                return false;
            }
            tick += delta;
            if (pos >= dati.size()) {
                return false;
            }
            std::uint8_t stato = dati[pos];
            if (stato >= 0x80) {
                ++pos;
            } else if (corrente == 0) {
                return false; // a data byte with no status before it
            } else {
                stato = corrente;
            }
            if (stato < 0xF0) {
                corrente = stato;
                const bool unDato = (stato & 0xF0) == 0xC0 || (stato & 0xF0) == 0xD0;
                const std::size_t n = unDato ? 1 : 2;
                if (pos + n > dati.size() || dati[pos] >= 0x80 ||
                    (!unDato && dati[pos + 1] >= 0x80)) {
                    return false;
                }
                eventi.push_back(
                    {tick, stato, dati[pos], unDato ? std::uint8_t{0} : dati[pos + 1]});
                pos += n;
                continue;
            }
            // The running status survives meta and system-exclusive events: files that
            // lean on it are common, and nothing else could be meant.
            std::uint8_t tipo = 0;
            if (stato == 0xFF) {
                if (pos >= dati.size()) {
                    return false;
                }
                tipo = dati[pos++];
            } else if (stato != 0xF0 && stato != 0xF7) {
                return false; // no other system message belongs in a file
            }
            std::uint32_t lunghezza = 0;
            if (!Variabile(lunghezza) || lunghezza > dati.size() - pos) {
                return false;
            }
            if (stato == 0xFF && tipo == 0x2F) {
                return true;
            }
            if (stato == 0xFF && tipo == 0x51 && lunghezza == 3) {
                tempi.push_back({tick, (std::uint32_t{dati[pos]} << 16) |
                                           (std::uint32_t{dati[pos + 1]} << 8) | dati[pos + 2]});
            }
            pos += lunghezza;
        }
        return false; // no end-of-track event
    }

    std::uint64_t Tick() const { return tick; }

private:
    bool Variabile(std::uint32_t& v) {
        v = 0;
        for (int i = 0; i < 4; ++i) {
            if (pos >= dati.size()) {
                return false;
            }
            const std::uint8_t b = dati[pos++];
            v = (v << 7) | (b & 0x7F);
            if (b < 0x80) {
                return true;
            }
        }
        return false;
    }

    std::span<const std::uint8_t> dati;
    std::size_t pos = 0;
    std::uint64_t tick;
};

std::uint32_t Numero(std::span<const std::uint8_t> d, std::size_t pos, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) {
        v = (v << 8) | d[pos + i];
    }
    return v;
}

// Seconds of every event from the ticks, through the tempo map (PPQ division) or the
// fixed frame rate (SMPTE division).
void Tempi(const std::vector<Grezzo>& grezzi, std::vector<CambioTempo> tempi,
           std::uint16_t divisione, Sequenza& s) {
    std::stable_sort(tempi.begin(), tempi.end(),
                     [](const CambioTempo& a, const CambioTempo& b) { return a.tick < b.tick; });
    double secondiPerTick = 0;
    if (divisione & 0x8000) {
        const int fotogrammi = -static_cast<std::int8_t>(divisione >> 8);
        const double fps = fotogrammi == 29 ? 29.97 : fotogrammi;
        secondiPerTick = 1.0 / (fps * (divisione & 0xFF));
    } else {
        secondiPerTick = 0.5 / divisione;
    }
    const bool smpte = (divisione & 0x8000) != 0;
    std::size_t t = 0;
    std::uint64_t tickBase = 0;
    double secondiBase = 0;
    for (const Grezzo& g : grezzi) {
        for (; !smpte && t < tempi.size() && tempi[t].tick <= g.tick; ++t) {
            secondiBase += static_cast<double>(tempi[t].tick - tickBase) * secondiPerTick;
            tickBase = tempi[t].tick;
            secondiPerTick = tempi[t].microsecondi / 1e6 / divisione;
        }
        const double secondi =
            secondiBase + static_cast<double>(g.tick - tickBase) * secondiPerTick;
        s.eventi.push_back({secondi, g.stato, g.dato1, g.dato2});
    }
    s.durata = s.eventi.empty() ? 0 : s.eventi.back().secondi;
}

} // namespace

Sequenza LeggiSequenza(std::span<const std::uint8_t> file) {
    Sequenza s;
    if (file.size() < 14 || Numero(file, 0, 4) != 0x4D546864 /* MThd */ || Numero(file, 4, 4) < 6) {
        s.danneggiata = true;
        return s;
    }
    const std::uint32_t formato = Numero(file, 8, 2);
    const auto divisione = static_cast<std::uint16_t>(Numero(file, 12, 2));
    if (divisione == 0 || (divisione & 0x8000 && (divisione & 0xFF) == 0)) {
        s.danneggiata = true;
        return s;
    }
    std::vector<Grezzo> grezzi;
    std::vector<CambioTempo> tempi;
    std::uint64_t inizio = 0;
    std::size_t pos = 8 + std::size_t{Numero(file, 4, 4)};
    while (pos + 8 <= file.size()) {
        const std::uint32_t id = Numero(file, pos, 4);
        const std::size_t lunghezza =
            std::min<std::size_t>(Numero(file, pos + 4, 4), file.size() - pos - 8);
        if (id == 0x4D54726B /* MTrk */) {
            LettoreTraccia traccia(file.subspan(pos + 8, lunghezza), inizio);
            s.danneggiata |= !traccia.Leggi(grezzi, tempi);
            // Format 2 holds independent songs: they play one after another.
            inizio = formato == 2 ? traccia.Tick() : 0;
        }
        pos += 8 + lunghezza;
    }
    std::stable_sort(grezzi.begin(), grezzi.end(),
                     [](const Grezzo& a, const Grezzo& b) { return a.tick < b.tick; });
    Tempi(grezzi, std::move(tempi), divisione, s);
    return s;
}

bool CaricaSequenza(const std::string& percorso, Sequenza& sequenza, std::string& errore) {
    const std::optional<ContenutoFile> contenuto =
        LeggiFileRegolare(percorso, kByteSequenzaMassimi);
    if (!contenuto) {
        errore = "Impossibile leggere il file \"" + percorso +
                 "\": non esiste, non è un file regolare o supera i 64 MiB.";
        return false;
    }
    sequenza = LeggiSequenza({contenuto->byte.get(), contenuto->dimensione});
    const bool suona =
        std::any_of(sequenza.eventi.begin(), sequenza.eventi.end(),
                    [](const auto& e) { return (e.stato & 0xF0) == 0x90 && e.dato2 > 0; });
    if (!suona) {
        errore = sequenza.danneggiata
                     ? "Il file \"" + percorso + "\" è danneggiato e non si può ascoltare."
                     : "Il file \"" + percorso + "\" non contiene note da ascoltare.";
        return false;
    }
    return true;
}

} // namespace velmora
