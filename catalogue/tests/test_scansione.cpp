#include "aiuti.h"
#include "albero_temporaneo.h"
#include "costruttore_midi.h"
#include "scansione.h"
#include "testo.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A format-0 file of one note lasting `secondi` at 120 beats per minute, with a
// lyric (text kind "Midi Karaoke File") and a copyright notice when asked.
prova::Bytes Brano(std::uint32_t secondi, bool testo = false, std::string_view copyright = "") {
    using namespace prova;
    return File(
        0, 480,
        {Unisci({copyright.empty() ? Bytes{} : Meta(0, 0x02, copyright),
                 testo ? Meta(0, 0x05, "la") : Bytes{}, Nota(0, secondi * 960), FineTraccia()})});
}

// The scan page: the two lists, the catalogue and the scan, with every hook recorded.
struct Pagina {
    explicit Pagina(const std::string& cartella, unsigned fili = FiliPredefiniti())
        : cartelle(cartella),
          scansione(cartelle, file, catalogo,
                    {[this] { Messaggi(); }, [this](const std::string& t) { stati.push_back(t); },
                     [this](const std::string& t) { didascalie.push_back(t); }, [this] { ++inizi; },
                     [this](const FiltriVisualizza& f) {
                         filtri.push_back(f);
                         stati.push_back("<fine>");
                     }},
                    fili) {
        // As the window does: the folder list's changes reach the scan, and the file
        // list starts on the folder list's folder.
        cartelle.AlCambio([this] { scansione.DirectoryChange(); });
        scansione.DirectoryChange();
    }

    void Avvia(bool analisi = true, bool sottoCartelle = true) {
        stati.clear();
        scansione.Button1Click(analisi, sottoCartelle);
    }

    void Messaggi() {
        ++messaggi;
        if (alMessaggio) {
            alMessaggio();
        }
    }

    std::vector<std::string> Nomi() {
        std::vector<std::string> nomi;
        catalogo.Primo();
        for (int i = 0; i < catalogo.NumeroFile(); ++i) {
            nomi.push_back(catalogo.Nome());
            catalogo.Prossimo();
        }
        return nomi;
    }

    // The scan is idle again, showing the folder it started from.
    void TornataAlleQuiete(const std::string& inizio) {
        EXPECT_FALSE(scansione.InCorso());
        EXPECT_EQ(cartelle.Directory(), inizio);
        EXPECT_EQ(file.Cartella(), inizio);
        ASSERT_FALSE(stati.empty());
        EXPECT_EQ(stati.back(), "<fine>");
        EXPECT_EQ(stati[stati.size() - 2], inizio);
        ASSERT_FALSE(didascalie.empty());
        EXPECT_EQ(didascalie.back(), "Start");
    }

    ListaCartelle cartelle;
    ListaFile file;
    dati catalogo;
    Scansione scansione;
    std::function<void()> alMessaggio;
    int messaggi = 0;
    int inizi = 0;
    std::vector<std::string> stati;
    std::vector<std::string> didascalie;
    std::vector<FiltriVisualizza> filtri;
};

} // namespace

