// The walk over the track chunks: track rows, events, texts and the duration.
#include "lista.h"
#include "midi.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr std::uint32_t kMassimoInt32 = std::numeric_limits<std::int32_t>::max();

// Walking a chunk without a failed read takes at least 10 bytes: the 8 of its header,
// a delta and a status byte. Chunks beyond what the file can hold are only reached
// after a failed read, which ends the walk.
std::uint32_t TracceContenibili(std::int32_t dimensione) {
    return static_cast<std::uint32_t>(std::max(dimensione - 14, 0) / 10 + 2);
}

// Note off, note on, key pressure, control change and pitch bend have two data bytes;
// every other channel or system status has one.
bool DueDati(std::uint8_t status) {
    const unsigned tipo = status >> 4;
    return tipo == 8 || tipo == 9 || tipo == 10 || tipo == 11 || tipo == 14;
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

} // namespace

void Midi::CreaTracce() {
    std::uint32_t righe = std::min(numeroTracce, TracceContenibili(dimensione));
    // A format-0 file keeps rows 1 to 16 for the channels, whatever it declares.
    if (numeroTracce == 1 || formato == 0) {
        righe = std::max<std::uint32_t>(righe, 17);
    }
    elementiTraccia.assign(righe, elementotraccia{});
}

void Midi::LeggiTracce() {
    lista mappa;
    note.Riserva(dimensione);
    // Once a read has failed nothing the walk finds can show in a result, so it stops.
    for (std::uint32_t i = 0; i < numeroTracce && i < elementiTraccia.size() && stato == 0; ++i) {
        LeggiTraccia(i, mappa);
    }
    if (stato == 0) {
        CalcolaDurata(mappa);
    }
    if (stato == 0) {
        impronta = note.Impronta(divisione);
    }
}

void Midi::LeggiTraccia(std::uint32_t i, lista& mappa) {
    elementotraccia& r = elementiTraccia[i];
    statotraccia s;
    s.traccia = i;
    Prendi(4); // the chunk type, accepted whatever it is
    r.byteDichiarati = LeggiNumero(4);
    r.nomeTraccia.clear();
    r.byteLetti = 0;
    if (cursore + r.byteDichiarati > dimensione) {
        r.byteDichiarati =
            static_cast<std::uint32_t>(std::max<std::int64_t>(dimensione - cursore, 0));
    }
    do {
        if (EventiCanaleRapidi(s, r)) {
            continue; // to the test of the chunk's end
        }
        s.tick += LeggiVariabile(i);
        const std::uint8_t b = LeggiByte();
        ++r.byteLetti;
        const std::uint8_t status = b >= 0x80 ? b : s.runningStatus;
        if (status == 0xF0) {
            EventoSysex(s);
        } else if (status == 0xFF) {
            EventoMeta(s, mappa);
        } else {
            EventoCanale(s, b, status);
        }
    } while (r.byteLetti < r.byteDichiarati && stato == 0);
    ultimoTick = std::max(ultimoTick, s.tickNota);
}

bool Midi::EventiCanaleRapidi(statotraccia& s, elementotraccia& r) {
    // The common case read straight from the buffer, with the walk state in locals:
    // channel messages with a one-byte delta whose bytes (four at most) all lie inside
    // the buffer, up to the chunk's declared end. Other events go through the readers.
    const std::uint8_t* const dati = contenuto.get();
    const std::int64_t limite = std::int64_t{dimensione} - 4;
    std::int64_t c = cursore;
    std::uint32_t letti = r.byteLetti;
    statotraccia t = s;
    bool fatti = false;
    while (c >= 0 && c <= limite) {
        const std::uint8_t* p = dati + c;
        const std::uint8_t b = p[1];
        const std::uint8_t status = b >= 0x80 ? b : t.runningStatus;
        if (p[0] >= 0x80 || status == 0xF0 || status == 0xFF) {
            break;
        }
        // Without branches: a status byte is followed by its first data byte.
        const unsigned conStatus = b >> 7;
        const std::uint8_t dato = p[1 + conStatus];
        const std::uint8_t velocita = p[2 + conStatus]; // inside the limit: p[3] at most
        const std::uint32_t lunghezza = 2 + conStatus + (DueDati(status) ? 1 : 0);
        t.tick += p[0];
        c += lunghezza;
        letti += lunghezza;
        t.runningStatus = status;
        Registra(t, status, dato, velocita);
        fatti = true;
        if (letti >= r.byteDichiarati) {
            break;
        }
    }
    cursore = c;
    r.byteLetti = letti;
    s = t;
    return fatti;
}

void Midi::EventoCanale(statotraccia& s, std::uint8_t b, std::uint8_t status) {
    elementotraccia& r = elementiTraccia[s.traccia];
    s.runningStatus = status;
    std::uint8_t dato = b;
    if (b >= 0x80) {
        dato = LeggiByte();
        ++r.byteLetti;
    }
    std::uint8_t velocita = 0;
    if (DueDati(status)) {
        if (cursore >= 0 && cursore < dimensione) {
            velocita = contenuto[static_cast<std::size_t>(cursore)];
        }
        Salta(1);
        ++r.byteLetti;
    }
    Registra(s, status, dato, velocita);
}

