// Loading, the byte readers and the header check.
#include "midi.h"

#include "piattaforma.h"

#include <cstring>
#include <limits>
#include <new>

Midi::Midi(std::string percorso) : percorsoFile(std::move(percorso)) {}

void Midi::Analizza() {
    try {
        if (!CaricaFile()) {
            stato = 2;
            return;
        }
        Esamina();
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
        dimensione = static_cast<std::int32_t>(bytes.size());
        contenuto = std::make_unique_for_overwrite<std::uint8_t[]>(bytes.size());
        if (!bytes.empty()) {
            std::memcpy(contenuto.get(), bytes.data(), bytes.size());
        }
        Esamina();
    } catch (...) {
        stato = 2;
    }
}

void Midi::Analizza(std::optional<velmora::ContenutoFile> letto) {
    try {
        if (!Tieni(std::move(letto))) {
            stato = 2;
            return;
        }
        Esamina();
    } catch (...) {
        stato = 2;
    }
}

bool Midi::CaricaFile() {
    // The size is held in 32 signed bits; a larger file cannot be analysed.
    return Tieni(velmora::LeggiFileRegolare(
        percorsoFile, static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())));
}

bool Midi::Tieni(std::optional<velmora::ContenutoFile> letto) {
    if (!letto ||
        letto->dimensione > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        return false;
    }
    dimensione = static_cast<std::int32_t>(letto->dimensione);
    contenuto = std::move(letto->byte);
    return true;
}

void Midi::Esamina() {
    hashByte = velmora::Hash64({contenuto.get(), static_cast<std::size_t>(dimensione)});
    LeggiIntestazione();
    CreaTracce();
    LeggiTracce();
}

void Midi::Leggi(std::uint8_t* destinazione, std::uint32_t n) {
    if (n == 0) {
        return;
    }
    if (const std::uint8_t* p = Prendi(n)) {
        std::memcpy(destinazione, p, n);
    } else {
        std::memset(destinazione, 0, n);
    }
}

std::uint32_t Midi::LeggiNumero(std::uint32_t n) {
    const std::uint8_t* p = Prendi(n);
    std::uint32_t valore = 0;
    for (std::uint32_t k = 0; p != nullptr && k < n; ++k) {
        valore = valore * 256 + p[k];
    }
    return valore;
}

std::string Midi::LeggiTesto(std::uint32_t n) {
    const auto* p = reinterpret_cast<const char*>(Prendi(n));
    if (p == nullptr) {
        return {};
    }
    const void* zero = std::memchr(p, 0, n);
    return std::string(p, zero == nullptr ? p + n : static_cast<const char*>(zero));
}

void Midi::LeggiIntestazione() {
    Posiziona(0);
    std::uint8_t firma[4];
    Leggi(firma, 4);
    if (std::memcmp(firma, "MThd", 4) != 0) {
        stato = 1;
        return;
    }
    if (LeggiNumero(4) != 6) {
        stato = 1;
        return;
    }
    const std::uint32_t f = LeggiNumero(2);
    formato = static_cast<std::int32_t>(f);
    if (f > 2) {
        stato = 1;
        return;
    }
    numeroTracce = LeggiNumero(2);
    divisione = LeggiNumero(2);
}

const Midi::elementotraccia* Midi::Riga(std::int64_t i) const {
    if (i < 0 || static_cast<std::uint64_t>(i) >= elementiTraccia.size()) {
        return nullptr;
    }
    return &elementiTraccia[static_cast<std::size_t>(i)];
}
