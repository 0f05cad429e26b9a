#include "piattaforma.h"

#include "cartella_temporanea.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>

TEST(LeggiFileRegolare, ReadsAWholeFileAndRefusesWhatIsNotOneOrIsTooLarge) {
    prova::CartellaTemporanea t;
    const std::string file = velmora::Utf8DaPercorso(t.Percorso() / "a.mid");
    std::ofstream(velmora::PercorsoDaUtf8(file), std::ios::binary) << std::string("MThd\0x", 6);
    const auto letto = velmora::LeggiFileRegolare(file, 6);
    ASSERT_TRUE(letto);
    ASSERT_EQ(letto->dimensione, 6u);
    EXPECT_EQ(std::memcmp(letto->byte.get(), "MThd\0x", 6), 0);

    EXPECT_FALSE(velmora::LeggiFileRegolare(file, 5));
    EXPECT_FALSE(velmora::LeggiFileRegolare(velmora::Utf8DaPercorso(t.Percorso()), 1 << 20));
    EXPECT_FALSE(velmora::LeggiFileRegolare(file + "x", 1 << 20));
}