TEST(Scansione, WalksDepthFirstWithEachFolderFilesBeforeItsSubFolders) {
    prova::AlberoTemporaneo t;
    t.File("M/m2.mid");
    t.File("M/m1.mid");
    t.File("M/R/r1.mid");
    t.File("M/P/Q/q1.mid");
    t.File("M/P/Q/note.txt");
    Pagina p(t.Percorso("M"));
    p.Avvia(false);

    // P sorts before R, so q1 comes before r1.
    EXPECT_EQ(p.Nomi(), (std::vector<std::string>{"m1.mid", "m2.mid", "q1.mid", "r1.mid"}));
    p.catalogo.Primo();
    for (const auto& [directory, cartella] :
         {std::pair{"M", "M"}, {"M", "M"}, {"Q", "M/P/Q"}, {"R", "M/R"}}) {
        EXPECT_EQ(p.catalogo.Directory(), directory);
        EXPECT_EQ(p.catalogo.Percorso(), t.Percorso(cartella));
        p.catalogo.Prossimo();
    }
    p.TornataAlleQuiete(t.Percorso("M"));
    EXPECT_EQ(p.didascalie, (std::vector<std::string>{"Stop", "Start"}));
    EXPECT_EQ(p.inizi, 1);

    // The status line follows the walk: a folder's path when it becomes current, the
    // sorting notice, then each file.
    const std::string ordino = "Attendere. Sto ordinando i File";
    const std::vector<std::string> attesi{ordino,
                                          "M - m1.mid",
                                          "M - m2.mid",
                                          t.Percorso("M/P"),
                                          ordino,
                                          t.Percorso("M/P/Q"),
                                          ordino,
                                          "Q - q1.mid",
                                          t.Percorso("M/P"),
                                          t.Percorso("M"),
                                          t.Percorso("M/R"),
                                          ordino,
                                          "R - r1.mid",
                                          t.Percorso("M"),
                                          t.Percorso("M"),
                                          "<fine>"};
    EXPECT_EQ(p.stati, attesi);
}

TEST(Scansione, WithoutSubFoldersOnlyTheStartFolderIsCataloguedInSortedOrder) {
    prova::AlberoTemporaneo t;
    for (const char* f : {"D.mid", "x-1.mid", "b.mid", "x.mid", "A.mid", "a.MID", "S/s.mid"}) {
        t.File(std::string("M/") + f);
    }
    Pagina p(t.Percorso("M"));
    p.Avvia(false, false);
    // The rows are in byte order (A.mid, D.mid, a.MID, ...); the sort puts case-equal
    // keys from the right run first. Where case is not told apart, a.MID is A.mid.
    std::vector<std::string> attesi{"a.MID", "A.mid", "b.mid", "D.mid", "x.mid", "x-1.mid"};
    if (!t.MaiuscoleDistinte()) {
        attesi.erase(attesi.begin());
    }
    EXPECT_EQ(p.Nomi(), attesi);
    p.TornataAlleQuiete(t.Percorso("M"));
}

TEST(Scansione, LeavesOutHiddenFoldersAndFollowsNoFolderLinks) {
    prova::AlberoTemporaneo t;
    t.File("M/.nascosta/h.mid");
    t.File("M/S/s.mid");
    t.File("M/.h.mid");
    t.Nascondi("M/.nascosta");
    t.Nascondi("M/.h.mid");
    // Where links cannot be made (Wine) only the hidden entries are tried.
    t.Collegamento("M/S/indietro", t.Percorso("M")); // a loop
    t.Collegamento("M/S/ancora", t.Percorso("M/S"));
    Pagina p(t.Percorso("M"));
    p.Avvia(false);
    EXPECT_EQ(p.Nomi(), std::vector<std::string>{"s.mid"});
    p.TornataAlleQuiete(t.Percorso("M"));
}

TEST(Scansione, AnUnreadableFolderCountsAsEmpty) {
    prova::AlberoTemporaneo t;
    t.File("M/A/a.mid");
    t.File("M/U/u.mid");
    t.File("M/V/v.mid");
    if (!t.Illeggibile("M/U")) {
        GTEST_SKIP() << "this user reads folders without read permission";
    }
    Pagina p(t.Percorso("M"));
    EXPECT_NO_THROW(p.Avvia(false));
    t.Leggibile("M/U");
    EXPECT_EQ(p.Nomi(), (std::vector<std::string>{"a.mid", "v.mid"}));
    EXPECT_EQ(p.scansione.CartelleNonLette(), std::vector<std::string>{t.Percorso("M/U")});
    p.TornataAlleQuiete(t.Percorso("M"));
}