void Midi::Registra(statotraccia& s, std::uint8_t status, std::uint8_t dato,
                    std::uint8_t velocita) {
    const unsigned tipo = status >> 4;
    if (tipo == 9 && velocita != 0) {
        note.Nota(s.tick, status & 0x0F, dato);
    }
    if (formato == 2 || (tipo != 8 && tipo != 9 && tipo != 12)) {
        return;
    }
    elementotraccia& riga = elementiTraccia[formato == 0 ? (status & 0x0F) + 1u : s.traccia];
    if (tipo == 12) {
        if (riga.programma == 255) {
            riga.programma = dato;
            riga.canale = status & 0x0F;
        }
    } else {
        s.tickNota = s.tick;
        riga.attiva = 1;
    }
}

void Midi::EventoMeta(statotraccia& s, lista& mappa) {
    elementotraccia& r = elementiTraccia[s.traccia];
    const std::uint8_t tipo = LeggiByte();
    ++r.byteLetti;
    switch (tipo) {
    case 0x01:
        EventoTesto(s);
        return;
    case 0x02:
    case 0x03:
    case 0x04:
    case 0x05:
    case 0x06:
    case 0x07: {
        const std::uint32_t n = LeggiVariabile(s.traccia);
        std::string testo = LeggiTesto(n);
        r.byteLetti += n;
        if (tipo == 0x03) {
            r.nomeTraccia = std::move(testo);
        } else if (tipo == 0x05) {
            if (!testo.empty() && testo[0] == '\r') {
                testo.insert(1, 1, '\n');
            }
            testoCompleto += testo;
            tipoTesto = "Midi Karaoke File";
        } else if (testoCopyright.empty()) {
            testoCopyright = std::move(testo);
        }
        return;
    }
    case 0x2F: {
        LeggiByte();
        ++r.byteLetti;
        // Bytes left inside the chunk that begin the next chunk end this one here.
        if (r.byteLetti < r.byteDichiarati && cursore + 4 <= dimensione &&
            std::memcmp(contenuto.get() + cursore, "MTrk", 4) == 0) {
            r.byteLetti = r.byteDichiarati;
        }
        return;
    }
    case 0x51: {
        Salta(1);
        const std::uint32_t tempo = LeggiNumero(3);
        r.byteLetti += 4;
        if (s.traccia == 0) {
            mappa.AggiungiCambio(s.tick, tempo);
        }
        return;
    }
    case 0x58:
        Salta(1);
        r.byteLetti += 5;
        if (metrica.empty()) {
            const std::uint32_t nn = LeggiByte();
            const std::uint32_t dd = LeggiByte();
            // 2 to the power 32 and above does not fit: its denominator shows as "?".
            metrica = std::to_string(nn) + "/" + (dd < 32 ? std::to_string(1u << dd) : "?");
            Salta(2);
        } else {
            Salta(4);
        }
        return;
    default: {
        const std::uint32_t n = LeggiVariabile(s.traccia);
        Prendi(n);
        r.byteLetti += n;
        return;
    }
    }
}

void Midi::EventoTesto(statotraccia& s) {
    elementotraccia& r = elementiTraccia[s.traccia];
    const std::uint32_t n = LeggiVariabile(s.traccia);
    if (n == 0) {
        return;
    }
    const std::uint8_t c = LeggiByte();
    if (c == '@') {
        // "@" alone: there is no letter, the event ends after it.
        if (n >= 2) {
            const std::uint8_t lettera = LeggiByte();
            if (lettera == 'K') {
                tipoTesto = LeggiTesto(n - 2);
            } else if (lettera == 'T') {
                testoCompleto += LeggiTesto(n - 2);
                testoCompleto += "\r\n";
            } else {
                Salta(n - 2);
            }
        }
    } else {
        std::string pezzo;
        if (c == '\\' || c == '/') {
            pezzo = "\r\n";
        } else if (c != 0) {
            pezzo.push_back(static_cast<char>(c));
        }
        pezzo += LeggiTesto(n - 1);
        if (tipoTesto == "MIDI KARAOKE FILE") {
            testoCompleto += pezzo;
        }
    }
    r.byteLetti += n;
}

void Midi::EventoSysex(statotraccia& s) {
    elementotraccia& r = elementiTraccia[s.traccia];
    static constexpr std::string_view kNomePatch("\x41\x10\x42\x12\x40\x01", 6);
    static constexpr std::string_view kMessaggioTesto("\x20\x24", 2);
    const std::uint32_t n = LeggiVariabile(s.traccia);
    std::string raccolto;
    std::uint32_t conta = 0;
    bool patch = false;
    bool testo = false;
    std::uint8_t x = 0;
    // At least one byte; ends at 0xF7, at the declared length or at a failed read.
    do {
        ++r.byteLetti;
        const std::uint8_t* p = Prendi(1);
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
            const std::uint8_t* m = Prendi(1);
            ++r.byteLetti;
            ++conta;
            raccolto.clear();
            if (m == nullptr) {
                break;
            }
            if (*m >= 4 && *m <= 6) {
                testo = true;
                tipoTesto = "Midi con testo";
            }
        }
    } while (x != 0xF7 && conta < n);
    if (!raccolto.empty()) {
        raccolto.pop_back();
    }
    if (patch && testoCopyright.empty()) {
        testoCopyright = raccolto;
    }
    if (testo && !InizioCanale(raccolto)) {
        testoCompleto += ConRitorni(raccolto);
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
