#include "stampa_file.h"

#include "prova_file.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr Data k5Marzo1999{5, 3, 1999};

std::string TestoLista(dati& catalogo, const OpzioniLista& opzioni, Data data) {
    std::string testo;
    ProduciLista(catalogo, opzioni, data, [&](std::string_view pezzo) { testo += pezzo; });
    return testo;
}

// Expected bytes written as the lines of a sample: "·" stands for a space, and every
// line gets CR LF.
std::string Righe(std::initializer_list<std::string_view> righe) {
    std::string out;
    for (std::string_view riga : righe) {
        for (std::size_t i = 0; i < riga.size(); ++i) {
            if (riga.substr(i, 2) == "·") {
                out += ' ';
                ++i;
            } else {
                out += riga[i];
            }
        }
        out += "\r\n";
    }
    return out;
}

// Two files in two folders, with and without text; all texts are UTF-8, as in the catalogue.
void DueFile(dati& d) {
    d.Aggiungi("pop", "Estate.mid", R"(D:\midi\pop)", 205, 45678, "4/4", 120, 9, "Ed. 1997", "1",
               "Midi con testo");
    d.Aggiungi("lenti", "Notte.mid", R"(D:\midi\pop\lenti)", 723, 123456, "3/4", 96, 12, "", "0",
               "");
}

// A file with only a name, folder and size, as the scan without analysis appends it.
void File(dati& d, const std::string& cartella, const std::string& nome,
          const std::string& percorso, std::int32_t byte = 100) {
    d.Aggiungi(cartella, nome, percorso, 60, byte, "4/4", 120, 1, "", "1", "");
}

// What follows the header block: the entry section.
std::string Voci(const std::string& lista) {
    return lista.substr(lista.find("\r\n\r\n") + 4);
}

OpzioniLista Solo(Modo modo, std::initializer_list<Colonna> colonne) {
    OpzioniLista o;
    o.colonne.fill(false);
    for (Colonna c : colonne) {
        o.Scegli(c, true);
    }
    o.modo = modo;
    return o;
}

OpzioniLista Tutte(Modo modo) {
    OpzioniLista o;
    o.modo = modo;
    return o;
}

const std::string kTestata = Righe({
    "Questa·lista·\xE8·stata·generata·il·5/3/1999",
    "Numero·totale·midi:·2",
    "Occupazione·totale·in·byte:·169.134",
    "Numero·di·midi·che·hanno·incluso·il·testo:·1",
    "",
});

} // namespace

TEST(StampaFile, TwoFoldersAllColumnsOneLinePerFile) {
    dati d;
    DueFile(d);
    EXPECT_EQ(
        TestoLista(d, Tutte(Modo::A), k5Marzo1999),
        kTestata +
            Righe({
                R"(D:\midi\pop········pop····Estate···3:25····45.678····4/4···120····9···1···Midi·con·testo·········Ed.·1997)",
                R"(D:\midi\pop\lenti··lenti··Notte···12:03···123.456····3/4····96···12···0··························)",
            }));
}

TEST(StampaFile, TwoFoldersAllColumnsGroupedByFolder) {
    dati d;
    DueFile(d);
    EXPECT_EQ(
        TestoLista(d, Tutte(Modo::B), k5Marzo1999),
        kTestata +
            Righe({
                R"(-·Directory:·pop·-·Percorso:·D:\midi\pop)",
                "Estate···3:25····45.678····4/4···120····9···1···Midi·con·testo·········Ed.·1997",
                "Numero·totale·di·midi:·1",
                "Totale·in·byte:·45.678",
                "Lunghezza·media·di·un·midi:·45.678",
                "",
                "",
                R"(-·Directory:·lenti·-·Percorso:·D:\midi\pop\lenti)",
                "Notte···12:03···123.456····3/4····96···12···0··························",
                "Numero·totale·di·midi:·1",
                "Totale·in·byte:·123.456",
                "Lunghezza·media·di·un·midi:·123.456",
                "",
                "",
            }));
}

TEST(StampaFile, FixedTextsAreWindows1252AndNamesCarryTheDate) {
    dati d;
    const std::string testo = TestoLista(d, Tutte(Modo::A), k5Marzo1999);
    EXPECT_EQ(testo.substr(0, 34), "Questa lista \xE8 stata generata il 5");
    EXPECT_EQ(NomeProposto(k5Marzo1999), "Elenco5.3.1999.txt");
    EXPECT_EQ(NomeProposto({31, 12, 2024}), "Elenco31.12.2024.txt");
    const Data oggi = Oggi();
    EXPECT_GE(oggi.anno, 2024);
    EXPECT_TRUE(oggi.mese >= 1 && oggi.mese <= 12);
    EXPECT_TRUE(oggi.giorno >= 1 && oggi.giorno <= 31);
}

