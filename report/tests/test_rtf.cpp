#include "rtf.h"

#include "cartella_temporanea.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace {

// A report with every style, characters in and out of Windows-1252 and the characters
// that RTF reserves.
const Rapporto kRapporto{
    {"Nome: ", 1},         {"Perché.mid\r\n", 0},
    {"Directory: ", 1},    {"città {x} a\\b - ", 0},
    {"Testo: ", 1},        {"Midi Karaoke File", 2},
    {"\r\n", 0},           {"Traccia 0 : (traccia non attiva)\r\n", 3},
    {"€ Ω 😀 fine\r\n", 0},
};

// What unrtf makes of the document with the given output option; none when unrtf is
// not installed, as on Windows (a POSIX tool, started here through popen).
std::optional<std::string> Unrtf([[maybe_unused]] const std::string& documento,
                                 [[maybe_unused]] const std::string& opzione) {
#ifdef _WIN32
    return std::nullopt;
#else
    if (std::system("unrtf --version > /dev/null 2>&1") != 0) {
        return std::nullopt;
    }
    const prova::CartellaTemporanea temporanea;
    const std::filesystem::path file = temporanea.Percorso() / "rapporto.rtf";
    std::ofstream(file, std::ios::binary) << documento;
    std::string out;
    if (std::FILE* p = popen(("unrtf " + opzione + " '" + file.string() + "'").c_str(), "r")) {
        char blocco[4096];
        for (std::size_t n; (n = std::fread(blocco, 1, sizeof blocco, p)) > 0;) {
            out.append(blocco, n);
        }
        pclose(p);
    }
    return out;
#endif
}

} // namespace

TEST(Rtf, HeaderFontColourTableAndRuns) {
    const std::string rtf = DocumentoRtf(kRapporto);
    EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
    EXPECT_NE(rtf.find("{\\fonttbl{\\f0\\fnil\\fcharset0 Comic Sans MS;}}"), std::string::npos);
    EXPECT_NE(rtf.find("{\\colortbl;\\red0\\green0\\blue255;\\red255\\green0\\blue0;"
                       "\\red0\\green128\\blue0;\\red0\\green0\\blue0;}"),
              std::string::npos);
    EXPECT_NE(rtf.find("\\cf2\\b Nome: \\cf1\\b0 Perch\\'e9.mid\\par\r\n"), std::string::npos);
    EXPECT_NE(rtf.find("\\cf2\\b Testo: \\cf3\\b0 Midi Karaoke File"), std::string::npos);
    EXPECT_NE(rtf.find("\\cf4\\b0 Traccia 0"), std::string::npos);
    EXPECT_EQ(rtf.substr(rtf.size() - 3), "}\r\n");
}

TEST(Rtf, ReservedAndNonAnsiCharactersAreEscaped) {
    EXPECT_NE(DocumentoRtf({{"a\\b{c}\td", 0}}).find("a\\\\b\\{c\\}\\tab d"), std::string::npos);
    // In Windows-1252, also above 0x9F and in its 0x80 to 0x9F range.
    EXPECT_NE(DocumentoRtf({{"èÿ€Œ", 0}}).find("\\'e8\\'ff\\'80\\'8c"), std::string::npos);
    // Outside it: signed 16-bit UTF-16 units, a surrogate pair above U+FFFF.
    EXPECT_NE(
        DocumentoRtf({{"Ω中Ａ😀", 0}}).find("{\\u937?}{\\u20013?}{\\u-223?}{\\u-10179?\\u-8704?}"),
        std::string::npos);
    // Bytes that are not UTF-8 and control characters.
    EXPECT_NE(DocumentoRtf({{"x\xFFy\x01z\xC3", 0}}).find("x?yz?"), std::string::npos);
}

TEST(Rtf, EveryKindOfLineEndIsOneParagraph) {
    const std::string rtf = DocumentoRtf({{"a\r\nb\nc\rd", 0}});
    EXPECT_NE(rtf.find("a\\par\r\nb\\par\r\nc\\par\r\nd}"), std::string::npos);
}

TEST(Rtf, UnknownStyleKeepsTheAttributes) {
    const std::string rtf = DocumentoRtf({{"rosso ", 1}, {"ancora", 7}});
    EXPECT_NE(rtf.find("\\cf2\\b rosso ancora}"), std::string::npos);
}

TEST(Rtf, ARealReaderGetsTheTextBack) {
    const auto testo = Unrtf(DocumentoRtf(kRapporto), "--text");
    if (!testo) {
        GTEST_SKIP() << "unrtf is not installed (never on Windows)";
    }
    // unrtf writes the Windows-1252 characters as their bytes.
    EXPECT_NE(testo->find("Nome: Perch\xE9.mid\n"
                          "Directory: citt\xE0 {x} a\\b - Testo: Midi Karaoke File\n"
                          "Traccia 0 : (traccia non attiva)\n"),
              std::string::npos)
        << *testo;
}

TEST(Rtf, ARealReaderGetsColoursBoldAndUnicode) {
    const auto html = Unrtf(DocumentoRtf(kRapporto), "--html");
    if (!html) {
        GTEST_SKIP() << "unrtf is not installed (never on Windows)";
    }
    EXPECT_NE(html->find("<font color=\"#ff0000\"><b>Nome: </b></font>"), std::string::npos);
    EXPECT_NE(html->find("<font color=\"#0000ff\">Perch&eacute;.mid"), std::string::npos);
    EXPECT_NE(html->find("<font color=\"#008000\">Midi Karaoke File"), std::string::npos);
    EXPECT_NE(html->find("<font color=\"#000000\">Traccia 0"), std::string::npos);
    EXPECT_NE(html->find("&euro; &Omega;"), std::string::npos) << *html;
    // unrtf shows the two halves of a surrogate pair, and the text after them.
    EXPECT_NE(html->find("&#55357;&#56832;"), std::string::npos);
    EXPECT_NE(html->find(" fine"), std::string::npos);
}

TEST(Rtf, PlainTextIsWindows1252WithCrLf) {
    EXPECT_EQ(TestoSemplice(kRapporto),
              "Nome: Perch\xE9.mid\r\n"
              "Directory: citt\xE0 {x} a\\b - Testo: Midi Karaoke File\r\n"
              "Traccia 0 : (traccia non attiva)\r\n"
              "\x80 ? ? fine\r\n");
    EXPECT_EQ(TestoSemplice({{"a\nb", 0}, {"\rc", 3}}), "a\r\nb\r\nc");
    EXPECT_EQ(TestoSemplice({}), "");
}
