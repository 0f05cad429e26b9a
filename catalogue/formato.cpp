#include "formato.h"

std::int64_t Potenza(std::int64_t base, std::int32_t esponente) {
    std::int64_t risultato = 1;
    for (std::int32_t i = 0; i < esponente; ++i) {
        risultato *= base;
    }
    return risultato;
}

namespace {

// A group of the grouped form as exactly three digits.
void TreCifre(std::string& out, std::uint64_t gruppo) {
    out.push_back(static_cast<char>('0' + gruppo / 100));
    out.push_back(static_cast<char>('0' + gruppo / 10 % 10));
    out.push_back(static_cast<char>('0' + gruppo % 10));
}

// The grouped form of a non-negative value: the leading group plain, every later
// group as three digits, each after a ".".
std::string Raggruppa(std::uint64_t n) {
    // The largest g with 1000^g <= n; 1000^6 is the largest power within 64 bits.
    std::int32_t g = 0;
    while (g < 6 && static_cast<std::uint64_t>(Potenza(1000, g + 1)) <= n) {
        ++g;
    }
    auto scala = static_cast<std::uint64_t>(Potenza(1000, g));
    std::string out = std::to_string(n / scala);
    while (scala > 1) {
        n %= scala;
        scala /= 1000;
        out.push_back('.');
        TreCifre(out, n / scala);
    }
    return out;
}

} // namespace

std::string FormattaNumero(std::int64_t n) {
    if (n < 0) {
        std::string out = "-";
        out += Raggruppa(0 - static_cast<std::uint64_t>(n));
        return out;
    }
    return Raggruppa(static_cast<std::uint64_t>(n));
}

std::string FormattaDurata(std::int32_t secondi) {
    if (secondi < 0) {
        secondi = 0;
    }
    const std::int32_t m = secondi / 60;
    const std::int32_t s = secondi % 60;
    if (m > 60) {
        return "59:59";
    }
    std::string out = m < 10 ? " " : "";
    out += std::to_string(m);
    out.push_back(':');
    out.push_back(static_cast<char>('0' + s / 10));
    out.push_back(static_cast<char>('0' + s % 10));
    return out;
}
