#include "sequenza.h"

#include "passo.h"
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

// The player's visitor of one track's events (passo.h). Data bytes of 0x80 and above
// are masked to their seven bits and the track goes on, as other players read them;
// lengths are taken as declared; tempo events of every track count, when they declare
// the usual 3 bytes; the track ends at its end-of-track event.
class LettoreTraccia {
public:
    LettoreTraccia(std::vector<Grezzo>& e, std::vector<CambioTempo>& t) : eventi(e), tempi(t) {}

    void Canale(std::uint64_t tick, std::uint8_t stato, std::uint8_t dato1, std::uint8_t dato2) {
        eventi.push_back({tick, stato, static_cast<std::uint8_t>(dato1 & 0x7F),
                          static_cast<std::uint8_t>(dato2 & 0x7F)});
    }

    bool Altro(passo::Cursore& c, std::uint64_t tick, std::uint8_t stato) {
        if (stato == 0xFF) {
            const std::uint8_t tipo = c.Byte();
            const std::uint32_t lunghezza = c.Vlq<true>();
            const std::uint8_t* dati = c.Prendi(lunghezza);
            if (dati == nullptr) {
                return false;
            }
            if (tipo == 0x2F) {
                chiusa = true;
                return false;
            }
            if (tipo == 0x51 && lunghezza == 3) {
                tempi.push_back(
                    {tick, std::uint32_t{dati[0]} << 16 | std::uint32_t{dati[1]} << 8 | dati[2]});
            }
            return true;
        }
        if (stato == 0xF0 || stato == 0xF7) {
            return c.Prendi(c.Vlq<true>()) != nullptr;
        }
        return false; // no other system message belongs in a file, nor data without a status
    }

    // Whether the track ended at its end-of-track event, not at a fault.
    bool Chiusa() const { return chiusa; }

private:
    std::vector<Grezzo>& eventi;
    std::vector<CambioTempo>& tempi;
    bool chiusa = false;
};

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
    // "MThd", the header's length (6 or more), the format, the number of tracks (not
    // needed: every chunk is read) and the division.
    passo::Cursore c(file);
    const bool midi = c.Segue("MThd");
    c.Salta(4);
    const std::uint32_t intestazione = c.Numero(4);
    const std::uint32_t formato = c.Numero(2);
    c.Salta(2);
    const auto divisione = static_cast<std::uint16_t>(c.Numero(2));
    if (!midi || intestazione < 6 || c.Fallito() || divisione == 0 ||
        (divisione & 0x8000 && (divisione & 0xFF) == 0)) {
        s.danneggiata = true;
        return s;
    }
    std::vector<Grezzo> grezzi;
    std::vector<CambioTempo> tempi;
    std::uint64_t inizio = 0;
    // Chunks are found by their declared lengths; chunks other than "MTrk" are passed over.
    for (std::uint64_t pos = 8 + std::uint64_t{intestazione}; pos + 8 <= file.size();) {
        c.Posiziona(pos);
        const bool traccia = c.Segue("MTrk");
        c.Salta(4);
        const std::uint64_t lunghezza = std::min<std::uint64_t>(c.Numero(4), file.size() - pos - 8);
        if (traccia) {
            passo::Cursore eventi(file.subspan(pos + 8, lunghezza));
            LettoreTraccia lettore(grezzi, tempi);
            std::uint64_t tick = inizio;
            passo::Traccia<passo::RegolePlayer>(eventi, lunghezza, tick, lettore);
            s.danneggiata |= !lettore.Chiusa();
            // Format 2 holds independent songs: they play one after another.
            inizio = formato == 2 ? tick : 0;
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
