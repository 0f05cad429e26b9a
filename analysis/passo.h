// The one walk over the events of a MIDI track, shared by every reader of MIDI bytes:
// the analysis and the player. A cursor reads the bytes with a bounds check on every
// read; the walk decodes deltas, running status and channel messages, checking the
// bounds once for a whole event where it can, and hands every event to a visitor, a
// template parameter, so nothing on the hot path is virtual.
//
// Readers of damaged files differ, so the rules where they do are named (Regole*
// below): the analysis keeps the rules its results have always had, the player reads
// as synthesizers' own file players do. What a reader does with meta and system-
// exclusive events (the lengths it takes, the tempo events it keeps) is its visitor's.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace velmora::passo {

// A read position over bytes. A read past the end fails: it takes nothing, leaves the
// position where it was, and the cursor stays failed for good: every later read fails
// too. Salta moves without any check, so the position may stand past the end; the next
// read there fails.
class Cursore {
public:
    explicit Cursore(std::span<const std::uint8_t> byte) : dati(byte.data()), fine(byte.size()) {}

    // The next n bytes, or nullptr when they run past the end.
    const std::uint8_t* Prendi(std::uint64_t n) {
        if (fallito || posizione + n > fine) {
            fallito = true;
            return nullptr;
        }
        const std::uint8_t* p = dati + posizione;
        posizione += n;
        return p;
    }
    std::uint8_t Byte() {
        const std::uint8_t* p = Prendi(1);
        return p == nullptr ? 0 : *p;
    }
    // n bytes (1 to 4), the first the most significant; 0 when they run past the end.
    std::uint32_t Numero(int n) {
        const std::uint8_t* p = Prendi(static_cast<std::uint64_t>(n));
        std::uint32_t valore = 0;
        for (int k = 0; p != nullptr && k < n; ++k) {
            valore = valore << 8 | p[k];
        }
        return valore;
    }
    // A variable-length number: seven bits a byte, the first the most significant, at
    // most four bytes. A fourth byte with its top bit set ends it all the same, unless
    // kStretta: then the number is broken and the cursor fails.
    template <bool kStretta = false> std::uint32_t Vlq() {
        std::uint32_t valore = 0;
        for (int k = 0; k < 4; ++k) {
            const std::uint8_t* p = Prendi(1);
            if (p == nullptr) {
                return valore;
            }
            valore = valore << 7 | (*p & 0x7F);
            if (*p < 0x80) {
                return valore;
            }
        }
        fallito = fallito || kStretta;
        return valore;
    }
    // The next byte without a bounds check: 0 past the end, and the position moves on.
    std::uint8_t ByteLibero() {
        const std::uint8_t b = posizione < fine ? dati[posizione] : 0;
        ++posizione;
        return b;
    }
    void Salta(std::uint64_t n) { posizione += n; }
    // Whether the next four bytes are these (false when they run past the end).
    bool Segue(const char (&attesi)[5]) const {
        return posizione + 4 <= fine && std::equal(attesi, attesi + 4, dati + posizione);
    }
    bool Fallito() const { return fallito; }
    std::uint64_t Posizione() const { return posizione; }
    std::uint64_t Dimensione() const { return fine; }
    const std::uint8_t* Dati() const { return dati; }
    void Posiziona(std::uint64_t p) { posizione = p; }

private:
    const std::uint8_t* dati;
    std::uint64_t fine;
    std::uint64_t posizione = 0;
    bool fallito = false;
};

// Data bytes after each status byte; kAltro: an event the visitor reads itself.
inline constexpr std::uint8_t kAltro = 3;
using TabellaDati = std::array<std::uint8_t, 256>;

// Channel messages: two data bytes for note off and on, key pressure, control change
// and pitch bend, one for program change and channel pressure. Every other status is
// given the length `altri`; meta (FF) and system exclusive (F0) are always kAltro.
constexpr TabellaDati Tabella(std::uint8_t altri) {
    TabellaDati t{};
    for (unsigned s = 0; s < 256; ++s) {
        const unsigned tipo = s >> 4;
        t[s] = tipo < 8 || tipo == 15 ? altri : tipo == 12 || tipo == 13 ? 1 : 2;
    }
    t[0xF0] = t[0xFF] = kAltro;
    return t;
}

// The analysis: forgiving in every fault, as its results have always been.
struct RegoleAnalisi {
    // A chunk walks one event even when it declares no bytes.
    static constexpr bool kAlmenoUnEvento = true;
    // The second data byte is passed over without a bounds check (0 past the end).
    static constexpr bool kSecondoDatoLibero = true;
    // A delta's fourth byte ends it, whatever its top bit.
    static constexpr bool kVlqStretta = false;
    // A data byte before any status (status 0) and the system statuses F1 to FE are
    // messages with one data byte, and become the running status.
    static constexpr TabellaDati kDati = Tabella(1);
};

// The player: a track stops at what no synthesizer could be sent (a data byte before
// any status, system statuses but system exclusive), at a broken delta and at bytes
// that run out; the visitor gets F7 (a system-exclusive escape) to read.
struct RegolePlayer {
    static constexpr bool kAlmenoUnEvento = false;
    static constexpr bool kSecondoDatoLibero = false;
    static constexpr bool kVlqStretta = true;
    static constexpr TabellaDati kDati = Tabella(kAltro);
};

