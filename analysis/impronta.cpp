#include "impronta.h"

#include <algorithm>
#include <bit>
#include <numeric>

namespace velmora {

// The fingerprint hashes the notes' memory as it is: the same bytes on every machine
// the program is built for.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr std::uint64_t kPrimo1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t kPrimo2 = 0xC2B2AE3D27D4EB4Full;
constexpr std::uint64_t kPrimo3 = 0x165667B19E3779F9ull;
constexpr std::uint64_t kPrimo4 = 0x85EBCA77C2B2AE63ull;
constexpr std::uint64_t kPrimo5 = 0x27D4EB2F165667C5ull;

// Little-endian reads, whatever the machine.
std::uint64_t Leggi64(const std::uint8_t* p) {
    std::uint64_t v = 0;
    for (int k = 7; k >= 0; --k) {
        v = v << 8 | p[k];
    }
    return v;
}

std::uint32_t Leggi32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

std::uint64_t Giro(std::uint64_t accumulo, std::uint64_t dato) {
    return std::rotl(accumulo + dato * kPrimo2, 31) * kPrimo1;
}

std::uint64_t Unisci(std::uint64_t h, std::uint64_t accumulo) {
    return (h ^ Giro(0, accumulo)) * kPrimo1 + kPrimo4;
}

// The final avalanche: every input bit reaches every output bit.
std::uint64_t Mescola(std::uint64_t h) {
    h ^= h >> 33;
    h *= kPrimo2;
    h ^= h >> 29;
    h *= kPrimo3;
    return h ^ h >> 32;
}

} // namespace

std::uint64_t Hash64(std::span<const std::uint8_t> bytes) {
    const std::uint8_t* p = bytes.data();
    const std::uint8_t* const fine = p + bytes.size();
    std::uint64_t h;
    if (bytes.size() >= 32) {
        std::uint64_t v[4] = {kPrimo1 + kPrimo2, kPrimo2, 0, 0 - kPrimo1};
        for (; fine - p >= 32; p += 32) {
            for (int k = 0; k < 4; ++k) {
                v[k] = Giro(v[k], Leggi64(p + 8 * k));
            }
        }
        h = std::rotl(v[0], 1) + std::rotl(v[1], 7) + std::rotl(v[2], 12) + std::rotl(v[3], 18);
        for (const std::uint64_t a : v) {
            h = Unisci(h, a);
        }
    } else {
        h = kPrimo5;
    }
    h += bytes.size();
    for (; fine - p >= 8; p += 8) {
        h = std::rotl(h ^ Giro(0, Leggi64(p)), 27) * kPrimo1 + kPrimo4;
    }
    if (fine - p >= 4) {
        h = std::rotl(h ^ Leggi32(p) * kPrimo1, 23) * kPrimo2 + kPrimo3;
        p += 4;
    }
    for (; p < fine; ++p) {
        h = std::rotl(h ^ *p * kPrimo5, 11) * kPrimo1;
    }
    return Mescola(h);
}

namespace {

// One note, its tick already divided by the common divisor: a word for the ticks that
// fit beside the key, the high part mixed in for the others.
std::uint64_t MescolaNota(std::uint64_t tick, std::uint64_t chiave) {
    const std::uint64_t parola = tick << 9 | chiave;
    return Mescola((tick >> 55 == 0 ? parola : parola ^ Mescola(tick >> 55)) * kPrimo1);
}

// Division by a divisor d = 2^spostamento * dispari without dividing. n times the
// inverse of the odd part modulo 2^64, rotated right by spostamento, is n / d when d
// divides n, and larger than 2^64 / d when it does not (the low bits a multiple of
// 2^spostamento lacks come back at the top).
class Divisore {
public:
    explicit Divisore(std::uint32_t d)
        : valore(d), spostamento(std::countr_zero(d)), limite(~std::uint64_t{0} / d) {
        const std::uint64_t dispari = d >> spostamento;
        inverso = dispari; // right in 3 bits; each step doubles them
        for (int k = 0; k < 5; ++k) {
            inverso *= 2 - dispari * inverso;
        }
    }
    // Whether d divides n, and then the quotient.
    bool Divide(std::uint64_t n, std::uint64_t& quoziente) const {
        quoziente = std::rotr(n * inverso, spostamento);
        return quoziente <= limite;
    }
    std::uint32_t Valore() const { return valore; }

private:
    std::uint32_t valore;
    int spostamento;
    std::uint64_t limite;
    std::uint64_t inverso = 0;
};

} // namespace

