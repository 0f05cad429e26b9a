#include "testo.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace velmora {
namespace {

// Code points of the Windows-1252 bytes 0x80 to 0x9F; the unassigned bytes map to
// the C1 control of the same value.
constexpr std::array<char32_t, 32> kAlti = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AggiungiUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Decodes the UTF-8 sequence starting at s[i]; returns its length, or 0 when it is
// not a well-formed sequence.
std::size_t Sequenza(std::string_view s, std::size_t i, char32_t& c) {
    const auto b0 = static_cast<std::uint8_t>(s[i]);
    if (b0 < 0x80) {
        c = b0;
        return 1;
    }
    std::size_t n;
    char32_t minimo;
    if ((b0 & 0xE0) == 0xC0) {
        n = 2, c = b0 & 0x1F, minimo = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        n = 3, c = b0 & 0x0F, minimo = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        n = 4, c = b0 & 0x07, minimo = 0x10000;
    } else {
        return 0;
    }
    if (i + n > s.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<std::uint8_t>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (b & 0x3F);
    }
    if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return 0;
    }
    return n;
}

} // namespace

bool Utf8Valido(std::string_view bytes) {
    char32_t c;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = Sequenza(bytes, i, c);
        if (n == 0) {
            return false;
        }
        i += n;
    }
    return true;
}

std::string DecodificaTesto(std::string_view bytes) {
    if (Utf8Valido(bytes)) {
        return std::string(bytes);
    }
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char ch : bytes) {
        const auto b = static_cast<std::uint8_t>(ch);
        AggiungiUtf8(out, (b >= 0x80 && b < 0xA0) ? kAlti[b - 0x80] : char32_t{b});
    }
    return out;
}

std::string CodificaAnsi(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    AggiungiAnsi(out, utf8);
    return out;
}

void AggiungiAnsi(std::string& out, std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c;
        const std::size_t n = Sequenza(utf8, i, c);
        if (n == 0) {
            out.push_back('?');
            ++i;
            continue;
        }
        i += n;
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.push_back(static_cast<char>(c));
            continue;
        }
        char sostituto = '?';
        for (std::size_t k = 0; k < kAlti.size(); ++k) {
            if (kAlti[k] == c) {
                sostituto = static_cast<char>(0x80 + k);
                break;
            }
        }
        out.push_back(sostituto);
    }
}

std::string NomeSenzaControlli(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c;
        const std::size_t n = Sequenza(utf8, i, c);
        if (n == 0) { // not UTF-8: left for the encoder, which writes "?"
            out.push_back(utf8[i++]);
            continue;
        }
        const bool controllo = c < 0x20 || (c >= 0x7F && c < 0xA0);
        out.append(controllo ? std::string_view("?") : utf8.substr(i, n));
        i += n;
    }
    return out;
}

namespace {

// Walks the characters of a text: a well-formed UTF-8 sequence is one character,
// and so is every byte that is not part of one (it is written as "?").
template <typename Visita> void PerOgniCarattere(std::string_view utf8, Visita visita) {
    char32_t c;
    for (std::size_t i = 0; i < utf8.size();) {
        visita(i);
        const std::size_t n = Sequenza(utf8, i, c);
        i += n == 0 ? 1 : n;
    }
}

} // namespace

std::size_t Caratteri(std::string_view utf8) {
    std::size_t n = 0;
    PerOgniCarattere(utf8, [&n](std::size_t) { ++n; });
    return n;
}

std::string SenzaUltimiCaratteri(std::string_view utf8, std::size_t n) {
    const std::size_t totale = Caratteri(utf8);
    if (n >= totale) {
        return {};
    }
    std::size_t visti = 0;
    std::size_t fine = utf8.size();
    PerOgniCarattere(utf8, [&](std::size_t inizio) {
        if (visti++ == totale - n) {
            fine = std::min(fine, inizio);
        }
    });
    return std::string(utf8.substr(0, fine));
}

std::string SoloLf(std::string_view testo) {
    std::string out;
    out.reserve(testo.size());
    for (std::size_t i = 0; i < testo.size(); ++i) {
        if (testo[i] != '\r') {
            out.push_back(testo[i]);
        } else if (i + 1 == testo.size() || testo[i + 1] != '\n') {
            out.push_back('\n');
        }
    }
    return out;
}

std::string Esadecimale(std::uint64_t valore) {
    static constexpr char kCifre[] = "0123456789abcdef";
    std::string testo(16, '0');
    for (int k = 15; k >= 0; --k, valore >>= 4) {
        testo[static_cast<std::size_t>(k)] = kCifre[valore & 0xF];
    }
    return testo;
}

} // namespace velmora
