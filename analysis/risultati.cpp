// The results of an analysis and their text forms, with the fixed failure forms.
#include "midi.h"
#include "strumenti.h"

#include <algorithm>
#include <limits>

namespace {

// The text a failed analysis shows: "?" for a file that is not MIDI or is cut
// short, "-" for one that cannot be read.
std::string Fallimento(std::uint32_t stato) {
    return stato == 1 ? "?" : "-";
}

} // namespace

std::uint32_t Midi::DurataSecondi() const {
    return stato == 0 ? durataSecondi : 0;
}

std::uint32_t Midi::DurataRiproduzioneSecondi() const {
    return stato == 0 ? durataRiproduzione : 0;
}

std::uint32_t Midi::DimensioneFile() const {
    return stato == 0 ? static_cast<std::uint32_t>(dimensione) : 0;
}

std::uint32_t Midi::BattuteMedie() const {
    if (stato != 0 || durataSecondi == 0 || divisione == 0) {
        return 0;
    }
    // 64-bit products: a long file at a fine division must not wrap. The average is
    // held at the largest value the catalogue's signed 32 bits keep, so the report and
    // the catalogue show the same number.
    const std::uint64_t battute =
        std::uint64_t{ultimoTick} * 60 / (std::uint64_t{divisione} * durataSecondi);
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(battute, std::numeric_limits<std::int32_t>::max()));
}

std::int32_t Midi::ContaTracce() const {
    if (stato != 0) {
        return 0;
    }
    return formato == 0 ? 17 : static_cast<std::int32_t>(numeroTracce);
}

std::int32_t Midi::TracceUsate() const {
    const std::int32_t righe = ContaTracce();
    std::int32_t usate = 0;
    for (std::int32_t i = 0; i < righe; ++i) {
        usate += TracciaAttiva(i) == 1 ? 1 : 0;
    }
    return usate;
}

std::string Midi::TempoIniziale() const {
    if (stato != 0) {
        return Fallimento(stato) + "/" + Fallimento(stato);
    }
    return metrica.empty() ? "4/4" : metrica;
}

std::string Midi::TipoMidi() const {
    return stato == 0 ? std::to_string(formato) : Fallimento(stato);
}

std::string Midi::TipoTesto() const {
    return stato == 0 ? tipoTesto : Fallimento(stato);
}

std::string Midi::TestoCopyright() const {
    return stato == 0 ? testoCopyright : Fallimento(stato);
}

std::string Midi::TestoCompleto() const {
    return stato == 0 ? testoCompleto : "?";
}

const Midi::elementotraccia* Midi::Riga(std::int32_t i) const {
    if (i < 0 || i >= ContaTracce() || static_cast<std::size_t>(i) >= elementiTraccia.size()) {
        return nullptr;
    }
    return &elementiTraccia[static_cast<std::size_t>(i)];
}

std::string Midi::NomeTraccia(std::int32_t i) const {
    const elementotraccia* riga = Riga(formato == 0 ? 0 : i);
    return riga == nullptr ? std::string() : riga->nomeTraccia;
}

std::uint8_t Midi::TracciaAttiva(std::int32_t i) const {
    const elementotraccia* riga = Riga(i);
    return riga == nullptr ? 255 : riga->attiva;
}

std::string Midi::Strumento(std::int32_t i) const {
    const elementotraccia* riga = Riga(i);
    if (riga == nullptr || riga->programma == 255) {
        return "(traccia non attiva)";
    }
    if (riga->canale == 9) {
        return "Drum";
    }
    // Program numbers above 127 only come from damaged files.
    return riga->programma < nomiStrumenti.size() ? std::string(nomiStrumenti[riga->programma])
                                                  : "?";
}