TEST(Scansione, DetailedAnalysisFillsTheEntriesAndCountsCorruptFiles) {
    prova::AlberoTemporaneo t;
    const prova::Bytes karaoke = Brano(2, true, "Ed. 1997");
    t.File("M/a.mid", karaoke);
    t.File("M/b.mid", std::string_view("non sono un midi"));
    t.File("M/c.mid", Brano(0)); // no music: corrupt although readable
    t.File("M/d.mid", Brano(125));
    Pagina p(t.Percorso("M"));
    p.Avvia();

    dati& c = p.catalogo;
    ASSERT_EQ(c.NumeroFile(), 4);
    c.Primo();
    EXPECT_EQ(c.Nome(), "a.mid");
    EXPECT_EQ(c.Durata(), " 0:02");
    EXPECT_EQ(c.LunghezzaByte(), static_cast<std::int32_t>(karaoke.size()));
    EXPECT_EQ(c.Tempo(), "4/4");
    EXPECT_EQ(c.Bpm(), "120");
    EXPECT_EQ(c.Tracce(), "1");
    EXPECT_EQ(c.Tipo(), "0");
    EXPECT_EQ(c.Testo(), "Midi Karaoke File");
    EXPECT_EQ(c.Copyright(), "Ed. 1997");
    c.Prossimo();
    EXPECT_EQ(c.Nome(), "b.mid");
    EXPECT_EQ(c.Durata(), " 0:00");
    EXPECT_EQ(c.LunghezzaByte(), 0);
    EXPECT_EQ(c.Tempo(), "?/?");
    EXPECT_EQ(c.Testo(), "?");
    c.Prossimo();
    EXPECT_EQ(c.Durata(), " 0:00");
    EXPECT_EQ(c.Testo(), "");
    c.Prossimo();
    EXPECT_EQ(c.Durata(), " 2:05");
    EXPECT_EQ(c.NumeroCorrotti(), 2);
    EXPECT_EQ(c.NumeroConTesto(), 1); // the "?" of b.mid is no text
    ASSERT_EQ(p.filtri.size(), 1u);
    EXPECT_TRUE(p.filtri[0].tutti && p.filtri[0].conTesto && p.filtri[0].corrotti);
    p.TornataAlleQuiete(t.Percorso("M"));
}

TEST(Scansione, WithoutAnalysisEntriesHoldOnlyNamesAndTheFiltersFollow) {
    prova::AlberoTemporaneo t;
    t.File("M/a.mid", Brano(2, true));
    t.File("M/b.mid", std::string_view("rotto"));
    Pagina p(t.Percorso("M"));
    p.Avvia(false);
    dati& c = p.catalogo;
    c.Primo();
    EXPECT_EQ(c.Durata(), " 0:00");
    EXPECT_EQ(c.LunghezzaByte(), 0);
    EXPECT_EQ(c.Tempo(), "");
    EXPECT_EQ(c.Bpm(), "0");
    EXPECT_EQ(c.Testo(), "");
    EXPECT_EQ(c.NumeroCorrotti(), 0);
    EXPECT_EQ(c.NumeroConTesto(), 0);
    EXPECT_EQ(c.TotaleByte(), 0);
    ASSERT_EQ(p.filtri.size(), 1u);
    const FiltriVisualizza& f = p.filtri[0];
    EXPECT_TRUE(f.tutti);
    EXPECT_FALSE(f.conTesto);
    EXPECT_FALSE(f.corrotti);
    EXPECT_EQ(f.Scelta(1), 1);
    EXPECT_EQ(f.Scelta(2), 1);
    EXPECT_EQ(f.Scelta(3), 1);
}

