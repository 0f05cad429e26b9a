#include "piattaforma.h"

#include "cartella_temporanea.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

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

TEST(CartellaAperta, ListsEachEntryWithItsKindAndReadsFilesRelativeToTheFolder) {
    prova::CartellaTemporanea t;
    const std::filesystem::path p = t.Percorso();
    std::ofstream(p / "a.mid", std::ios::binary) << "MThd";
    std::ofstream(p / ".nascosto.mid", std::ios::binary) << "x";
#ifdef _WIN32
    SetFileAttributesW((p / ".nascosto.mid").c_str(), FILE_ATTRIBUTE_HIDDEN);
#endif
    std::filesystem::create_directory(p / "sotto");
    std::error_code ec;
    std::filesystem::create_symlink(p / "a.mid", p / "collegato.mid", ec);
    const bool collegamenti = !ec; // none under Wine
    if (collegamenti) {
        std::filesystem::create_directory_symlink(p / "sotto", p / "ciclo", ec);
        ASSERT_FALSE(ec) << ec.message();
    }
#ifndef _WIN32
    ASSERT_EQ(mkfifo((p / "fifo.mid").c_str(), 0600), 0);
#endif
    const velmora::Istante prima = velmora::Adesso() - 1'000'000'000;
    const velmora::CartellaAperta c(velmora::Utf8DaPercorso(p));
    ASSERT_TRUE(c.Aperta());
    const velmora::VociCartella v =
        velmora::ElencaCartella(c, [](std::string_view n) { return n.ends_with(".mid"); });
    ASSERT_TRUE(v.letta);
    ASSERT_TRUE(v.modificata);
    EXPECT_GE(*v.modificata, prima);
    EXPECT_GE(v.lettaAlle, *v.modificata);
    std::string tipi; // name:kind, in name order
    std::vector<velmora::VoceCartella> voci = v.voci;
    std::sort(voci.begin(), voci.end(), [](auto& a, auto& b) { return a.nome < b.nome; });
    for (const auto& voce : voci) {
        tipi += voce.nome + ":" +
                (voce.cartella ? "c"
                 : voce.file   ? "f"
                               : "-") +
                (voce.nascosta ? "h" : "") + " ";
    }
    std::string attesi = ".nascosto.mid:fh a.mid:f ";
    if (collegamenti) {
        attesi += "ciclo:- collegato.mid:f "; // a link to a folder is no folder
    }
#ifndef _WIN32
    attesi += "fifo.mid:- ";
#endif
    EXPECT_EQ(tipi, attesi + "sotto:c ");

    const auto letto = velmora::LeggiInCartella(c, "a.mid", 4);
    ASSERT_TRUE(letto);
    EXPECT_EQ(std::memcmp(letto->byte.get(), "MThd", 4), 0);
    EXPECT_FALSE(velmora::LeggiInCartella(c, "a.mid", 3));
    EXPECT_FALSE(velmora::LeggiInCartella(c, "sotto", 1 << 20));
    EXPECT_FALSE(velmora::LeggiInCartella(c, "manca.mid", 1 << 20));
#ifndef _WIN32
    EXPECT_FALSE(velmora::LeggiInCartella(c, "fifo.mid", 1 << 20)); // at once, no hang
#endif
    const velmora::CartellaAperta mancante(velmora::Utf8DaPercorso(p / "manca"));
    EXPECT_FALSE(mancante.Aperta());
    EXPECT_FALSE(velmora::ElencaCartella(mancante, nullptr).letta);
    EXPECT_FALSE(velmora::LeggiInCartella(mancante, "a.mid", 1 << 20));
}
