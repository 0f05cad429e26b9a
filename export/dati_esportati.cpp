#include "dati_esportati.h"

#include "piattaforma.h"
#include "scrittura.h"
#include "testo.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

namespace {

// A value is a text, a number, or nothing (an empty CSV cell, JSON null).
using Valore = std::variant<std::string, std::int64_t, std::monostate>;

struct Campo {
    const char* intestazione; // the CSV heading
    const char* chiave;       // the JSON key
};

constexpr std::array<Campo, 20> kCampi = {{
    {"Percorso", "percorso"},
    {"Cartella", "cartella"},
    {"Directory", "directory"},
    {"Nome", "nome"},
    {"Durata (secondi)", "durata_secondi"},
    {"Durata", "durata"},
    {"Byte", "byte"},
    {"Tempo", "tempo"},
    {"BPM", "bpm"},
    {"Tracce", "tracce"},
    {"Tipo", "tipo"},
    {"Testo", "testo"},
    {"Copyright", "copyright"},
    {"Stato", "stato"},
    {"Hash dei byte", "hash_byte"},
    {"Impronta musicale", "impronta_musicale"},
    {"Titolo", "titolo"},
    {"Autore", "autore"},
    {"Lingua", "lingua"},
    {"Durata di riproduzione (secondi)", "durata_riproduzione_secondi"},
}};

// Names are UTF-8 inside the program; one that is not (a stray byte from the file
// system) is decoded like a text from a file, so the output is always valid UTF-8.
std::string Utf8(const std::string& t) {
    return velmora::DecodificaTesto(t);
}

Valore Esadecimale(const std::optional<std::uint64_t>& v) {
    return v ? Valore(velmora::Esadecimale(*v)) : Valore(std::monostate{});
}

// The MIDI type as a number when the analysis gave one, else its text ("?", "-", "").
Valore Tipo(const std::string& tipo) {
    if (tipo.size() == 1 && tipo[0] >= '0' && tipo[0] <= '9') {
        return std::int64_t{tipo[0] - '0'};
    }
    return tipo;
}

// Minutes (not capped) and two-digit seconds.
std::string MinutiSecondi(std::int32_t secondi) {
    const std::string ss = std::to_string(secondi % 60);
    return std::to_string(secondi / 60) + ":" + (ss.size() < 2 ? "0" : "") + ss;
}

// Every analysis sets the MIDI type ("0" to "2", "?" or "-" when it failed): an entry
// without one comes from a scan without analysis, which never opened the file.
bool Analizzato(const dati::elemento& e) {
    return !e.tipo.empty();
}

// The size of a file the scan did not open, as its folder gives it; none when the
// file is gone.
Valore DimensioneSuDisco(const std::string& file) {
    const std::optional<std::uint64_t> byte = velmora::DimensioneFile(file);
    return byte ? Valore(static_cast<std::int64_t>(*byte)) : Valore(std::monostate{});
}

std::array<Valore, kCampi.size()> Valori(const dati::elemento& e) {
    const std::string file = velmora::UnisciPercorso(e.Percorso(), e.nome);
    if (!Analizzato(e)) {
        // Nothing of the analysis is known: empty cells, JSON null.
        std::array<Valore, kCampi.size()> valori;
        valori.fill(std::monostate{});
        valori[0] = Utf8(file);
        valori[1] = Utf8(e.Percorso());
        valori[2] = Utf8(e.Directory());
        valori[3] = Utf8(e.nome);
        valori[6] = DimensioneSuDisco(file);
        return valori;
    }
    return {Utf8(file),
            Utf8(e.Percorso()),
            Utf8(e.Directory()),
            Utf8(e.nome),
            std::int64_t{e.durata},
            MinutiSecondi(e.durata),
            std::int64_t{e.lunghezza},
            e.tempo,
            std::int64_t{e.bpm},
            std::int64_t{e.tracce},
            Tipo(e.tipo),
            e.testo,
            e.copyright,
            std::string(e.Corrotto() ? "corrotto" : "ok"),
            Esadecimale(e.hashByte),
            Esadecimale(e.impronta),
            std::string(e.Titolo()),
            std::string(e.Autore()),
            std::string(e.Lingua()),
            std::int64_t{e.durataRiproduzione}};
}

// RFC 4180: a field with a comma, a quote or a line break goes between quotes, its
// quotes doubled; so a line break inside a name stays inside its field. A text that a
// spreadsheet would take for a formula (a name such as "=HYPERLINK(...).mid") starts
// with an apostrophe, which spreadsheets read as "this is text".
void CampoCsv(std::string& out, const std::string& t) {
    const std::string_view formula = "=+-@\t\r";
    const bool apostrofo = !t.empty() && formula.find(t[0]) != std::string_view::npos;
    if (t.find_first_of(",\"\r\n") == std::string::npos) {
        out += apostrofo ? "'" : "";
        out += t;
        return;
    }
    out += apostrofo ? "\"'" : "\"";
    for (const char c : t) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
}

void TestoJson(std::string& out, const std::string& t) {
    static constexpr char kCifre[] = "0123456789abcdef";
    out += '"';
    for (const char c : t) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            out += "\\u00";
            out += kCifre[u >> 4];
            out += kCifre[u & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

void Csv(std::string& out, const dati& catalogo) {
    out += "\xEF\xBB\xBF";
    for (std::size_t i = 0; i < kCampi.size(); ++i) {
        out += i > 0 ? "," : "";
        CampoCsv(out, kCampi[i].intestazione);
    }
    out += "\r\n";
    for (const dati::elemento* e = catalogo.PrimoElemento(); e != nullptr; e = e->successivo) {
        const auto valori = Valori(*e);
        for (std::size_t i = 0; i < valori.size(); ++i) {
            out += i > 0 ? "," : "";
            if (const auto* t = std::get_if<std::string>(&valori[i])) {
                CampoCsv(out, *t);
            } else if (const auto* n = std::get_if<std::int64_t>(&valori[i])) {
                out += std::to_string(*n);
            }
        }
        out += "\r\n";
    }
}

void Json(std::string& out, const dati& catalogo) {
    for (const dati::elemento* e = catalogo.PrimoElemento(); e != nullptr; e = e->successivo) {
        const auto valori = Valori(*e);
        for (std::size_t i = 0; i < valori.size(); ++i) {
            out += i > 0 ? "," : "{";
            TestoJson(out, kCampi[i].chiave);
            out += ':';
            if (const auto* t = std::get_if<std::string>(&valori[i])) {
                TestoJson(out, *t);
            } else if (const auto* n = std::get_if<std::int64_t>(&valori[i])) {
                out += std::to_string(*n);
            } else {
                out += "null";
            }
        }
        out += "}\n";
    }
}

} // namespace

std::string TestoDati(const dati& catalogo, FormatoDati formato) {
    std::string out;
    if (formato == FormatoDati::Csv) {
        Csv(out, catalogo);
    } else {
        Json(out, catalogo);
    }
    return out;
}

Esito EsportaDati(const dati& catalogo, FormatoDati formato, const std::string& nomeFile) {
    return ScriviFile(nomeFile, TestoDati(catalogo, formato));
}