TEST(Scansione, AFilterLeftWithoutEntriesGivesWayToTheFirst) {
    const FiltriVisualizza soloCorrotti{true, false, true};
    EXPECT_EQ(soloCorrotti.Scelta(3), 3);
    EXPECT_EQ(soloCorrotti.Scelta(2), 1);
    const FiltriVisualizza soloTesto{true, true, false};
    EXPECT_EQ(soloTesto.Scelta(2), 2);
    EXPECT_EQ(soloTesto.Scelta(3), 1);

    prova::AlberoTemporaneo t;
    t.Cartella("vuota");
    Pagina p(t.Percorso("vuota"));
    p.Avvia();
    EXPECT_EQ(p.catalogo.NumeroFile(), 0);
    ASSERT_EQ(p.filtri.size(), 1u);
    EXPECT_FALSE(p.filtri[0].tutti || p.filtri[0].conTesto || p.filtri[0].corrotti);
    p.TornataAlleQuiete(t.Percorso("vuota"));
}

TEST(Scansione, ASecondStartFromTheMessageHookStopsAfterTheCurrentFile) {
    prova::AlberoTemporaneo t;
    t.File("M/m1.mid", Brano(1));
    t.File("M/m2.mid", Brano(1));
    t.File("M/R/r1.mid", Brano(1));
    t.File("M/R/S/s1.mid", Brano(1));
    // Stopping at every check in turn: the entries appended so far stay, nothing
    // after the stop is appended (the file in hand when the stop came is the last),
    // and the window always comes back to idle on M.
    const std::vector<std::string> tutti{"m1.mid", "m2.mid", "r1.mid", "s1.mid"};
    std::size_t prima = 0;
    for (int fermaAl = 1;; ++fermaAl) {
        Pagina p(t.Percorso("M"), 1); // the checks come in the same order on every run
        std::int32_t alloStop = -1;
        p.alMessaggio = [&] {
            if (p.messaggi == fermaAl) {
                alloStop = p.catalogo.NumeroFile();
                p.scansione.Button1Click(true, true);
                EXPECT_EQ(p.didascalie.back(), "Start");
            }
        };
        p.Avvia();
        const std::vector<std::string> nomi = p.Nomi();
        ASSERT_LE(nomi.size(), tutti.size());
        EXPECT_TRUE(std::equal(nomi.begin(), nomi.end(), tutti.begin()));
        if (alloStop >= 0) {
            EXPECT_EQ(p.catalogo.NumeroFile(), alloStop) << "stop at check " << fermaAl;
        }
        EXPECT_GE(nomi.size(), prima);
        prima = nomi.size();
        p.TornataAlleQuiete(t.Percorso("M"));
        if (p.messaggi < fermaAl) {
            EXPECT_EQ(nomi.size(), tutti.size()); // finished before the stop came
            break;
        }
    }
}

TEST(Scansione, StopAfterTheFirstFileAppendsNoFurtherFile) {
    prova::AlberoTemporaneo t;
    t.File("M/m1.mid", Brano(1));
    t.File("M/m2.mid", Brano(1));
    t.File("M/R/r1.mid", Brano(1));
    Pagina p(t.Percorso("M"));
    // Stop after m1; then, while the stopped scan still moves the folder list down
    // into R, click again: that must not start a scan inside the old one.
    int clic = 0;
    p.alMessaggio = [&] {
        if (p.catalogo.NumeroFile() == 1 && clic < 2) {
            ++clic;
            p.scansione.Button1Click(true, true);
            EXPECT_EQ(p.didascalie.back(), "Start");
            EXPECT_TRUE(p.scansione.InCorso());
        }
    };
    p.Avvia();
    EXPECT_EQ(clic, 2);
    EXPECT_EQ(p.Nomi(), std::vector<std::string>{"m1.mid"});
    EXPECT_EQ(p.inizi, 1);
    EXPECT_FALSE(p.scansione.InCorso());
    p.TornataAlleQuiete(t.Percorso("M"));
    // Ferma() when idle changes nothing.
    p.scansione.Ferma();
    EXPECT_EQ(p.didascalie.back(), "Start");
    EXPECT_EQ(p.didascalie.size(), 3u);
}

