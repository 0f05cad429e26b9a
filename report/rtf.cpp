#include "rtf.h"

#include "testo.h"

#include <cstdint>
#include <string_view>

namespace {

// The colour table lists the styles' colours in style order after the automatic
// colour, so style s is colour s + 1.
constexpr char kIntestazione[] =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\r\n"
    "{\\fonttbl{\\f0\\fnil\\fcharset0 Comic Sans MS;}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue255;\\red255\\green0\\blue0;\\red0\\green128\\blue0;"
    "\\red0\\green0\\blue0;}\r\n"
    "\\uc1\\pard\\f0\\fs20 ";
constexpr int kStili = 4;
constexpr int kGrassetto = 1;

// The text with every line end (CR LF, a lone CR or a lone LF) as CR LF.
std::string FineRigaCrLf(std::string_view testo) {
    std::string out;
    out.reserve(testo.size());
    for (std::size_t i = 0; i < testo.size(); ++i) {
        if (testo[i] == '\r' || testo[i] == '\n') {
            out += "\r\n";
            if (testo[i] == '\r' && i + 1 < testo.size() && testo[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += testo[i];
        }
    }
    return out;
}

// Length of the UTF-8 sequence that starts with this byte (1 for a stray byte).
std::size_t LunghezzaSequenza(unsigned char primo) {
    if (primo >= 0xF0 && primo < 0xF8) {
        return 4;
    }
    if (primo >= 0xE0) {
        return primo < 0xF0 ? 3 : 1;
    }
    return primo >= 0xC0 ? 2 : 1;
}

// The code point of a well-formed UTF-8 sequence.
char32_t CodePoint(std::string_view sequenza) {
    const auto primo = static_cast<unsigned char>(sequenza[0]);
    char32_t c = sequenza.size() == 1 ? primo : primo & (0x7F >> sequenza.size());
    for (std::size_t k = 1; k < sequenza.size(); ++k) {
        c = (c << 6) | (static_cast<unsigned char>(sequenza[k]) & 0x3F);
    }
    return c;
}

void Esadecimale(std::string& out, unsigned char b) {
    constexpr char kCifre[] = "0123456789abcdef";
    out += "\\'";
    out += kCifre[b >> 4];
    out += kCifre[b & 0x0F];
}

// A character outside Windows-1252 as one or two UTF-16 units, each a signed 16-bit
// number followed by "?" for readers without Unicode. The group keeps readers from
// taking the fallback "?" together with the text after it.
void Unicode(std::string& out, char32_t c) {
    auto unita = [&out](char32_t u) {
        out += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(u)));
        out += '?';
    };
    out += '{';
    if (c > 0xFFFF) {
        c -= 0x10000;
        unita(0xD800 + (c >> 10));
        unita(0xDC00 + (c & 0x3FF));
    } else {
        unita(c);
    }
    out += '}';
}

// One character at or above U+0080 from the start of the text; returns the bytes it
// took. A byte that starts no well-formed sequence becomes "?".
std::size_t NonAscii(std::string& out, std::string_view testo) {
    const std::string_view sequenza =
        testo.substr(0, LunghezzaSequenza(static_cast<unsigned char>(testo[0])));
    if (!velmora::Utf8Valido(sequenza)) {
        out += '?';
        return 1;
    }
    const std::string ansi = velmora::CodificaAnsi(sequenza);
    if (ansi != "?") {
        Esadecimale(out, static_cast<unsigned char>(ansi[0]));
    } else {
        Unicode(out, CodePoint(sequenza));
    }
    return sequenza.size();
}

// The text of one run, with its line ends already CR LF.
void Testo(std::string& out, std::string_view testo) {
    for (std::size_t i = 0; i < testo.size();) {
        const char c = testo[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            i += NonAscii(out, testo.substr(i));
            continue;
        }
        if (c == '\n') {
            out += "\\par\r\n";
        } else if (c == '\\' || c == '{' || c == '}') {
            out += '\\';
            out += c;
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (static_cast<unsigned char>(c) >= 0x20) {
            out += c;
        }
        // Other control characters, the CR of a line end among them, show nothing.
        ++i;
    }
}

} // namespace

std::string DocumentoRtf(const Rapporto& rapporto) {
    std::string out = kIntestazione;
    for (const Frammento& f : rapporto) {
        if (f.stile >= 0 && f.stile < kStili) {
            out += "\\cf" + std::to_string(f.stile + 1);
            out += f.stile == kGrassetto ? "\\b " : "\\b0 ";
        }
        Testo(out, FineRigaCrLf(f.testo));
    }
    out += "}\r\n";
    return out;
}

std::string TestoSemplice(const Rapporto& rapporto) {
    return velmora::CodificaAnsi(FineRigaCrLf(TestoRapporto(rapporto)));
}