// Data bytes of a channel message (status 0x80 to 0xEF).
constexpr std::uint32_t DatiCanale(std::uint8_t status) {
    return status >> 5 == 6 ? 1 : 2; // C0 to DF: program change, channel pressure
}

// The longest channel message: a four-byte delta, a status and two data bytes.
inline constexpr std::uint64_t kEventoMassimo = 7;

// One event at the cursor, every read checked. False when the track stops here: a
// read failed, or the visitor ended it.
template <class Regole, class Visitatore>
bool EventoControllato(Cursore& c, std::uint64_t& tick, std::uint8_t& corrente, Visitatore& v) {
    const std::uint32_t delta = c.Vlq<Regole::kVlqStretta>();
    if (c.Fallito()) {
        return false;
    }
    tick += delta;
    const std::uint8_t b = c.Byte();
    if (c.Fallito()) {
        return false;
    }
    const std::uint8_t status = b >= 0x80 ? b : corrente;
    const std::uint8_t n = Regole::kDati[status];
    if (n == kAltro) {
        return v.Altro(c, tick, status) && !c.Fallito();
    }
    corrente = status;
    const std::uint8_t dato1 = b >= 0x80 ? c.Byte() : b;
    std::uint8_t dato2 = 0;
    if (n == 2) {
        dato2 = Regole::kSecondoDatoLibero ? c.ByteLibero() : c.Byte();
    }
    if (c.Fallito()) {
        return false;
    }
    v.Canale(tick, status, dato1, dato2);
    return true;
}

// Walks one track from the cursor up to `fine` (a position of the cursor's bytes): the
// events run while the position is below it, and the last may end past it. tick is the
// track's clock, read and left at the last delta. The visitor has:
//   void Canale(std::uint64_t tick, std::uint8_t status, std::uint8_t dato1, std::uint8_t dato2);
//     a message of the table's lengths (dato2 is 0 for one data byte), data bytes as read;
//   bool Altro(Cursore&, std::uint64_t tick, std::uint8_t status);
//     a kAltro status, after its status byte: the visitor reads the event; false ends
//     the track. Meta and system-exclusive events leave the running status as it was.
// The walk stops when the cursor fails: c.Fallito() tells the reader.
template <class Regole, class Visitatore>
void Traccia(Cursore& c, std::uint64_t fine, std::uint64_t& tick, Visitatore& v) {
    std::uint8_t corrente = 0; // running status
    if (Regole::kAlmenoUnEvento && c.Posizione() >= fine) {
        EventoControllato<Regole>(c, tick, corrente, v);
        return;
    }
    // The fast loop reads the kEventoMassimo bytes an event can take without checking
    // them: it runs while they all lie inside the bytes. Other events, and those near
    // the end, take the checked path.
    const std::uint64_t rapido =
        c.Dimensione() < kEventoMassimo ? 0 : std::min(fine, c.Dimensione() - kEventoMassimo + 1);
    const std::uint8_t* const dati = c.Dati();
    // The running status's data bytes; kAltro while it is none (or one the fast loop
    // leaves to the checked path).
    std::uint32_t datiCorrente = kAltro;
    std::uint64_t pos = c.Posizione();
    std::uint64_t t = tick;
    while (pos < fine) {
        while (pos < rapido) {
            const std::uint8_t* p = dati + pos;
            std::uint32_t delta = p[0];
            std::uint64_t k = 1;
            if (delta >= 0x80) [[unlikely]] {
                delta &= 0x7F;
                std::uint8_t x;
                do {
                    x = p[k++];
                    delta = delta << 7 | (x & 0x7F);
                } while (x >= 0x80 && k < 4);
                if (Regole::kVlqStretta && x >= 0x80) {
                    break;
                }
            }
            // Branches, not table reads, decide the length: the next event's position
            // then waits on no load, and with running status on nothing at all.
            const std::uint8_t b = p[k];
            if (b >= 0x80) {
                if (b >= 0xF0) {
                    break;
                }
                corrente = b;
                datiCorrente = DatiCanale(b);
                ++k;
            } else if (datiCorrente == kAltro) {
                break;
            }
            const std::uint8_t dato1 = p[k];
            const std::uint8_t dato2 =
                p[k + 1] & static_cast<std::uint8_t>(0 - (datiCorrente >> 1));
            t += delta;
            pos += k + datiCorrente;
            v.Canale(t, corrente, dato1, dato2);
        }
        if (pos >= fine) {
            break;
        }
        // The checked path gets copies, so that the fast loop keeps its own in registers.
        std::uint64_t tickControllato = t;
        std::uint8_t correnteControllato = corrente;
        c.Posiziona(pos);
        const bool segue = EventoControllato<Regole>(c, tickControllato, correnteControllato, v);
        pos = c.Posizione();
        t = tickControllato;
        corrente = correnteControllato;
        datiCorrente = corrente >= 0x80 && corrente < 0xF0 ? DatiCanale(corrente) : kAltro;
        if (!segue) {
            break;
        }
    }
    c.Posiziona(pos);
    tick = t;
}

} // namespace velmora::passo