TEST(Scansione, StartingAgainEmptiesTheCatalogueButKeepsTheLongestPath) {
    prova::AlberoTemporaneo t;
    t.File("profonda/cartella/per/un/nome/lungo/a.mid");
    t.File("b/b.mid");
    Pagina p(t.Percorso("profonda"));
    p.Avvia(false);
    EXPECT_EQ(p.catalogo.NumeroFile(), 1);
    const std::int32_t lunga = p.catalogo.MaxPercorso();
    EXPECT_EQ(lunga, static_cast<std::int32_t>(
                         velmora::Caratteri(t.Percorso("profonda/cartella/per/un/nome/lungo"))));
    p.cartelle.Directory(t.Percorso("b"));
    p.Avvia(false);
    EXPECT_EQ(p.Nomi(), std::vector<std::string>{"b.mid"});
    EXPECT_EQ(p.catalogo.MaxPercorso(), lunga);
    EXPECT_EQ(p.catalogo.MaxNome(), 5);
    p.TornataAlleQuiete(t.Percorso("b"));
}

TEST(Scansione, AFolderGoneAboveTheWalkEndsTheScanBeforeTheErrorComesOut) {
    prova::AlberoTemporaneo t;
    t.File("M/A/B/b.mid");
    t.File("M/C/c.mid");
    Pagina p(t.Percorso("M"));
    p.alMessaggio = [&] {
        if (p.catalogo.NumeroFile() == 1) {
            fs::remove_all(velmora::PercorsoDaUtf8(t.Percorso("M/A")));
        }
    };
    EXPECT_THROW(p.Avvia(false), ErroreCartella);
    EXPECT_EQ(p.Nomi(), std::vector<std::string>{"b.mid"});
    p.TornataAlleQuiete(t.Percorso("M"));
    ASSERT_EQ(p.filtri.size(), 1u);
}

TEST(Scansione, EachFolderKeepsTheSubFoldersItHadWhenTheWalkEnteredIt) {
    prova::AlberoTemporaneo t;
    for (const char* f : {"M/A/a.mid", "M/B/b.mid", "M/C/c.mid", "M/D/d.mid", "M/E/e.mid"}) {
        t.File(f);
    }
    Pagina p(t.Percorso("M"));
    // In B: B itself goes away and A0, which sorts before it, comes; in C: D goes.
    // C is neither skipped nor B visited again; A0 and D are not visited.
    p.alMessaggio = [&] {
        if (p.cartelle.Directory() == t.Percorso("M/B") && !fs::exists(t.Percorso("M/A0"))) {
            fs::remove_all(velmora::PercorsoDaUtf8(t.Percorso("M/B")));
            t.File("M/A0/x.mid");
        }
        if (p.cartelle.Directory() == t.Percorso("M/C")) {
            fs::remove_all(velmora::PercorsoDaUtf8(t.Percorso("M/D")));
        }
    };
    EXPECT_NO_THROW(p.Avvia(false));
    EXPECT_EQ(p.Nomi(), (std::vector<std::string>{"a.mid", "c.mid", "e.mid"}));
    EXPECT_TRUE(p.scansione.CartelleNonLette().empty());
    p.TornataAlleQuiete(t.Percorso("M"));
}

TEST(Scansione, AFolderBeyondThePathLimitIsReportedNotDroppedInSilence) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows' own path limit is tested by "
                    "ListaCartelle.AFolderTooLongForWindowsToListCannotBeOpened";
#else
    prova::AlberoTemporaneo t;
    t.File("M/m.mid");
    const std::string oltre = t.OltreIlLimite("M/L");
    Pagina p(t.Percorso("M"));
    p.Avvia(false);
    // Every folder within the limit is catalogued; the first beyond it is reported.
    EXPECT_EQ(p.catalogo.NumeroFile(),
              1 + (4096 - static_cast<int>(t.Percorso("M/L").size())) / 201);
    EXPECT_EQ(p.scansione.CartelleNonLette(), std::vector<std::string>{oltre});
    p.TornataAlleQuiete(t.Percorso("M"));
#endif
}
