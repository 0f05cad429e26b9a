// The walk over the track chunks: track rows, events, texts and the duration.
#include "lista.h"
#include "mappa_tempi.h"
#include "midi.h"
#include "passo.h"
#include "titoli.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

using velmora::passo::Cursore;

namespace {

constexpr std::uint32_t kMassimoInt32 = std::numeric_limits<std::int32_t>::max();

// Walking a chunk without a failed read takes at least 10 bytes: the 8 of its header,
// a delta and a status byte. Chunks beyond what the file can hold are only reached
// after a failed read, which ends the walk.
std::uint32_t TracceContenibili(std::int32_t dimensione) {
    return static_cast<std::uint32_t>(std::max(dimensione - 14, 0) / 10 + 2);
}

bool InizioCanale(const std::string& testo) {
    return testo.size() >= 3 && (testo[0] == 'C' || testo[0] == 'c') &&
           (testo[1] == 'H' || testo[1] == 'h') && testo[2] >= '0' && testo[2] <= '9';
}

// A carriage return before every line feed.
std::string ConRitorni(const std::string& testo) {
    std::string risultato;
    risultato.reserve(testo.size());
    for (char c : testo) {
        if (c == '\n') {
            risultato.push_back('\r');
        }
        risultato.push_back(c);
    }
    return risultato;
}

// n bytes up to the first zero byte; empty when they run past the end.
std::string Testo(Cursore& c, std::uint32_t n) {
    const auto* p = reinterpret_cast<const char*>(c.Prendi(n));
    if (p == nullptr) {
        return {};
    }
    const void* zero = std::memchr(p, 0, n);
    return std::string(p, zero == nullptr ? p + n : static_cast<const char*>(zero));
}

} // namespace

// The analysis's visitor of one chunk's events (passo.h): rows, texts, the tempo map
// of the first chunk and the notes of the fingerprint; for the player's duration, the
// tempo events of every chunk and the last channel message. Tempo and time-signature events
// are taken to have their usual lengths (3 and 4), whatever they declare; the end of a
// track is one length byte, after which the chunk goes on unless the next chunk begins.
class Midi::LettoreTraccia {
public:
    LettoreTraccia(Midi& analisi, lista& tempi)
        : m(analisi), mappa(tempi), penna(analisi.note.Riserva(analisi.dimensione)) {}

    void Inizia(std::uint32_t i, std::uint64_t fineChunk) {
        traccia = i;
        fine = fineChunk;
        std::fill(ultimi.begin() + 0x80, ultimi.begin() + 0xF0, kMai);
    }

    // Records in the rows the note events of the chunk: the rows they make active, and
    // the last one's tick (ticks only grow inside a chunk: the largest). Format 2
    // records nothing there. tick is where the chunk's walk ended.
    void Chiudi(std::uint64_t tick) {
        for (unsigned status = 0x80; status < 0xF0; ++status) {
            if (ultimi[status] != kMai) {
                ultimoEvento = std::max(ultimoEvento, inizio + ultimi[status]);
            }
        }
        // The player plays the songs of format 2 one after another.
        inizio += m.formato == 2 ? tick : 0;
        if (m.formato == 2) {
            return;
        }
        std::uint64_t ultimo = 0;
        for (unsigned status = 0x80; status < 0xA0; ++status) {
            if (ultimi[status] != kMai) {
                Riga(status & 0x0F).attiva = 1;
                ultimo = std::max(ultimo, ultimi[status]);
            }
        }
        m.ultimoTick = std::max(m.ultimoTick, static_cast<std::uint32_t>(ultimo));
    }
    const velmora::RaccoltaNote::Penna& Note() const { return penna; }

    // Seconds up to the last channel message, as the player times it; it plays nothing
    // of an SMPTE division without ticks.
    double DurataRiproduzione() {
        const auto divisioneFile = static_cast<std::uint16_t>(m.divisione);
        if ((divisioneFile & 0x80FF) == 0x8000) {
            return 0;
        }
        return velmora::MappaTempi(std::move(tempiTutti), divisioneFile).Secondi(ultimoEvento);
    }

    void Canale(std::uint64_t tick, std::uint8_t status, std::uint8_t dato, std::uint8_t velocita) {
        ultimi[status] = tick;
        m.note.Messaggio(penna, tick, status, dato, velocita);
        if (status >> 4 == 12 && m.formato != 2) [[unlikely]] {
            elementotraccia& riga = Riga(status & 0x0F);
            if (riga.programma == 255) {
                riga.programma = dato;
                riga.canale = status & 0x0F;
            }
        }
    }

    bool Altro(Cursore& c, std::uint64_t tick, std::uint8_t status) {
        if (status == 0xF0) {
            Sysex(c);
            return true;
        }
        return Meta(c, tick);
    }

private:
    // The row of a channel: its own in format 0, the chunk's otherwise.
    elementotraccia& Riga(unsigned canale) {
        return m.elementiTraccia[m.formato == 0 ? canale + 1 : traccia];
    }
    bool Meta(Cursore& c, std::uint64_t tick);
    void TestoMeta(Cursore& c, std::uint64_t tick);
    // A text at the very start of the first chunk, where sequencers write the credits,
    // may name the author; the first that does counts.
    bool Accreditabile(std::uint64_t tick) const {
        return traccia == 0 && tick == 0 && m.autoreDichiarato.empty();
    }
    void Credito(std::string_view testo);
    void Sysex(Cursore& c);

