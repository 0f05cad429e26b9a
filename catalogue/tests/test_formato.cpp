#include "formato.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

TEST(Formato, PotenzaStartsFromOne) {
    EXPECT_EQ(Potenza(1000, 0), 1);
    EXPECT_EQ(Potenza(1000, -3), 1);
    EXPECT_EQ(Potenza(1000, 2), 1000000);
    EXPECT_EQ(Potenza(2, 10), 1024);
}

TEST(Formato, FormattaNumeroGroupsByThousands) {
    const std::vector<std::pair<std::int64_t, const char*>> casi = {
        {0, "0"},
        {999, "999"},
        {1000, "1.000"},
        {1005, "1.005"},
        {12345, "12.345"},
        {45678, "45.678"},
        {100000, "100.000"},
        {169134, "169.134"},
        {1000000, "1.000.000"},
        {1234567, "1.234.567"},
        {1000000000, "1.000.000.000"},
        {2147483647, "2.147.483.647"},
        // Totals of large collections go past 32 bits.
        {4294967296, "4.294.967.296"},
        {9223372036854775807, "9.223.372.036.854.775.807"},
        {-1234, "-1.234"},
    };
    for (const auto& [valore, testo] : casi) {
        EXPECT_EQ(FormattaNumero(valore), testo) << valore;
    }
}

TEST(Formato, FormattaDurataIsAlwaysFiveCharacters) {
    const std::vector<std::pair<std::int32_t, const char*>> casi = {
        {0, " 0:00"},    {5, " 0:05"},          {59, " 0:59"},   {61, " 1:01"},   {205, " 3:25"},
        {600, "10:00"},  {723, "12:03"},        {3599, "59:59"}, {3600, "60:00"}, {3659, "60:59"},
        {3660, "59:59"}, {2147483647, "59:59"}, {-5, " 0:00"},
    };
    for (const auto& [valore, testo] : casi) {
        EXPECT_EQ(FormattaDurata(valore), testo) << valore;
    }
}
