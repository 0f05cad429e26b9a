#include "albero_temporaneo.h"
#include "lista_cartelle.h"
#include "lista_file.h"
#include "piattaforma.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Righe(const ListaCartelle& l, int da) {
    std::vector<std::string> righe;
    for (int r = da; r < l.Righe(); ++r) {
        righe.push_back(l.TestoRiga(r));
    }
    return righe;
}

std::vector<std::string> Righe(const ListaFile& l) {
    std::vector<std::string> righe;
    for (int r = 0; r < l.Righe(); ++r) {
        righe.push_back(l.TestoRiga(r));
    }
    return righe;
}

// The sub-folder rows: those after the selected one.
std::vector<std::string> SottoCartelle(const ListaCartelle& l) {
    return Righe(l, l.RigaSelezionata() + 1);
}

// Puts a folder's modification time an hour back, as for a folder untouched lately.
void Invecchia(const std::string& cartella) {
    const auto p = velmora::PercorsoDaUtf8(cartella);
#ifdef _WIN32
    // The C library sets the times of files only: a folder needs its own handle.
    const HANDLE h = CreateFileW(p.c_str(), FILE_WRITE_ATTRIBUTES | FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    FILETIME t;
    GetFileTime(h, nullptr, nullptr, &t);
    ULARGE_INTEGER u{{t.dwLowDateTime, t.dwHighDateTime}};
    u.QuadPart -= 36'000'000'000ULL; // an hour in units of 100 ns
    t = {u.LowPart, u.HighPart};
    EXPECT_TRUE(SetFileTime(h, nullptr, nullptr, &t));
    CloseHandle(h);
#else
    fs::last_write_time(p, fs::last_write_time(p) - std::chrono::hours(1));
#endif
}

} // namespace

TEST(ListaCartelle, RowsRunFromTheRootDownThenListTheSubFoldersByNameWithoutCase) {
    prova::AlberoTemporaneo t;
    for (const char* c : {"M/b", "M/A", "M/C", "M/a", "M/.nascosta", "M/\xC3\xA8", "M/\xC3\x89z"}) {
        t.Cartella(c);
    }
    t.File("M/f.mid");
    t.Nascondi("M/.nascosta");
    t.Collegamento("M/giro", t.Percorso("M")); // a loop back to M, where links can be made
    ListaCartelle l(t.Percorso("M"));

    const std::string m = t.Percorso("M");
    EXPECT_EQ(l.Directory(), m);
    EXPECT_EQ(l.TestoRiga(0), velmora::RadiceDi(m));
    EXPECT_EQ(l.PercorsoRiga(0), velmora::RadiceDi(m));
    const int sel = l.RigaSelezionata();
    EXPECT_EQ(l.TestoRiga(sel), "M");
    EXPECT_EQ(l.PercorsoRiga(sel), m);
    EXPECT_EQ(l.PercorsoRiga(sel - 1), t.Percorso());
    EXPECT_EQ(l.TestoRiga(sel - 1), velmora::NomeCartella(t.Percorso()));
    // Case-equal names by bytes ("A" before "a", where case is told apart); É lowers to
    // é, which sorts after è (unlowered it would come first).
    std::vector<std::string> attese{"A", "a", "b", "C", "\xC3\xA8", "\xC3\x89z"};
    if (!t.MaiuscoleDistinte()) {
        attese.erase(attese.begin() + 1);
    }
    EXPECT_EQ(SottoCartelle(l), attese);
    EXPECT_EQ(l.PercorsoRiga(sel + static_cast<int>(attese.size()) - 3),
              velmora::UnisciPercorso(m, "b"));
    EXPECT_EQ(l.TestoRiga(l.Righe()), "");
    EXPECT_EQ(l.PercorsoRiga(-1), "");

    // Every row from the root down to M is one folder of M's path.
    std::string giu = l.PercorsoRiga(0);
    for (int r = 1; r <= sel; ++r) {
        giu = velmora::UnisciPercorso(giu, l.TestoRiga(r));
        EXPECT_EQ(l.PercorsoRiga(r), giu);
    }
}

