#include "ordina.h"
#include "posizione.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

// The names in the order the scan sorts them.
std::vector<std::string> Ordinati(const std::vector<std::string>& nomi) {
    std::vector<datisort> record;
    for (std::size_t i = 0; i < nomi.size(); ++i) {
        record.push_back(DatiSort(static_cast<std::int32_t>(i), nomi[i]));
    }
    Ordina(record);
    std::vector<std::string> ordinati;
    for (const datisort& d : record) {
        ordinati.push_back(nomi[static_cast<std::size_t>(d.indice)]);
    }
    return ordinati;
}

} // namespace

TEST(Ordina, LowersLikeTheAnsiCodePage) {
    EXPECT_EQ(MinuscoloAnsi("AZaz09 -_[]@"), "azaz09 -_[]@");
    // À..Þ lowered, × (C3 97) kept; ß, ÿ and other letters unchanged.
    EXPECT_EQ(MinuscoloAnsi("\xC3\x80\xC3\x89\xC3\x96\xC3\x97\xC3\x98\xC3\x9E\xC3\x9F\xC3\xBF"),
              "\xC3\xA0\xC3\xA9\xC3\xB6\xC3\x97\xC3\xB8\xC3\xBE\xC3\x9F\xC3\xBF");
    // Š Œ Ž Ÿ become š œ ž ÿ.
    EXPECT_EQ(MinuscoloAnsi("\xC5\xA0\xC5\x92\xC5\xBD\xC5\xB8"),
              "\xC5\xA1\xC5\x93\xC5\xBE\xC3\xBF");
    // Letters beyond the code page stay, and stray bytes pass through.
    EXPECT_EQ(MinuscoloAnsi("\xC4\x80\xD0\x90\xC3"), "\xC4\x80\xD0\x90\xC3");
    EXPECT_EQ(MinuscoloAnsi("\xFF"
                            "A\xC3"),
              "\xFF"
              "a\xC3");
}

TEST(Ordina, TheKeyIsTheNameLessFourCharactersThenThreeSpaces) {
    EXPECT_EQ(DatiSort(7, "Canzone.MID").chiave, "canzone   ");
    EXPECT_EQ(DatiSort(7, "Canzone.MID").indice, 7);
    EXPECT_EQ(DatiSort(0, "x-1.mid").chiave, "x-1   ");
    // Characters, not bytes: the last four of "aèèèè" are the four è.
    EXPECT_EQ(DatiSort(0, "a\xC3\xA8\xC3\xA8\xC3\xA8\xC3\xA8").chiave, "a   ");
    EXPECT_EQ(DatiSort(0, "\xC3\x88.mid").chiave, "\xC3\xA8   ");
    EXPECT_EQ(DatiSort(0, "ab").chiave, "   ");
}

TEST(Ordina, OrdersNamesWithoutTheirExtensionAndWithoutCase) {
    // The space after x is less than the hyphen: x before x-1 (with ".mid" it would
    // be the other way round).
    EXPECT_EQ(Ordinati({"x-1.mid", "x.mid"}), (std::vector<std::string>{"x.mid", "x-1.mid"}));
    EXPECT_EQ(Ordinati({"D.mid", "b.mid", "A.mid"}),
              (std::vector<std::string>{"A.mid", "b.mid", "D.mid"}));
    // A proper prefix sorts first; bytes compare as unsigned, so è after z.
    EXPECT_EQ(Ordinati({"\xC3\xA8.mid", "ab.mid", "a.mid", "z.mid"}),
              (std::vector<std::string>{"a.mid", "ab.mid", "z.mid", "\xC3\xA8.mid"}));
    EXPECT_TRUE(Ordinati({}).empty());
    EXPECT_EQ(Ordinati({"solo.mid"}), std::vector<std::string>{"solo.mid"});
}

TEST(Ordina, EqualKeysComeOutFromTheRightRunFirst) {
    EXPECT_EQ(Ordinati({"a.mid", "A.MID"}), (std::vector<std::string>{"A.MID", "a.mid"}));
    // 0..1 merges to 1, 0; merged with 2 on equal keys, 2 goes first.
    EXPECT_EQ(Ordinati({"Abc.mid", "abc.mid", "ABC.mid"}),
              (std::vector<std::string>{"ABC.mid", "abc.mid", "Abc.mid"}));
    EXPECT_EQ(Ordinati({"a.mid", "B.mid", "b.mid", "c.mid"}),
              (std::vector<std::string>{"a.mid", "b.mid", "B.mid", "c.mid"}));
}

TEST(Ordina, FondiMergesTwoSortedRuns) {
    std::vector<datisort> r{{0, "a"}, {1, "c"}, {2, "e"}, {3, "b"}, {4, "c"}, {5, "f"}};
    Fondi(r, 0, 2, 5);
    std::vector<std::int32_t> indici;
    for (const datisort& d : r) {
        indici.push_back(d.indice);
    }
    EXPECT_EQ(indici, (std::vector<std::int32_t>{0, 3, 4, 1, 2, 5}));
}

TEST(Ordina, ManyKeysComeOutSorted) {
    std::mt19937 caso(12345);
    std::vector<datisort> r;
    for (std::int32_t i = 0; i < 1000; ++i) {
        std::string chiave;
        for (std::uint32_t n = caso() % 4; n > 0; --n) {
            chiave.push_back(static_cast<char>('a' + caso() % 3));
        }
        r.push_back({i, chiave});
    }
    Ordina(r);
    EXPECT_TRUE(std::is_sorted(r.begin(), r.end(), [](const datisort& a, const datisort& b) {
        return a.chiave < b.chiave;
    }));
    std::vector<bool> visto(r.size());
    for (const datisort& d : r) {
        visto[static_cast<std::size_t>(d.indice)] = true;
    }
    EXPECT_EQ(std::count(visto.begin(), visto.end(), true), 1000);
}

TEST(Posizione, KeepsEveryLevelsSubFoldersAndCountsTheNextOne) {
    posizione p({"/m/a", "/m/b"});
    EXPECT_EQ(p.Profondita(), 1);
    ASSERT_NE(p.Prossima(), nullptr);
    EXPECT_EQ(*p.Prossima(), "/m/a");
    p.Scendi({"/m/a/x"});
    p.Scendi({});
    EXPECT_EQ(p.Profondita(), 3);
    EXPECT_EQ(p.Prossima(), nullptr);
    p.Risali();
    EXPECT_EQ(p.Profondita(), 2);
    EXPECT_EQ(p.Prossima(), nullptr);
    p.Risali();
    EXPECT_EQ(*p.Prossima(), "/m/b");
    p.Salta(); // "/m/b" could not be entered
    EXPECT_EQ(p.Prossima(), nullptr);
    p.Risali(); // nothing above the start folder
    EXPECT_EQ(p.Profondita(), 1);
    EXPECT_EQ(p.Prossima(), nullptr);
}
