// The analysis as it was before the one event walk (test only).

// ---- analysis/midi.cpp
// Loading, the byte readers and the header check.
#include "riferimento_midi.h"

#include "piattaforma.h"

#include <cstring>
#include <limits>
#include <new>

MidiRiferimento::MidiRiferimento(std::string percorso) : percorsoFile(std::move(percorso)) {}

void MidiRiferimento::Analizza() {
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

void MidiRiferimento::Analizza(std::span<const std::uint8_t> bytes) {
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

bool MidiRiferimento::CaricaFile() {
    // The size is held in 32 signed bits; a larger file cannot be analysed.
    std::optional<velmora::ContenutoFile> letto = velmora::LeggiFileRegolare(
        percorsoFile, static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()));
    if (!letto) {
        return false;
    }
    dimensione = static_cast<std::int32_t>(letto->dimensione);
    contenuto = std::move(letto->byte);
    return true;
}

void MidiRiferimento::Esamina() {
    hashByte = velmora::Hash64({contenuto.get(), static_cast<std::size_t>(dimensione)});
    LeggiIntestazione();
    CreaTracce();
    LeggiTracce();
}

void MidiRiferimento::Leggi(std::uint8_t* destinazione, std::uint32_t n) {
    if (n == 0) {
        return;
    }
    if (const std::uint8_t* p = Prendi(n)) {
        std::memcpy(destinazione, p, n);
    } else {
        std::memset(destinazione, 0, n);
    }
}

std::uint32_t MidiRiferimento::LeggiNumero(std::uint32_t n) {
    const std::uint8_t* p = Prendi(n);
    std::uint32_t valore = 0;
    for (std::uint32_t k = 0; p != nullptr && k < n; ++k) {
        valore = valore * 256 + p[k];
    }
    return valore;
}

std::string MidiRiferimento::LeggiTesto(std::uint32_t n) {
    const auto* p = reinterpret_cast<const char*>(Prendi(n));
    if (p == nullptr) {
        return {};
    }
    const void* zero = std::memchr(p, 0, n);
    return std::string(p, zero == nullptr ? p + n : static_cast<const char*>(zero));
}

void MidiRiferimento::LeggiIntestazione() {
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

const MidiRiferimento::elementotraccia* MidiRiferimento::Riga(std::int64_t i) const {
    if (i < 0 || static_cast<std::uint64_t>(i) >= elementiTraccia.size()) {
        return nullptr;
    }
    return &elementiTraccia[static_cast<std::size_t>(i)];
}

// ---- analysis/tracce.cpp
// The walk over the track chunks: track rows, events, texts and the duration.
#include "lista.h"
#include "riferimento_midi.h"

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

void MidiRiferimento::CreaTracce() {
    std::uint32_t righe = std::min(numeroTracce, TracceContenibili(dimensione));
    // A format-0 file keeps rows 1 to 16 for the channels, whatever it declares.
    if (numeroTracce == 1 || formato == 0) {
        righe = std::max<std::uint32_t>(righe, 17);
    }
    elementiTraccia.assign(righe, elementotraccia{});
}

void MidiRiferimento::LeggiTracce() {
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

void MidiRiferimento::LeggiTraccia(std::uint32_t i, lista& mappa) {
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

bool MidiRiferimento::EventiCanaleRapidi(statotraccia& s, elementotraccia& r) {
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

void MidiRiferimento::EventoCanale(statotraccia& s, std::uint8_t b, std::uint8_t status) {
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

void MidiRiferimento::Registra(statotraccia& s, std::uint8_t status, std::uint8_t dato,
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
        s.tickNota = static_cast<std::uint32_t>(s.tick);
        riga.attiva = 1;
    }
}

void MidiRiferimento::EventoMeta(statotraccia& s, lista& mappa) {
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
            mappa.AggiungiCambio(static_cast<std::uint32_t>(s.tick), tempo);
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

void MidiRiferimento::EventoTesto(statotraccia& s) {
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

void MidiRiferimento::EventoSysex(statotraccia& s) {
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

void MidiRiferimento::CalcolaDurata(lista& mappa) {
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

// ---- analysis/risultati.cpp
// The results of an analysis and their text forms, with the fixed failure forms.
#include "riferimento_midi.h"
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

std::uint32_t MidiRiferimento::DurataSecondi() const {
    return stato == 0 ? durataSecondi : 0;
}

std::uint32_t MidiRiferimento::DimensioneFile() const {
    return stato == 0 ? static_cast<std::uint32_t>(dimensione) : 0;
}

std::uint32_t MidiRiferimento::BattuteMedie() const {
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

std::int32_t MidiRiferimento::ContaTracce() const {
    if (stato != 0) {
        return 0;
    }
    return formato == 0 ? 17 : static_cast<std::int32_t>(numeroTracce);
}

std::int32_t MidiRiferimento::TracceUsate() const {
    const std::int32_t righe = ContaTracce();
    std::int32_t usate = 0;
    for (std::int32_t i = 0; i < righe; ++i) {
        usate += TracciaAttiva(i) == 1 ? 1 : 0;
    }
    return usate;
}

std::string MidiRiferimento::TempoIniziale() const {
    if (stato != 0) {
        return Fallimento(stato) + "/" + Fallimento(stato);
    }
    return metrica.empty() ? "4/4" : metrica;
}

std::string MidiRiferimento::TipoMidi() const {
    return stato == 0 ? std::to_string(formato) : Fallimento(stato);
}

std::string MidiRiferimento::TipoTesto() const {
    return stato == 0 ? tipoTesto : Fallimento(stato);
}

std::string MidiRiferimento::TestoCopyright() const {
    return stato == 0 ? testoCopyright : Fallimento(stato);
}

std::string MidiRiferimento::TestoCompleto() const {
    return stato == 0 ? testoCompleto : "?";
}

std::string MidiRiferimento::NomeTraccia(std::int32_t i) const {
    const elementotraccia* riga = Riga(formato == 0 ? 0 : i);
    return riga == nullptr ? std::string() : riga->nomeTraccia;
}

std::uint8_t MidiRiferimento::TracciaAttiva(std::int32_t i) const {
    const elementotraccia* riga = Riga(i);
    return riga == nullptr ? 255 : riga->attiva;
}

std::string MidiRiferimento::Strumento(std::int32_t i) const {
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

// ---- analysis/impronta.cpp
#include <bit>
#include <numeric>

namespace {
constexpr std::uint64_t kPrimo1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrimo2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t kPrimo3 = 0x165667B19E3779F9ull;
constexpr std::uint64_t kPrimo4 = 0x85EBCA77C2B2AE63ull;
constexpr std::uint64_t kPrimo5 = 0x27D4EB2F165667C5ull;

// The final avalanche: every input bit reaches every output bit.
std::uint64_t Mescola(std::uint64_t h) {
    h ^= h >> 33;
    h *= kPrimo2;
    h ^= h >> 29;
    h *= kPrimo3;
    return h ^ h >> 32;
}

// One note, its tick already divided by the common divisor: a word for the ticks that
// fit beside the key, the high part mixed in for the others.
std::uint64_t MescolaNota(std::uint64_t tick, std::uint64_t chiave) {
    const std::uint64_t parola = tick << 9 | chiave;
    return Mescola((tick >> 55 == 0 ? parola : parola ^ Mescola(tick >> 55)) * kPrimo1);
}

// Most ticks fit in 32 bits, whose division is the cheaper one.
std::uint64_t Quoziente(std::uint64_t tick, std::uint32_t divisore) {
    return tick >> 32 == 0 ? static_cast<std::uint32_t>(tick) / divisore : tick / divisore;
}

} // namespace

std::optional<std::uint64_t> RaccoltaNoteRiferimento::Impronta(std::uint32_t divisione) {
    if ((note.empty() && lontane.empty()) || divisione == 0) {
        return std::nullopt;
    }
    // Most ticks are multiples of the divisor found so far: one remainder each.
    std::uint32_t comune = divisione;
    std::uint64_t tickPrecedente = 0;
    const auto dividi = [&](std::uint64_t tick) {
        if (tick != tickPrecedente && comune != 1 && Quoziente(tick, comune) * comune != tick) {
            comune = static_cast<std::uint32_t>(std::gcd(std::uint64_t{comune}, tick));
        }
        tickPrecedente = tick;
    };
    for (const std::uint64_t n : note) {
        dividi(n >> 9);
        if (comune == 1) {
            break;
        }
    }
    for (const Lontana& n : lontane) {
        dividi(n.tick);
    }
    // The sorted notes as a multiset: each note (reduced tick, key, drum) mixed on its
    // own and the results added, which gives every order of the same notes the value
    // that sorting them first would, without the sort.
    std::uint64_t somma = 0;
    if (comune == 1) {
        for (const std::uint64_t n : note) {
            somma += Mescola(n * kPrimo1);
        }
    } else {
        for (const std::uint64_t n : note) {
            somma += MescolaNota(Quoziente(n >> 9, comune), n & 0x1FF);
        }
    }
    for (const Lontana& n : lontane) {
        somma += MescolaNota(Quoziente(n.tick, comune), n.chiave);
    }
    const std::uint64_t riassunto[3] = {somma, note.size() + lontane.size(), divisione / comune};
    note.clear();
    lontane.clear();
    return velmora::Hash64({reinterpret_cast<const std::uint8_t*>(riassunto), sizeof riassunto});
}

std::optional<std::uint64_t> MidiRiferimento::HashByte() const {
    return hashByte;
}

std::optional<std::uint64_t> MidiRiferimento::ImprontaMusicale() const {
    return impronta;
}