    static constexpr std::uint64_t kMai = ~std::uint64_t{0};

    Midi& m;
    lista& mappa;
    velmora::RaccoltaNote::Penna penna;
    // The tick of the latest event of each status in the chunk, kMai for none yet: one
    // store per event, where the note events' rows and last tick are read at its end.
    std::array<std::uint64_t, 256> ultimi;
    std::uint32_t traccia = 0;
    std::uint64_t fine = 0;
    std::vector<velmora::CambioTempo> tempiTutti; // of every chunk, in the player's ticks
    std::uint64_t inizio = 0;                     // of the chunk, in the player's ticks
    std::uint64_t ultimoEvento = 0;               // in the player's ticks
};

void Midi::CreaTracce() {
    std::uint32_t righe = std::min(numeroTracce, TracceContenibili(dimensione));
    // A format-0 file keeps rows 1 to 16 for the channels, whatever it declares.
    if (numeroTracce == 1 || formato == 0) {
        righe = std::max<std::uint32_t>(righe, 17);
    }
    elementiTraccia.assign(righe, elementotraccia{});
}

void Midi::LeggiTracce(Cursore& c) {
    lista mappa;
    LettoreTraccia lettore(*this, mappa);
    // Chunks are read back to back, each from where the walk of the one before stopped.
    // Once a read has failed nothing the walk finds can show in a result, so it stops.
    for (std::uint32_t i = 0; i < numeroTracce && i < elementiTraccia.size(); ++i) {
        c.Prendi(4); // the chunk type, accepted whatever it is
        const std::uint32_t dichiarati = c.Numero(4);
        if (c.Fallito()) {
            break;
        }
        const std::uint64_t fine = std::min(c.Posizione() + dichiarati, c.Dimensione());
        std::uint64_t tick = 0;
        lettore.Inizia(i, fine);
        velmora::passo::Traccia<velmora::passo::RegoleAnalisi>(c, fine, tick, lettore);
        lettore.Chiudi(tick);
    }
    if (c.Fallito()) {
        stato = 1;
        return;
    }
    CalcolaDurata(mappa);
    if (stato == 0) {
        durataRiproduzione = static_cast<std::uint32_t>(
            std::min<double>(lettore.DurataRiproduzione(), kMassimoInt32));
    }
    if (stato == 0) {
        impronta = note.Impronta(lettore.Note(), divisione);
    }
}

bool Midi::LettoreTraccia::Meta(Cursore& c, std::uint64_t tick) {
    const std::uint8_t tipo = c.Byte();
    switch (tipo) {
    case 0x01:
        TestoMeta(c, tick);
        return true;
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
    case 0x07: {
        std::string testo = Testo(c, c.Vlq());
        if (tipo == 0x03) {
            if (traccia == 0 && !m.primoNome) {
                m.primoNome = testo;
            }
            m.elementiTraccia[traccia].nomeTraccia = std::move(testo);
        } else if (tipo == 0x05) {
            if (!testo.empty() && testo[0] == '\r') {
                testo.insert(1, 1, '\n');
            }
            m.testoCompleto += testo;
            m.tipoTesto = "Midi Karaoke File";
        } else {
            if (tipo == 0x02 && Accreditabile(tick)) {
                Credito(testo);
            }
            if (m.testoCopyright.empty()) {
                m.testoCopyright = std::move(testo);
            }
        }
        return true;
    }
    case 0x2F:
        c.Byte();
        // Bytes left inside the chunk that begin the next chunk end this one here.
        return !(c.Posizione() < fine && c.Segue("MTrk"));
    case 0x51: {
        // The player takes only the tempo events that declare their usual length.
        const bool tre = c.Posizione() < c.Dimensione() && c.Dati()[c.Posizione()] == 3;
        c.Salta(1);
        const std::uint32_t tempo = c.Numero(3);
        if (tre && !c.Fallito()) {
            tempiTutti.push_back({inizio + tick, tempo});
        }
        if (traccia == 0) {
            mappa.AggiungiCambio(static_cast<std::uint32_t>(tick), tempo);
        }
        return true;
    }
    case 0x58:
        c.Salta(1);
        if (m.metrica.empty()) {
            const std::uint32_t nn = c.Byte();
            const std::uint32_t dd = c.Byte();
            // 2 to the power 32 and above does not fit: its denominator shows as "?".
            m.metrica = std::to_string(nn) + "/" + (dd < 32 ? std::to_string(1u << dd) : "?");
            c.Salta(2);
        } else {
            c.Salta(4);
        }
        return true;
    default:
        c.Prendi(c.Vlq());
        return true;
    }
}