TEST(ListaCartelle, OpeningRowsMovesUpAndDownAndNotifiesEveryChange) {
    prova::AlberoTemporaneo t;
    t.Cartella("M/P/Q");
    t.Cartella("M/R");
    ListaCartelle l(t.Percorso("M"));
    int avvisi = 0;
    l.AlCambio([&] { ++avvisi; });

    const int m = l.RigaSelezionata();
    l.SelezionaRiga(m + 1);
    EXPECT_EQ(l.RigaSelezionata(), m + 1);
    l.ApriSelezionata();
    EXPECT_EQ(l.Directory(), t.Percorso("M/P"));
    EXPECT_EQ(l.RigaSelezionata(), m + 1);
    EXPECT_EQ(SottoCartelle(l), std::vector<std::string>{"Q"});
    EXPECT_EQ(avvisi, 1);

    l.SelezionaRiga(l.RigaSelezionata() - 1);
    l.ApriSelezionata();
    EXPECT_EQ(l.Directory(), t.Percorso("M"));
    EXPECT_EQ(SottoCartelle(l), (std::vector<std::string>{"P", "R"}));
    EXPECT_EQ(avvisi, 2);

    // Opening the current folder's own row rebuilds and notifies too.
    l.ApriSelezionata();
    EXPECT_EQ(avvisi, 3);
    l.Aggiorna();
    EXPECT_EQ(avvisi, 4);

    // No selection: nothing to open.
    l.SelezionaRiga(l.Righe());
    EXPECT_EQ(l.RigaSelezionata(), -1);
    l.ApriSelezionata();
    l.SelezionaRiga(-5);
    EXPECT_EQ(l.RigaSelezionata(), -1);
    EXPECT_EQ(avvisi, 4);
    EXPECT_EQ(l.Directory(), t.Percorso("M"));
}

TEST(ListaCartelle, SettingTheFolderNormalisesIgnoresTheSameFolderAndRefusesMissingOnes) {
    prova::AlberoTemporaneo t;
    t.Cartella("M/P");
    t.File("M/file.mid");
    ListaCartelle l(t.Percorso("M/P"));
    int avvisi = 0;
    l.AlCambio([&] { ++avvisi; });

    const std::string sep(1, velmora::Separatore());
    l.Directory(t.Percorso("M/P") + sep + ".." + sep);
    EXPECT_EQ(l.Directory(), t.Percorso("M"));
    EXPECT_EQ(avvisi, 1);
    l.Directory(t.Percorso("M") + sep);
    EXPECT_EQ(avvisi, 1) << "the folder already current changes nothing";

    EXPECT_THROW(l.Directory(t.Percorso("manca")), ErroreCartella);
    EXPECT_THROW(l.Directory(t.Percorso("M/file.mid")), ErroreCartella);
    EXPECT_THROW(l.Directory(""), ErroreCartella);
    EXPECT_THROW(ListaCartelle(t.Percorso("manca")), ErroreCartella);
    EXPECT_EQ(l.Directory(), t.Percorso("M"));
    EXPECT_EQ(avvisi, 1);
    try {
        l.Directory(t.Percorso("manca"));
    } catch (const ErroreCartella& e) {
        EXPECT_NE(std::string(e.what()).find(t.Percorso("manca")), std::string::npos);
    }

    // Opening a row whose folder has gone since the rows were read.
    l.SelezionaRiga(l.RigaSelezionata() + 1);
    fs::remove(velmora::PercorsoDaUtf8(t.Percorso("M/P")));
    EXPECT_THROW(l.ApriSelezionata(), ErroreCartella);
    EXPECT_EQ(l.Directory(), t.Percorso("M"));
}

