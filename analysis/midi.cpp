// Loading and the header check.
#include "midi.h"

#include "passo.h"
#include "piattaforma.h"

#include <cstring>
#include <limits>
#include <new>

Midi::Midi(std::string percorso) : percorsoFile(std::move(percorso)) {}

void Midi::Analizza() {
    try {
        // The size is held in 32 signed bits; a larger file cannot be analysed.
        Analizza(velmora::LeggiFileRegolare(
            percorsoFile, static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())));
    } catch (...) {
        stato = 2;
    }
}

void Midi::Analizza(std::optional<velmora::ContenutoFile> letto) {
    try {
        if (!letto || letto->dimensione >
                          static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            stato = 2;
            return;
        }
        contenuto = std::move(letto->byte);
        Esamina({contenuto.get(), letto->dimensione});
    } catch (...) {
        stato = 2;
    }
}

void Midi::Analizza(std::span<const std::uint8_t> bytes) {
    try {
        if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            stato = 2;
            return;
        }
        // Nothing of the bytes is kept: every result is copied out of them.
        Esamina(bytes);
    } catch (...) {
        stato = 2;
    }
}

void Midi::Esamina(std::span<const std::uint8_t> bytes) {
    dimensione = static_cast<std::int32_t>(bytes.size());
    hashByte = velmora::Hash64(bytes);
    velmora::passo::Cursore c(bytes);
    LeggiIntestazione(c);
    if (stato == 0) {
        CreaTracce();
        LeggiTracce(c);
    }
}

void Midi::LeggiIntestazione(velmora::passo::Cursore& c) {
    if (!c.Segue("MThd")) {
        stato = 1;
        return;
    }
    c.Salta(4);
    if (c.Numero(4) != 6) {
        stato = 1;
        return;
    }
    const std::uint32_t f = c.Numero(2);
    formato = static_cast<std::int32_t>(f);
    if (f > 2) {
        stato = 1;
        return;
    }
    numeroTracce = c.Numero(2);
    divisione = c.Numero(2);
    if (c.Fallito()) {
        stato = 1;
    }
}