TEST(StampaFile, EmptyCatalogueGivesTheHeaderOnly) {
    const std::string testata = Righe({
        "Questa·lista·\xE8·stata·generata·il·5/3/1999",
        "Numero·totale·midi:·0",
        "Occupazione·totale·in·byte:·0",
        "",
    });
    dati d;
    EXPECT_EQ(TestoLista(d, Tutte(Modo::A), k5Marzo1999), testata);
    EXPECT_EQ(TestoLista(d, Tutte(Modo::B), k5Marzo1999), testata);
}

TEST(StampaFile, NoColumnTicked) {
    dati d;
    DueFile(d);
    const OpzioniLista nessuna = Solo(Modo::A, {});
    EXPECT_EQ(nessuna.UltimaColonna(), 0);
    EXPECT_EQ(TestoLista(d, nessuna, k5Marzo1999), kTestata);
    EXPECT_EQ(TestoLista(d, Solo(Modo::B, {}), k5Marzo1999),
              kTestata + Righe({
                             "",
                             "Numero·totale·di·midi:·1",
                             "Totale·in·byte:·45.678",
                             "Lunghezza·media·di·un·midi:·45.678",
                             "",
                             "",
                             "",
                             "Numero·totale·di·midi:·1",
                             "Totale·in·byte:·123.456",
                             "Lunghezza·media·di·un·midi:·123.456",
                             "",
                             "",
                         }));
}

TEST(StampaFile, OnlyThePathColumn) {
    dati d;
    DueFile(d);
    EXPECT_EQ(TestoLista(d, Solo(Modo::A, {Colonna::Percorso}), k5Marzo1999),
              kTestata + R"(D:\midi\popD:\midi\pop\lenti)");
    EXPECT_EQ(TestoLista(d, Solo(Modo::B, {Colonna::Percorso}), k5Marzo1999),
              kTestata + Righe({
                             R"(-·Percorso:·D:\midi\pop)",
                             "Numero·totale·di·midi:·1",
                             "Totale·in·byte:·45.678",
                             "Lunghezza·media·di·un·midi:·45.678",
                             "",
                             "",
                             R"(-·Percorso:·D:\midi\pop\lenti)",
                             "Numero·totale·di·midi:·1",
                             "Totale·in·byte:·123.456",
                             "Lunghezza·media·di·un·midi:·123.456",
                             "",
                             "",
                         }));
}

TEST(StampaFile, LastColumnIsNeverPadded) {
    dati d;
    DueFile(d);
    EXPECT_EQ(TestoLista(d, Solo(Modo::A, {Colonna::Nome}), k5Marzo1999),
              kTestata + Righe({"Estate", "Notte"}));
    EXPECT_EQ(Voci(TestoLista(d, Solo(Modo::A, {Colonna::Percorso, Colonna::Nome}), k5Marzo1999)),
              Righe({R"(D:\midi\pop········Estate)", R"(D:\midi\pop\lenti··Notte)"}));
    EXPECT_EQ(
        Voci(TestoLista(d, Solo(Modo::B, {Colonna::Directory, Colonna::Durata}), k5Marzo1999)),
        Righe({"-·Directory:·pop", "·3:25", "Numero·totale·di·midi:·1", "Totale·in·byte:·45.678",
               "Lunghezza·media·di·un·midi:·45.678", "", "", "-·Directory:·lenti", "12:03",
               "Numero·totale·di·midi:·1", "Totale·in·byte:·123.456",
               "Lunghezza·media·di·un·midi:·123.456", "", ""}));
}

TEST(StampaFile, TextKindEndsTheLineWithoutCopyright) {
    dati d;
    DueFile(d);
    OpzioniLista senzaCopyright = Tutte(Modo::A);
    senzaCopyright.Scegli(Colonna::Copyright, false);
    EXPECT_EQ(senzaCopyright.UltimaColonna(), 10);
    EXPECT_EQ(
        Voci(TestoLista(d, senzaCopyright, k5Marzo1999)),
        Righe({
            R"(D:\midi\pop········pop····Estate···3:25····45.678····4/4···120····9···1···Midi·con·testo)",
            R"(D:\midi\pop\lenti··lenti··Notte···12:03···123.456····3/4····96···12···0···)",
        }));
}

