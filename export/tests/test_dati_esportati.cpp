// CSV and JSON export: fields, quoting and escapes, every character kept.
#include "dati_esportati.h"

#include "cartella_temporanea.h"
#include "piattaforma.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// One analysed file and one whose name holds a comma, quotes, a line break and a
// control character, in a folder with a Greek name.
void Riempi(dati& catalogo) {
    catalogo.Aggiungi("Κόσμος", "さくら.mid", "/m/Κόσμος", 125, 45678, "3/4", 96, 2, "(C) \"Ed\"",
                      "1", "Midi Karaoke File");
    catalogo.Ultimo()->hashByte = 0x0123456789abcdefull;
    catalogo.Ultimo()->impronta = 0xfedcba9876543210ull;
    catalogo.Ultimo()->durataRiproduzione = 131;
    // Bytes from the file: the title in Windows-1252.
    catalogo.Ultimo()->ImpostaIdentita("Perch\xE9", "Anna, \"B\"", "IT");
    catalogo.Aggiungi("Κόσμος", "a, \"b\"\r\nc\x01.mid", "/m/Κόσμος", 0, 12, "?/?", 0, 0, "?", "?",
                      "?");
}

// A file's full path joins its folder with this system's separator, escaped in JSON.
const std::string kSep(1, velmora::Separatore());
const std::string kSepJson = kSep == "\\" ? "\\\\" : kSep;

TEST(DatiEsportati, Csv) {
    dati catalogo;
    Riempi(catalogo);
    EXPECT_EQ(TestoDati(catalogo, FormatoDati::Csv),
              "\xEF\xBB\xBFPercorso,Cartella,Directory,Nome,Durata (secondi),Durata,Byte,Tempo,"
              "BPM,Tracce,Tipo,Testo,Copyright,Stato,Hash dei byte,Impronta musicale,Titolo,Autore,"
              "Lingua,Durata di riproduzione (secondi)\r\n"
              "/m/Κόσμος" +
                  kSep +
                  "さくら.mid,/m/Κόσμος,Κόσμος,さくら.mid,125,2:05,45678,3/4,96,2,1,"
                  "Midi Karaoke File,\"(C) \"\"Ed\"\"\",ok,0123456789abcdef,fedcba9876543210,"
                  "Perché,\"Anna, \"\"B\"\"\",IT,131\r\n"
                  "\"/m/Κόσμος" +
                  kSep +
                  "a, \"\"b\"\"\r\nc\x01.mid\",/m/Κόσμος,Κόσμος,"
                  "\"a, \"\"b\"\"\r\nc\x01.mid\",0,0:00,12,?/?,0,0,?,?,?,corrotto,,,,,,0\r\n");
    dati vuoto;
    EXPECT_EQ(TestoDati(vuoto, FormatoDati::Json), "");
}

TEST(DatiEsportati, Json) {
    dati catalogo;
    Riempi(catalogo);
    const std::string json = TestoDati(catalogo, FormatoDati::Json);
    const std::size_t fine = json.find('\n');
    EXPECT_EQ(json.substr(0, fine + 1),
              "{\"percorso\":\"/m/Κόσμος" + kSepJson +
                  "さくら.mid\",\"cartella\":\"/m/Κόσμος\",\"directory\":"
                  "\"Κόσμος\",\"nome\":\"さくら.mid\",\"durata_secondi\":125,\"durata\":\"2:05\","
                  "\"byte\":45678,\"tempo\":\"3/4\",\"bpm\":96,\"tracce\":2,\"tipo\":1,\"testo\":"
                  "\"Midi Karaoke File\",\"copyright\":\"(C) \\\"Ed\\\"\",\"stato\":\"ok\","
                  "\"hash_byte\":\"0123456789abcdef\",\"impronta_musicale\":\"fedcba9876543210\","
                  "\"titolo\":\"Perché\",\"autore\":\"Anna, \\\"B\\\"\",\"lingua\":\"IT\","
                  "\"durata_riproduzione_secondi\":131}\n");
    // Control characters are escaped, so each file stays on its own line.
    EXPECT_NE(json.find("\"nome\":\"a, \\\"b\\\"\\u000d\\u000ac\\u0001.mid\""), std::string::npos);
    EXPECT_NE(json.find("\"tipo\":\"?\""), std::string::npos);
    EXPECT_NE(json.find("\"hash_byte\":null,\"impronta_musicale\":null,\"titolo\":\"\","
                        "\"autore\":\"\",\"lingua\":\"\",\"durata_riproduzione_secondi\":0}\n"),
              std::string::npos);
    EXPECT_EQ(std::count(json.begin(), json.end(), '\n'), 2);
}

} // namespace

namespace {

// A text that a spreadsheet would run as a formula keeps every character but starts
// with an apostrophe in CSV; JSON, which no spreadsheet runs, keeps it as it is.
TEST(DatiEsportati, CsvCellsNeverStartAFormula) {
    dati catalogo;
    catalogo.Aggiungi("m", "=HYPERLINK(\"http://x\",\"y\").mid", "/m", 1, 2, "-/-", 0, 0,
                      "+39 02, Milano", "-", "@SUM(A1)");
    catalogo.Aggiungi("m", "\tb.mid", "/m", 1, 2, "4/4", 0, 0, "\rx", "1", "-");
    const std::string csv = TestoDati(catalogo, FormatoDati::Csv);
    EXPECT_NE(csv.find(",\"'=HYPERLINK(\"\"http://x\"\",\"\"y\"\").mid\","), std::string::npos);
    EXPECT_NE(csv.find(",'-/-,0,0,'-,'@SUM(A1),\"'+39 02, Milano\",ok,"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",'\tb.mid,1,0:01,2,4/4,0,0,1,'-,\"'\rx\","), std::string::npos) << csv;
    const std::string json = TestoDati(catalogo, FormatoDati::Json);
    EXPECT_NE(json.find("\"nome\":\"=HYPERLINK("), std::string::npos);
    EXPECT_EQ(json.find('\''), std::string::npos);
}

// Without analysis nothing of it is known: no status, durations or counts, and the
// size is the file's own.
TEST(DatiEsportati, FilesNotAnalysedHaveTheirSizeAndNoStatus) {
    prova::CartellaTemporanea t;
    const std::string cartella = velmora::Utf8DaPercorso(t.Percorso());
    std::ofstream(t.Percorso() / "a.mid", std::ios::binary) << std::string(1234, 'x');
    dati catalogo;
    catalogo.Aggiungi("t", "a.mid", cartella, 0, 0, "", 0, 0, "", "", "");
    catalogo.Aggiungi("t", "sparito.mid", cartella, 0, 0, "", 0, 0, "", "", "");
    const std::string csv = TestoDati(catalogo, FormatoDati::Csv);
    EXPECT_NE(csv.find("a.mid,,,1234,,,,,,,,,,,,,\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find("sparito.mid,,,,,,,,,,,,,,,,\r\n"), std::string::npos) << csv;
    const std::string json = TestoDati(catalogo, FormatoDati::Json);
    EXPECT_NE(json.find("\"nome\":\"a.mid\",\"durata_secondi\":null,\"durata\":null,"
                        "\"byte\":1234,\"tempo\":null,\"bpm\":null,\"tracce\":null,\"tipo\":null,"
                        "\"testo\":null,\"copyright\":null,\"stato\":null,"),
              std::string::npos)
        << json;
}

} // namespace
