#include "testo.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(Testo, ValidUtf8IsKeptAsItIs) {
    EXPECT_EQ(DecodificaTesto("Perch\xC3\xA9"), "Perch\xC3\xA9");
    EXPECT_EQ(DecodificaTesto("\xE2\x82\xAC 5"), "\xE2\x82\xAC 5");
    EXPECT_EQ(DecodificaTesto(""), "");
}

TEST(Testo, InvalidUtf8IsReadAsWindows1252) {
    EXPECT_EQ(DecodificaTesto("Perch\xE9"), "Perch\xC3\xA9");
    EXPECT_EQ(DecodificaTesto("\x80\x99"), "\xE2\x82\xAC\xE2\x84\xA2");
    // An overlong form and a lone surrogate are not UTF-8.
    EXPECT_FALSE(Utf8Valido("\xC0\xAF"));
    EXPECT_FALSE(Utf8Valido("\xED\xA0\x80"));
    EXPECT_FALSE(Utf8Valido("\xE2\x82"));
}

TEST(Testo, UnassignedWindows1252BytesSurviveTheRoundTrip) {
    const std::string tutti = [] {
        std::string s;
        for (int b = 1; b < 256; ++b) {
            s.push_back(static_cast<char>(b));
        }
        return s;
    }();
    const std::string utf8 = DecodificaTesto(tutti);
    EXPECT_TRUE(Utf8Valido(utf8));
    EXPECT_EQ(Caratteri(utf8), 255u);
    EXPECT_EQ(CodificaAnsi(utf8), tutti);
    EXPECT_EQ(DecodificaTesto("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
}

TEST(Testo, CharactersOutsideWindows1252BecomeQuestionMarks) {
    EXPECT_EQ(CodificaAnsi("\xC3\xA8 \xE2\x82\xAC \xE6\x97\xA5 \xF0\x9F\x8E\xB5"), "\xE8 \x80 ? ?");
    EXPECT_EQ(CodificaAnsi("a\xFF"), "a?");
}

TEST(Testo, CharactersCountCodePointsAndStrayBytesAsOne) {
    EXPECT_EQ(Caratteri("abc"), 3u);
    EXPECT_EQ(Caratteri("\xC3\xA8\xE2\x82\xAC\xF0\x9F\x8E\xB5"), 3u);
    // A name that is not UTF-8 (Latin-1 bytes on disk): each stray byte is one
    // character, written as one "?", so padded columns still line up.
    EXPECT_EQ(Caratteri("a\xA9\xE8.mid"), 7u);
    EXPECT_EQ(Caratteri("\xE2\x82"), 2u);
    EXPECT_EQ(CodificaAnsi("a\xA9\xE8.mid").size(), Caratteri("a\xA9\xE8.mid"));
}

TEST(Testo, SenzaUltimiCaratteriCutsWholeCharacters) {
    EXPECT_EQ(SenzaUltimiCaratteri("Estate.mid", 4), "Estate");
    EXPECT_EQ(SenzaUltimiCaratteri("caff\xC3\xA8.mid", 4), "caff\xC3\xA8");
    EXPECT_EQ(SenzaUltimiCaratteri("ab.\xE2\x82\xAC\xC3\xA8", 3), "ab");
    EXPECT_EQ(SenzaUltimiCaratteri("a\xA9.mid", 4), "a\xA9");
    EXPECT_EQ(SenzaUltimiCaratteri(".mid", 4), "");
    EXPECT_EQ(SenzaUltimiCaratteri("ab", 4), "");
}

TEST(Testo, SoloLfTurnsEveryLineEndIntoLf) {
    EXPECT_EQ(SoloLf("a\r\nb\r\r\nc\rd\r"), "a\nb\n\nc\nd\n");
    EXPECT_EQ(SoloLf("a\nb"), "a\nb");
}

TEST(Testo, EsadecimaleWritesAllSixteenDigits) {
    EXPECT_EQ(Esadecimale(0x0123456789ABCDEFull), "0123456789abcdef");
    EXPECT_EQ(Esadecimale(0), "0000000000000000");
    EXPECT_EQ(Esadecimale(~0ull), "ffffffffffffffff");
}