TEST(StampaFile, LongValuesPushTheLineInsteadOfBeingCut) {
    dati d;
    d.Aggiungi("pop", "Lungo.mid", "/m/pop", 4000, 1234567, "12/8", 1200, 128, "", "2",
               "Midi Karaoke File con testo lungo");
    EXPECT_EQ(
        Voci(TestoLista(d, Tutte(Modo::B), k5Marzo1999)),
        Righe({
            "-·Directory:·pop·-·Percorso:·/m/pop",
            "Lungo··59:59···1.234.567···12/8···1200···128···2···Midi·Karaoke·File·con·testo·lungo",
            "Numero·totale·di·midi:·1",
            "Totale·in·byte:·1.234.567",
            "Lunghezza·media·di·un·midi:·1.234.567",
            "",
            "",
        }));
}

TEST(StampaFile, CorruptFilesInTheHeaderAndDurationColumn) {
    dati d;
    d.ContaCorrotto();
    d.Aggiungi("pop", "Rotto.mid", "/m/pop", 0, 10, "?/?", 0, 0, "?", "?", "?");
    const OpzioniLista colonne = Solo(Modo::A, {Colonna::Nome, Colonna::Durata, Colonna::Tempo});
    EXPECT_EQ(TestoLista(d, colonne, k5Marzo1999),
              Righe({
                  "Questa·lista·\xE8·stata·generata·il·5/3/1999",
                  "Numero·totale·midi:·1",
                  "Occupazione·totale·in·byte:·10", // its "?" is no text
                  "Numero·di·midi·che·non·\xE8·stato·possibile·aprire:·1",
                  "(I·midi·non·aperti·hanno·come·tempo:·0:00)",
                  "",
                  "Rotto···0:00····?/?",
              }));
}

TEST(StampaFile, GroupsByFolderNameWithRoundedDownAverage) {
    dati d;
    File(d, "pop", "a.mid", "/uno/pop", 100);
    File(d, "pop", "b.mid", "/due/pop", 101);
    File(d, "rock", "c.mid", "/uno/rock", 7);
    File(d, "pop", "d.mid", "/tre/pop", 5);
    EXPECT_EQ(Voci(TestoLista(d, Solo(Modo::B, {Colonna::Percorso, Colonna::Nome}), k5Marzo1999)),
              Righe({"-·Percorso:·/uno/pop",
                     "a",
                     "b",
                     "Numero·totale·di·midi:·2",
                     "Totale·in·byte:·201",
                     "Lunghezza·media·di·un·midi:·100",
                     "",
                     "",
                     "-·Percorso:·/uno/rock",
                     "c",
                     "Numero·totale·di·midi:·1",
                     "Totale·in·byte:·7",
                     "Lunghezza·media·di·un·midi:·7",
                     "",
                     "",
                     "-·Percorso:·/tre/pop",
                     "d",
                     "Numero·totale·di·midi:·1",
                     "Totale·in·byte:·5",
                     "Lunghezza·media·di·un·midi:·5",
                     "",
                     ""}));
}