RaccoltaNote::Penna RaccoltaNote::Riserva(std::int32_t dimensione) {
    capacita = static_cast<std::size_t>(dimensione) / 3;
    note = std::make_unique_for_overwrite<std::uint64_t[]>(capacita);
    return {note.get(), note.get() + capacita};
}

void RaccoltaNote::Altrove(Penna& penna, std::uint64_t tick, std::uint8_t status,
                           std::uint8_t tasto) {
    const std::uint64_t chiave = std::uint64_t{tasto} << 1 | (status == 0x99 ? 1 : 0);
    if (tick >> kBitTick != 0) {
        lontane.push_back({tick, chiave});
        return;
    }
    // Not reached when Riserva was told the file's size; kept safe all the same.
    const std::size_t conta = static_cast<std::size_t>(penna.scrivi - note.get());
    auto piu = std::make_unique_for_overwrite<std::uint64_t[]>(capacita * 2 + 1);
    std::copy_n(note.get(), conta, piu.get());
    note = std::move(piu);
    capacita = capacita * 2 + 1;
    note[conta] = tick << 9 | chiave;
    penna = {note.get() + conta + 1, note.get() + capacita};
}

std::optional<std::uint64_t> RaccoltaNote::Impronta(const Penna& penna, std::uint32_t divisione) {
    const std::span<const std::uint64_t> vicine(note.get(), penna.scrivi - note.get());
    if ((vicine.empty() && lontane.empty()) || divisione == 0) {
        return std::nullopt;
    }
    // The greatest common divisor of the division and every tick, found as the notes
    // are mixed: each tick is divided and its note mixed (reduced tick, key, drum) in
    // one pass. A tick the divisor does not divide sends the notes left through the
    // search alone, and the pass starts again with the final divisor: the notes before
    // were multiples of the divisor, so they are of its divisors too.
    Divisore comune(divisione);
    std::uint64_t quoziente = 0;
    const auto cerca = [&](std::uint64_t tick) {
        if (!comune.Divide(tick, quoziente)) {
            comune = Divisore(
                static_cast<std::uint32_t>(std::gcd(std::uint64_t{comune.Valore()}, tick)));
        }
    };
    for (const Lontana& n : lontane) {
        cerca(n.tick);
    }
    // The sorted notes as a multiset: each note mixed on its own and the results added,
    // which gives every order of the same notes the value that sorting them first
    // would, without the sort.
    std::uint64_t somma = 0;
    for (std::size_t i = 0; i < vicine.size(); ++i) {
        if (!comune.Divide(vicine[i] >> 9, quoziente)) [[unlikely]] {
            for (std::size_t j = i; j < vicine.size() && comune.Valore() != 1; ++j) {
                cerca(vicine[j] >> 9);
            }
            somma = 0;
            if (comune.Valore() == 1) {
                // The common case of unquantized ticks: each note's word is mixed as
                // it is, with no division.
                for (const std::uint64_t nota : vicine) {
                    somma += Mescola(nota * kPrimo1);
                }
                break;
            }
            i = static_cast<std::size_t>(-1);
            continue;
        }
        somma += Mescola((quoziente << 9 | (vicine[i] & 0x1FF)) * kPrimo1);
    }
    for (const Lontana& n : lontane) {
        comune.Divide(n.tick, quoziente);
        somma += MescolaNota(quoziente, n.chiave);
    }
    const std::uint64_t riassunto[3] = {somma, vicine.size() + lontane.size(),
                                        divisione / comune.Valore()};
    lontane.clear();
    return Hash64({reinterpret_cast<const std::uint8_t*>(riassunto), sizeof riassunto});
}

} // namespace velmora
