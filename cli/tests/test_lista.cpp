// velmora-cli list: the scan and the list export end to end, options and exit statuses.
#include "comandi.h"

#include "aiuti.h"
#include "albero_temporaneo.h"
#include "piattaforma.h"
#include "stampa_file.h"
#include "testo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace prova;

namespace {

struct Esecuzione {
    int stato;
    std::string out;
    std::string err;
};

Esecuzione Esegui(const std::vector<std::string>& argomenti) {
    std::ostringstream out;
    std::ostringstream err;
    const int stato = velmora::cli::Lista(argomenti, out, err);
    return {stato, out.str(), err.str()};
}

Bytes Riempi(Bytes file, std::size_t dimensione) {
    file.resize(dimensione, 0); // bytes after the last chunk are not read
    return file;
}

// Estate.mid: 205 s at 120 beats per minute, 9 tracks with notes, format 1, text kind
// "Midi con testo" (a text system-exclusive message), copyright "Ed. 1997", 45678 bytes.
Bytes Estate() {
    Bytes conduttore = Unisci({Meta(0, 0x02, "Ed. 1997"),
                               Sysex(0, 8, {0x00, 0x20, 0x24, 0x00, 0x05, 'h', 'i', 0xF7}),
                               Nota(0, 205 * 960), FineTraccia()});
    Bytes file = Intestazione(1, 9, 480);
    for (std::uint8_t t = 0; t < 9; ++t) {
        const Bytes chunk = Traccia(t == 0 ? conduttore : Unisci({Nota(0, 960, t), FineTraccia()}));
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return Riempi(file, 45678);
}

// Notte.mid: 723 s at 96 beats per minute in 3/4, notes on 12 channels, format 0,
// no text, 123456 bytes.
Bytes Notte() {
    Bytes eventi = Unisci({Tempo(0, 625000), Metrica(0, 3, 2)});
    for (std::uint8_t c = 0; c < 12; ++c) {
        const Bytes nota = Nota(0, c == 0 ? 555264 : 0, c);
        eventi.insert(eventi.end(), nota.begin(), nota.end());
    }
    eventi = Unisci({eventi, FineTraccia()});
    return Riempi(File(0, 480, {eventi}), 123456);
}

// Two files in folders pop and pop/lenti, all columns, with its folder pop at `pop`: lines joined
// with CR LF, in Windows-1252.
std::string Atteso(std::string_view righe, const std::string& pop) {
    std::string testo;
    std::istringstream in{std::string(righe)};
    for (std::string riga; std::getline(in, riga);) {
        for (std::size_t p; (p = riga.find("{pop}")) != std::string::npos;) {
            riga.replace(p, 5, pop);
        }
        for (std::size_t p; (p = riga.find("{/}")) != std::string::npos;) {
            riga.replace(p, 3, 1, velmora::Separatore());
        }
        testo += riga + "\r\n";
    }
    return velmora::CodificaAnsi(testo);
}

constexpr std::string_view kModoA =
    "Questa lista è stata generata il 5/3/1999\n"
    "Numero totale midi: 2\n"
    "Occupazione totale in byte: 169.134\n"
    "Numero di midi che hanno incluso il testo: 1\n"
    "\n"
    "{pop}        pop    Estate   3:25    45.678    4/4   120    9   1   Midi con testo         "
    "Ed. 1997\n"
    "{pop}{/}lenti  lenti  Notte   12:03   123.456    3/4    96   12   0                          "
    "\n";

constexpr std::string_view kModoB =
    "Questa lista è stata generata il 5/3/1999\n"
    "Numero totale midi: 2\n"
    "Occupazione totale in byte: 169.134\n"
    "Numero di midi che hanno incluso il testo: 1\n"
    "\n"
    "- Directory: pop - Percorso: {pop}\n"
    "Estate   3:25    45.678    4/4   120    9   1   Midi con testo         Ed. 1997\n"
    "Numero totale di midi: 1\n"
    "Totale in byte: 45.678\n"
    "Lunghezza media di un midi: 45.678\n"
    "\n"
    "\n"
    "- Directory: lenti - Percorso: {pop}{/}lenti\n"
    "Notte   12:03   123.456    3/4    96   12   0                          \n"
    "Numero totale di midi: 1\n"
    "Totale in byte: 123.456\n"
    "Lunghezza media di un midi: 123.456\n"
    "\n"
    "\n";

class ComandoLista : public ::testing::Test {
protected:
    ComandoLista() {
        albero.File("midi/pop/Estate.mid", Estate());
        albero.File("midi/pop/lenti/Notte.mid", Notte());
        pop = albero.Percorso("midi/pop");
    }
    AlberoTemporaneo albero;
    std::string pop;
};

} // namespace

TEST_F(ComandoLista, TwoFoldersInBothLayoutsByteForByte) {
    const Esecuzione b = Esegui({pop, "--date", "5/3/1999"});
    EXPECT_EQ(b.stato, 0) << b.err;
    EXPECT_EQ(b.out, Atteso(kModoB, pop));
    EXPECT_EQ(b.err, "");

    const std::string file = albero.Percorso("Elenco5.3.1999.txt");
    const Esecuzione a = Esegui({"--mode", "A", pop, "-o", file, "--date", "5/3/1999"});
    EXPECT_EQ(a.stato, 0) << a.err;
    EXPECT_EQ(a.out, "");
    std::ifstream scritto(velmora::PercorsoDaUtf8(file), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(scritto), {}), Atteso(kModoA, pop));
}

