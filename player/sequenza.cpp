#include "sequenza.h"

#include "mappa_tempi.h"
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

struct TestoGrezzo {
    std::uint64_t tick;
    std::uint32_t traccia;
    std::uint8_t tipo;
    std::string testo;
};

// The player's visitor of one track's events (passo.h). Data bytes of 0x80 and above
// are masked to their seven bits and the track goes on, as other players read them;
// lengths are taken as declared; tempo events of every track count, when they declare
// the usual 3 bytes; text and lyric events are kept with their track; the track ends at
// its end-of-track event.
class LettoreTraccia {
public:
    LettoreTraccia(std::vector<Grezzo>& e, std::vector<CambioTempo>& t, std::vector<TestoGrezzo>& x,
                   std::uint32_t i)
        : eventi(e), tempi(t), testi(x), traccia(i) {}

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
            } else if (tipo == 0x01 || tipo == 0x05) {
                testi.push_back({tick, traccia, tipo,
                                 std::string(reinterpret_cast<const char*>(dati), lunghezza)});
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
    std::vector<TestoGrezzo>& testi;
    std::uint32_t traccia;
    bool chiusa = false;
};

// Seconds of every event and text from the ticks.
void Tempi(const std::vector<Grezzo>& grezzi, std::vector<TestoGrezzo> testi, MappaTempi mappa,
           Sequenza& s) {
    // Written in place, with no call in the loop, the map's position stays in registers.
    s.eventi.resize(grezzi.size());
    for (std::size_t i = 0; i < grezzi.size(); ++i) {
        const Grezzo& g = grezzi[i];
        s.eventi[i] = {mappa.Secondi(g.tick), g.stato, g.dato1, g.dato2};
    }
    s.durata = s.eventi.empty() ? 0 : s.eventi.back().secondi;
    std::stable_sort(testi.begin(), testi.end(),
                     [](const TestoGrezzo& a, const TestoGrezzo& b) { return a.tick < b.tick; });
    for (TestoGrezzo& t : testi) {
        s.testi.push_back({mappa.Secondi(t.tick), t.traccia, t.tipo, std::move(t.testo)});
    }
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
    std::vector<TestoGrezzo> testi;
    std::uint32_t tracce = 0;
    std::uint64_t inizio = 0;
    // Chunks are found by their declared lengths; chunks other than "MTrk" are passed over.
    for (std::uint64_t pos = 8 + std::uint64_t{intestazione}; pos + 8 <= file.size();) {
        c.Posiziona(pos);
        const bool traccia = c.Segue("MTrk");
        c.Salta(4);
        const std::uint64_t lunghezza = std::min<std::uint64_t>(c.Numero(4), file.size() - pos - 8);
        if (traccia) {
            passo::Cursore eventi(file.subspan(pos + 8, lunghezza));
            LettoreTraccia lettore(grezzi, tempi, testi, tracce++);
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
    Tempi(grezzi, std::move(testi), MappaTempi(std::move(tempi), divisione), s);
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
