// Text forms of the catalogue's numbers: grouped counts and sizes, and durations.
#pragma once

#include <cstdint>
#include <string>

// base multiplied by itself esponente times, starting from 1 (1 for esponente < 1).
std::int64_t Potenza(std::int64_t base, std::int32_t esponente);

// Decimal digits in groups of three separated by ".": 1234567 gives "1.234.567".
// A negative value gets a leading "-" before its grouped magnitude.
std::string FormattaNumero(std::int64_t n);

// Five characters of minutes and seconds: " 3:25", "12:03", "59:59" above 60
// minutes. A negative value is shown as 0 seconds.
std::string FormattaDurata(std::int32_t secondi);