TEST_F(ComandoLista, ChosenColumnsWithoutSubFoldersOrAnalysis) {
    const Esecuzione e = Esegui({pop, "--no-subfolders", "--no-analysis", "--mode", "A",
                                 "--columns", "3,4", "--date", "29/2/2024"});
    EXPECT_EQ(e.stato, 0) << e.err;
    EXPECT_EQ(e.out, velmora::CodificaAnsi("Questa lista è stata generata il 29/2/2024\r\n"
                                           "Numero totale midi: 1\r\n"
                                           "Occupazione totale in byte: 0\r\n"
                                           "\r\n"
                                           "Estate   0:00\r\n"));

    // No column at all: the header, then in "Modo B" an empty line and the totals.
    const Esecuzione nessuna =
        Esegui({pop, "--no-analysis", "--columns", "", "--date", "1/1/2000"});
    EXPECT_EQ(nessuna.stato, 0) << nessuna.err;
    EXPECT_NE(nessuna.out.find("\r\n\r\n\r\nNumero totale di midi: 1\r\n"), std::string::npos);
}

// The text list keeps its zeros; the data formats say that nothing was analysed.
TEST_F(ComandoLista, WithoutAnalysisCsvAndJsonHaveNoStatusAndTheRealSize) {
    const Esecuzione csv = Esegui({pop, "--no-subfolders", "--no-analysis", "--format", "csv"});
    EXPECT_EQ(csv.stato, 0) << csv.err;
    EXPECT_NE(csv.out.find("Estate.mid,,,45678,,,,,,,,,,,,,\r\n"), std::string::npos) << csv.out;
    const Esecuzione json = Esegui({pop, "--no-analysis", "--format", "json"});
    EXPECT_NE(json.out.find("\"byte\":123456,"), std::string::npos) << json.out;
    EXPECT_NE(json.out.find("\"stato\":null"), std::string::npos) << json.out;
    EXPECT_EQ(json.out.find("corrotto"), std::string::npos) << json.out;
}

TEST_F(ComandoLista, TodayIsTheDefaultDate) {
    const Esecuzione e = Esegui({pop, "--no-analysis"});
    EXPECT_EQ(e.stato, 0);
    const Data oggi = Oggi();
    EXPECT_EQ(e.out.rfind(velmora::CodificaAnsi("Questa lista è stata generata il " +
                                                std::to_string(oggi.giorno) + "/" +
                                                std::to_string(oggi.mese) + "/" +
                                                std::to_string(oggi.anno) + "\r\n"),
                          0),
              0u);
}

TEST_F(ComandoLista, AListThatCannotBeWrittenFailsWithStatusOne) {
    const std::string file = albero.Percorso("manca/elenco.txt");
    const Esecuzione e = Esegui({pop, "-o", file});
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.err.find("Cannot create file " + file), std::string::npos) << e.err;
    EXPECT_FALSE(std::filesystem::exists(velmora::PercorsoDaUtf8(file)));
}

TEST_F(ComandoLista, ADeviceIsWrittenToDirectly) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no /dev/null device file";
#else
    const Esecuzione e = Esegui({pop, "-o", "/dev/null"});
    EXPECT_EQ(e.stato, 0) << e.err;
    EXPECT_EQ(e.err, "");
#endif
}

TEST_F(ComandoLista, AnOptionsValueIsNeverAnotherOption) {
    const Esecuzione data = Esegui({pop, "--date", "--help"});
    EXPECT_EQ(data.stato, 2);
    EXPECT_EQ(data.out, "");
    EXPECT_NE(data.err.find("--date vuole una data"), std::string::npos) << data.err;
    // "-o --help" writes the list to a file of that name.
    const std::filesystem::path prima = std::filesystem::current_path();
    std::filesystem::current_path(velmora::PercorsoDaUtf8(albero.Percorso("midi")));
    const Esecuzione uscita = Esegui({pop, "-o", "--help", "--date", "5/3/1999"});
    std::filesystem::current_path(prima);
    EXPECT_EQ(uscita.stato, 0) << uscita.err;
    EXPECT_EQ(uscita.out, "");
    std::ifstream file(velmora::PercorsoDaUtf8(albero.Percorso("midi/--help")), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), Atteso(kModoB, pop));
}

TEST_F(ComandoLista, UsageErrorsGiveStatusTwoAndWriteNothing) {
    albero.File("file.mid");
    const std::vector<std::vector<std::string>> sbagliati{
        {},
        {albero.Percorso("manca")},
        {albero.Percorso("file.mid")},
        {pop, pop},
        {pop, "--mode", "C"},
        {pop, "--mode"},
        {pop, "--columns", "0"},
        {pop, "--columns", "12"},
        {pop, "--columns", "1,,2"},
        {pop, "--columns", "1,"},
        {pop, "--columns", "tutte"},
        {pop, "--date", "31/2/1999"},
        {pop, "--date", "5/3"},
        {pop, "--date", "5/3/1999/1"},
        {pop, "--date", "0/3/1999"},
        {pop, "-o"},
        {pop, "--sconosciuta"},
    };
    for (const auto& argomenti : sbagliati) {
        const Esecuzione e = Esegui(argomenti);
        EXPECT_EQ(e.stato, 2) << ::testing::PrintToString(argomenti);
        EXPECT_EQ(e.out, "");
        EXPECT_EQ(e.err.rfind("velmora-cli list: ", 0), 0u) << e.err;
    }
    const Esecuzione aiuto = Esegui({"--help"});
    EXPECT_EQ(aiuto.stato, 0);
    EXPECT_EQ(aiuto.out.rfind("Uso: velmora-cli list", 0), 0u);
    // After "--" a name starting with "-" is the folder: here a missing one.
    const Esecuzione doppio = Esegui({"--", "-x"});
    EXPECT_EQ(doppio.stato, 2);
    EXPECT_NE(doppio.err.find("-x"), std::string::npos) << doppio.err;
    EXPECT_EQ(doppio.err.find("opzione"), std::string::npos) << doppio.err;
}
