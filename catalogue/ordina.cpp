#include "ordina.h"

#include "testo.h"

#include <algorithm>
#include <cstddef>
#include <utility>

std::string MinuscoloAnsi(std::string_view utf8) {
    std::string s(utf8);
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 'A' && b <= 'Z') {
            s[i] = static_cast<char>(b + 32);
            continue;
        }
        if (i + 1 == s.size()) {
            break;
        }
        const auto c = static_cast<unsigned char>(s[i + 1]);
        if (b == 0xC3 && c >= 0x80 && c <= 0x9E && c != 0x97) {
            s[++i] = static_cast<char>(c + 0x20); // À..Þ but not ×
        } else if (b == 0xC5 && (c == 0xA0 || c == 0x92 || c == 0xBD)) {
            s[++i] = static_cast<char>(c + 1); // Š, Œ, Ž
        } else if (b == 0xC5 && c == 0xB8) {
            s[i] = static_cast<char>(0xC3); // Ÿ becomes ÿ, U+00FF
            s[++i] = static_cast<char>(0xBF);
        }
    }
    return s;
}

datisort DatiSort(std::int32_t indice, std::string_view nome) {
    std::string chiave = MinuscoloAnsi(velmora::SenzaUltimiCaratteri(nome, 4));
    chiave += "   ";
    return {indice, std::move(chiave)};
}

void Ordina(std::vector<datisort>& record) {
    OrdinaParte(record, 0, static_cast<std::int32_t>(record.size()) - 1);
}

void OrdinaParte(std::vector<datisort>& record, std::int32_t lo, std::int32_t hi) {
    if (lo >= hi) {
        return;
    }
    const std::int32_t mid = (lo + hi) / 2;
    OrdinaParte(record, lo, mid);
    OrdinaParte(record, mid + 1, hi);
    Fondi(record, lo, mid, hi);
}

void Fondi(std::vector<datisort>& record, std::int32_t lo, std::int32_t mid, std::int32_t hi) {
    std::vector<datisort> fusi;
    fusi.reserve(static_cast<std::size_t>(hi - lo + 1));
    std::int32_t s = lo;
    std::int32_t d = mid + 1;
    while (s <= mid && d <= hi) {
        // std::string compares its bytes as unsigned values.
        if (record[s].chiave < record[d].chiave) {
            fusi.push_back(std::move(record[s++]));
        } else {
            fusi.push_back(std::move(record[d++]));
        }
    }
    while (s <= mid) {
        fusi.push_back(std::move(record[s++]));
    }
    while (d <= hi) {
        fusi.push_back(std::move(record[d++]));
    }
    std::move(fusi.begin(), fusi.end(), record.begin() + lo);
}