TEST(StampaFile, TotalsPastTwoGigabytesDoNotWrap) {
    dati d;
    File(d, "grandi", "a.mid", "/g", 2'000'000'000);
    File(d, "grandi", "b.mid", "/g", 2'000'000'001);
    const std::string testo = TestoLista(d, Solo(Modo::B, {}), k5Marzo1999);
    EXPECT_NE(testo.find("Occupazione totale in byte: 4.000.000.001\r\n"), std::string::npos);
    EXPECT_EQ(Voci(testo), Righe({"", "Numero·totale·di·midi:·2", "Totale·in·byte:·4.000.000.001",
                                  "Lunghezza·media·di·un·midi:·2.000.000.000", "", ""}));
}

TEST(StampaFile, CountsAreGroupedOnlyInTheFileTotal) {
    dati d;
    for (int i = 0; i < 1234; ++i) {
        d.Aggiungi("pop", "a.mid", "/pop", 60, 1, "4/4", 120, 1, "", "1", "Midi con testo");
    }
    const std::string testo = TestoLista(d, Solo(Modo::B, {}), k5Marzo1999);
    EXPECT_NE(testo.find("\r\nNumero totale midi: 1.234\r\n"), std::string::npos);
    EXPECT_NE(testo.find("\r\nNumero di midi che hanno incluso il testo: 1234\r\n"),
              std::string::npos);
    EXPECT_NE(testo.find("\r\nNumero totale di midi: 1234\r\n"), std::string::npos);
}

TEST(StampaFile, LongestPathOfEarlierScansStillPadsThePathColumn) {
    dati d;
    File(d, "lunghissimo", "a.mid", "/cartella/lunghissimo");
    d.Svuota();
    File(d, "pop", "a.mid", "/pop");
    EXPECT_EQ(Voci(TestoLista(d, Solo(Modo::A, {Colonna::Percorso, Colonna::Nome}), k5Marzo1999)),
              Righe({"/pop···················a"}));
}

TEST(StampaFile, NonAsciiTextsArePaddedByCharacters) {
    dati d;
    File(d, "città", "Perché.mid", "/m/città");
    File(d, "日本", "歌.mid", "/m/日本");
    const OpzioniLista colonne =
        Solo(Modo::A, {Colonna::Percorso, Colonna::Directory, Colonna::Nome, Colonna::Durata});
    EXPECT_EQ(Voci(TestoLista(d, colonne, k5Marzo1999)),
              Righe({"/m/citt\xE0··citt\xE0··Perch\xE9···1:00", "/m/??·····??·····?········1:00"}));
}

TEST(StampaFile, NamesThatAreNotUtf8StillLineUp) {
    // Latin-1 names on disk: every stray byte is written as one "?".
    dati d;
    File(d, "m", "a\xA9.mid", "/m");
    File(d, "m", "bcd.mid", "/m");
    EXPECT_EQ(Voci(TestoLista(d, Solo(Modo::A, {Colonna::Nome, Colonna::Durata}), k5Marzo1999)),
              Righe({"a?····1:00", "bcd···1:00"}));
}

TEST(StampaFile, ControlCharactersInNamesCannotForgeLines) {
    dati d;
    File(d, "a\rb", "x\r\nNumero totale midi: 999.mid", "/m/a\rb");
    File(d, "c", "\x7F.mid", "/m/c\n");
    const std::string a = Voci(TestoLista(
        d, Solo(Modo::A, {Colonna::Percorso, Colonna::Directory, Colonna::Nome, Colonna::Durata}),
        k5Marzo1999));
    EXPECT_EQ(a, Righe({"/m/a?b··a?b··x??Numero·totale·midi:·999···1:00",
                        "/m/c?···c····?····························1:00"}));
    const std::string b =
        Voci(TestoLista(d, Solo(Modo::B, {Colonna::Percorso, Colonna::Directory}), k5Marzo1999));
    EXPECT_NE(b.find("- Directory: a?b - Percorso: /m/a?b\r\n"), std::string::npos);
}

class StampaSuFile : public CartellaProva {};

TEST_F(StampaSuFile, WritesTheListAsItIsMadePieceByPiece) {
    dati d;
    for (int i = 0; i < 3000; ++i) {
        const std::string cartella = "cartella " + std::to_string(i / 40);
        File(d, cartella, "brano è numero " + std::to_string(i) + ".mid", "/m/" + cartella);
    }
    std::vector<std::string> pezzi;
    ProduciLista(d, Tutte(Modo::B), k5Marzo1999,
                 [&](std::string_view pezzo) { pezzi.emplace_back(pezzo); });
    EXPECT_GT(pezzi.size(), 2u);
    ASSERT_TRUE(StampaFile(d, Tutte(Modo::B), k5Marzo1999, P("Elenco5.3.1999.txt")));
    const std::string lista = Leggi("Elenco5.3.1999.txt");
    EXPECT_EQ(lista, TestoLista(d, Tutte(Modo::B), k5Marzo1999));
    EXPECT_NE(lista.find("brano \xE8 numero 2999 "), std::string::npos);
}

TEST_F(StampaSuFile, CreationFailureNamesTheFile) {
    dati d;
    DueFile(d);
    const std::string nome = P("manca") + velmora::Separatore() + "lista.txt";
    EXPECT_EQ(StampaFile(d, Tutte(Modo::B), k5Marzo1999, nome).errore,
              "Cannot create file " + nome);
}

TEST_F(StampaSuFile, WriteErrorKeepsThePreviousList) {
    if (!DiscoPieno::kPossibile) {
        GTEST_SKIP() << kSenzaDiscoPieno;
    }
    dati d;
    DueFile(d);
    Crea("lista.txt", "lista di ieri");
    Esito esito;
    {
        const DiscoPieno pieno;
        esito = StampaFile(d, Tutte(Modo::A), k5Marzo1999, P("lista.txt"));
    }
    EXPECT_EQ(esito.errore, "Write error on file " + P("lista.txt"));
    EXPECT_EQ(Leggi("lista.txt"), "lista di ieri");
    EXPECT_EQ(Voci(), std::set<std::string>{"lista.txt"});
}