TEST(ListaCartelle, ComingBackUpSeesFoldersMadeMeanwhile) {
    prova::AlberoTemporaneo t;
    t.Cartella("M/A");
    t.Cartella("M/C");
    Invecchia(t.Percorso("M"));
    ListaCartelle l(t.Percorso("M"));
    l.SelezionaRiga(l.RigaSelezionata() + 1);
    l.ApriSelezionata();
    t.Cartella("M/B");
    l.SelezionaRiga(l.RigaSelezionata() - 1);
    l.ApriSelezionata();
    EXPECT_EQ(SottoCartelle(l), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(ListaCartelle, AnUnreadableFolderShowsNoSubFolders) {
    prova::AlberoTemporaneo t;
    t.Cartella("M/U/dentro");
    if (!t.Illeggibile("M/U")) {
        GTEST_SKIP() << "this user reads folders without read permission";
    }
    ListaCartelle l(t.Percorso("M"));
    l.SelezionaRiga(l.RigaSelezionata() + 1);
    EXPECT_NO_THROW(l.ApriSelezionata());
    EXPECT_EQ(l.Directory(), t.Percorso("M/U"));
    EXPECT_TRUE(SottoCartelle(l).empty());
    t.Leggibile("M/U");
}

TEST(ListaCartelle, AFolderTooLongForWindowsToListCannotBeOpened) {
    prova::AlberoTemporaneo t;
    std::string lunga = "M";
    while (!velmora::CartellaTroppoLunga(t.Percorso(lunga)) && lunga.size() < 400) {
        lunga += "/cartella con un nome lungo";
    }
    if (!velmora::CartellaTroppoLunga(t.Percorso(lunga))) {
        GTEST_SKIP() << "no limit on the length of a folder's path here";
    }
    t.File(lunga + "/a.mid");
    EXPECT_THROW(ListaCartelle{t.Percorso(lunga)}, ErroreCartella);
    // Reached from above, it is a row whose opening fails with the message.
    ListaCartelle l(t.Percorso(lunga.substr(0, lunga.rfind('/'))));
    l.SelezionaRiga(l.RigaSelezionata() + 1);
    EXPECT_THROW(l.ApriSelezionata(), ErroreCartella);
}

TEST(ListaCartelle, TheDriveIsTheRootOfTheCurrentFolder) {
    prova::AlberoTemporaneo t;
    t.Cartella("M");
    ListaCartelle l(t.Percorso("M"));
    int avvisi = 0;
    l.AlCambio([&] { ++avvisi; });
    EXPECT_EQ(l.Drive(), velmora::RadiceDi(t.Percorso("M")));
    l.Drive(l.Drive());
    EXPECT_EQ(l.Directory(), t.Percorso("M"));
    EXPECT_EQ(avvisi, 0);
    EXPECT_THROW(l.Drive(t.Percorso("nessuna")), ErroreCartella);
}

TEST(ListaCartelle, StartsInTheWorkingFolder) {
    ListaCartelle l;
    EXPECT_EQ(l.Directory(),
              velmora::NormalizzaCartella(velmora::Utf8DaPercorso(fs::current_path())));
}

TEST(ListaFile, ListsVisibleMidiFilesInAnyCaseInByteOrder) {
    prova::AlberoTemporaneo t;
    for (const char* f :
         {"c.Mid", "a.mid", "B.MID", "\xC3\xA8.mid", "d.midi", "e.txt", ".h.mid", "mid", "x.mi"}) {
        t.File(std::string("M/") + f);
    }
    t.Cartella("M/cartella.mid");
    t.Nascondi("M/.h.mid");
    std::vector<std::string> attese{"B.MID", "a.mid", "c.Mid", "l.mid", "\xC3\xA8.mid"};
    // A link to a file is listed, a broken one is not; where links cannot be made
    // (Wine) there is none.
    if (!t.Collegamento("M/l.mid", t.Percorso("M/a.mid"))) {
        attese.erase(attese.begin() + 3);
    }
    t.Collegamento("M/rotto.mid", t.Percorso("M/manca.mid"));
    const int n = static_cast<int>(attese.size());
    ListaFile l;
    EXPECT_EQ(l.Righe(), 0);
    l.Cartella(t.Percorso("M"));
    EXPECT_EQ(l.Cartella(), t.Percorso("M"));
    EXPECT_EQ(Righe(l), attese);
    EXPECT_THROW(l.TestoRiga(n), std::out_of_range);

    t.File("M/0.mid");
    EXPECT_EQ(l.Righe(), n) << "rows are re-read only on request";
    l.Aggiorna();
    EXPECT_EQ(l.TestoRiga(0), "0.mid");
    EXPECT_EQ(l.Righe(), n + 1);

    l.Cartella(t.Percorso("manca"));
    EXPECT_EQ(l.Righe(), 0);
}
