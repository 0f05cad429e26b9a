#include "impronta.h"

#include "midi.h"

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

std::optional<std::uint64_t> RaccoltaNote::Impronta(std::uint32_t divisione) {
    if (note.empty() || divisione == 0) {
        return std::nullopt;
    }
    // Most ticks are multiples of the divisor found so far: one 32-bit remainder each.
    std::uint32_t comune = divisione;
    std::uint32_t tickPrecedente = 0;
    for (const std::uint64_t n : note) {
        const auto tick = static_cast<std::uint32_t>(n >> 9);
        if (tick != tickPrecedente && tick % comune != 0) {
            comune = std::gcd(comune, tick);
            if (comune == 1) {
                break;
            }
        }
        tickPrecedente = tick;
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
            const std::uint32_t tick = static_cast<std::uint32_t>(n >> 9) / comune;
            somma += Mescola((std::uint64_t{tick} << 9 | (n & 0x1FF)) * kPrimo1);
        }
    }
    const std::uint64_t riassunto[3] = {somma, note.size(), divisione / comune};
    note.clear();
    return Hash64({reinterpret_cast<const std::uint8_t*>(riassunto), sizeof riassunto});
}

} // namespace velmora

std::optional<std::uint64_t> Midi::HashByte() const {
    return hashByte;
}

std::optional<std::uint64_t> Midi::ImprontaMusicale() const {
    return impronta;
}