void Midi::LettoreTraccia::TestoMeta(Cursore& c, std::uint64_t tick) {
    const std::uint32_t n = c.Vlq();
    if (n == 0) {
        return;
    }
    const std::uint8_t primo = c.Byte();
    if (primo == '@') {
        // "@" alone: there is no letter, the event ends after it.
        if (n >= 2) {
            const std::uint8_t lettera = c.Byte();
            if (lettera == 'K') {
                m.tipoTesto = Testo(c, n - 2);
            } else if (lettera == 'T') {
                const std::string titolo = Testo(c, n - 2);
                m.testoCompleto += titolo;
                m.testoCompleto += "\r\n";
                m.karaoke.titoli.emplace_back(velmora::Rifilato(titolo));
            } else if (lettera == 'I') {
                m.karaoke.informazioni.emplace_back(velmora::Rifilato(Testo(c, n - 2)));
            } else if ((lettera == 'L' && m.karaoke.lingua.empty()) ||
                       (lettera == 'V' && m.karaoke.versione.empty())) {
                (lettera == 'L' ? m.karaoke.lingua : m.karaoke.versione) =
                    velmora::Rifilato(Testo(c, n - 2));
            } else {
                c.Salta(n - 2);
            }
        }
        return;
    }
    const std::string resto = Testo(c, n - 1);
    const bool fileKaraoke = m.tipoTesto == "MIDI KARAOKE FILE";
    // In a karaoke file the other text events are its words, which credit no one.
    if (!fileKaraoke && primo != 0 && Accreditabile(tick)) {
        Credito(static_cast<char>(primo) + resto);
    }
    if (!fileKaraoke) {
        return;
    }
    if (primo == '\\' || primo == '/') {
        m.testoCompleto += "\r\n";
    } else if (primo != 0) {
        m.testoCompleto.push_back(static_cast<char>(primo));
    }
    m.testoCompleto += resto;
}

void Midi::LettoreTraccia::Credito(std::string_view testo) {
    if (const std::optional<std::string_view> autore = velmora::AutoreNelCredito(testo)) {
        m.autoreDichiarato = *autore;
    }
}

void Midi::LettoreTraccia::Sysex(Cursore& c) {
    static constexpr std::string_view kNomePatch("\x41\x10\x42\x12\x40\x01", 6);
    static constexpr std::string_view kMessaggioTesto("\x20\x24", 2);
    const std::uint32_t n = c.Vlq();
    std::string raccolto;
    std::uint32_t conta = 0;
    bool patch = false;
    bool testo = false;
    std::uint8_t x = 0;
    // At least one byte; ends at 0xF7, at the declared length or at a failed read.
    do {
        const std::uint8_t* p = c.Prendi(1);
        if (p == nullptr) {
            break;
        }
        x = *p;
        ++conta;
        if (x != 0) {
            raccolto.push_back(static_cast<char>(x));
        }
        if (conta == 7 && raccolto == kNomePatch) {
            patch = true;
            raccolto.clear();
        }
        if (conta == 4 && raccolto == kMessaggioTesto) {
            const std::uint8_t* tipo = c.Prendi(1);
            ++conta;
            raccolto.clear();
            if (tipo == nullptr) {
                break;
            }
            if (*tipo >= 4 && *tipo <= 6) {
                testo = true;
                m.tipoTesto = "Midi con testo";
            }
        }
    } while (x != 0xF7 && conta < n);
    if (!raccolto.empty()) {
        raccolto.pop_back();
    }
    if (patch && m.testoCopyright.empty()) {
        m.testoCopyright = raccolto;
    }
    if (testo && !InizioCanale(raccolto)) {
        m.testoCompleto += ConRitorni(raccolto);
    }
}

void Midi::CalcolaDurata(lista& mappa) {
    if (divisione == 0) {
        stato = 2;
        return;
    }
    // Milliseconds in 64 bits, held below the largest duration shown, so that long
    // files at fine divisions do not wrap.
    constexpr std::uint64_t kTetto = std::uint64_t{kMassimoInt32} * 1000;
    std::uint64_t totale = 0;
    std::uint32_t tickPrecedente = 0;
    std::uint32_t tempo = 500000;
    bool tagliato = false;
    const auto aggiungi = [&](std::uint32_t fino) {
        const std::uint64_t passo = std::uint64_t{tempo / 1000} *
                                    static_cast<std::uint32_t>(fino - tickPrecedente) / divisione;
        totale = std::min(totale + passo, kTetto);
    };
    mappa.Inizio();
    for (std::int32_t k = 0; k < mappa.NumeroElementi() && !tagliato; ++k, mappa.Avanza()) {
        std::uint32_t t = mappa.TickCorrente();
        if (t > ultimoTick) {
            t = ultimoTick;
            tagliato = true;
        }
        aggiungi(t);
        tickPrecedente = mappa.TickCorrente();
        tempo = mappa.TempoCorrente();
    }
    if (!tagliato) {
        aggiungi(ultimoTick);
    }
    durataSecondi = static_cast<std::uint32_t>(totale / 1000);
}
