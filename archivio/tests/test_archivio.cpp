// The stored catalogue: what a folder's files store and give back, when a stored
// analysis still holds, folders gone from disk, renaming, search, and a database that
// is damaged, locked, of a later version or on a full disk.
#include "archivio.h"
#include "sqlite.h"

#include "albero_temporaneo.h"
#include "piattaforma.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <tuple>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace velmora::archivio;

namespace {

constexpr std::int64_t kSecondo = 1'000'000'000;

AnalisiFile Analisi(std::int32_t durata, std::string testo = "", std::string copyright = "") {
    AnalisiFile a;
    a.analizzato = true;
    a.durata = durata;
    a.lunghezza = 1000 + durata;
    a.tempo = "4/4";
    a.bpm = 120;
    a.tracce = 3;
    a.copyright = std::move(copyright);
    a.tipo = "1";
    a.testo = std::move(testo);
    a.hashByte = 0xFEDCBA9876543210u; // the top bit set: stored as a negative integer
    a.impronta = durata == 0 ? std::nullopt : std::optional<std::uint64_t>(durata);
    return a;
}

FileLetto Letto(std::string nome, AnalisiFile a, std::int64_t modifica = 100 * kSecondo) {
    return {std::move(nome), 1000, modifica, modifica + 10 * kSecondo, std::move(a)};
}

// A fresh database in a temporary folder.
struct Prova {
    prova::AlberoTemporaneo t;
    std::string db = t.Percorso("dati/catalogo.sqlite");
    std::string cartella = t.Percorso("musica");

    std::vector<std::string> Nomi(Archivio& a, const std::string& c) {
        std::vector<std::string> nomi;
        for (const VoceSalvata& v : a.Cartella(c)) {
            nomi.push_back(v.nome);
        }
        std::sort(nomi.begin(), nomi.end());
        return nomi;
    }
    std::vector<std::string> Trovati(Archivio& a, std::string_view domanda,
                                     std::string_view sotto = {}) {
        std::vector<std::string> nomi;
        const auto trovati = a.Cerca(domanda, sotto);
        for (const Trovato& f : trovati.value()) {
            nomi.push_back(f.nome);
        }
        return nomi;
    }
};

} // namespace

TEST(Archivio, AFolderStoredGivesBackEveryValueAsItWasAndKeepsIdsAcrossUpdates) {
    Prova p;
    Archivio a(p.db);
    ASSERT_TRUE(a.Disponibile()) << a.Avviso();
    EXPECT_EQ(a.Avviso(), "");
    AnalisiFile karaoke = Analisi(200, "Midi Karaoke File", "\xA9 Caff\xE8");
    karaoke.tempo = std::string("3/4\0x", 5); // bytes as the file had them
    karaoke.durataRiproduzione = 203;
    karaoke.titolo = "Caff\xE8";
    karaoke.autore = "Anna";
    karaoke.lingua = "ITA";
    const std::vector<FileLetto> file{Letto("b.mid", karaoke), Letto("a.mid", Analisi(0))};
    ASSERT_TRUE(a.Scrivi(p.cartella, file, {}));

    std::vector<VoceSalvata> voci = a.Cartella(p.cartella);
    ASSERT_EQ(voci.size(), 2u);
    std::sort(voci.begin(), voci.end(), [](auto& x, auto& y) { return x.nome > y.nome; });
    const AnalisiFile& b = voci[0].analisi;
    EXPECT_EQ(voci[0].nome, "b.mid");
    EXPECT_EQ(voci[0].dimensione, 1000u);
    EXPECT_EQ(voci[0].modifica, 100 * kSecondo);
    EXPECT_EQ(voci[0].letto, 110 * kSecondo);
    EXPECT_TRUE(b.analizzato);
    EXPECT_EQ(b.durata, 200);
    EXPECT_EQ(b.lunghezza, 1200);
    EXPECT_EQ(b.tempo, karaoke.tempo);
    EXPECT_EQ(b.bpm, 120);
    EXPECT_EQ(b.tracce, 3);
    EXPECT_EQ(b.copyright, "\xA9 Caff\xE8");
    EXPECT_EQ(b.tipo, "1");
    EXPECT_EQ(b.testo, "Midi Karaoke File");
    EXPECT_EQ(b.hashByte, karaoke.hashByte);
    EXPECT_EQ(b.impronta, karaoke.impronta);
    EXPECT_EQ(b.durataRiproduzione, 203);
    EXPECT_EQ(std::tie(b.titolo, b.autore, b.lingua),
              std::tie(karaoke.titolo, karaoke.autore, karaoke.lingua));
    EXPECT_EQ(voci[1].analisi.impronta, std::nullopt);

    // Storing a name again replaces its values under the same id.
    const std::int64_t id = voci[0].id;
    ASSERT_TRUE(a.Scrivi(p.cartella, std::vector{Letto("b.mid", Analisi(7))}, {}));
    voci = a.Cartella(p.cartella);
    const auto nuova =
        std::find_if(voci.begin(), voci.end(), [](auto& v) { return v.nome == "b.mid"; });
    ASSERT_NE(nuova, voci.end());
    EXPECT_EQ(nuova->id, id);
    EXPECT_EQ(nuova->analisi.durata, 7);

    // Forgetting every file forgets the folder too.
    std::vector<std::int64_t> via;
    for (const VoceSalvata& v : voci) {
        via.push_back(v.id);
    }
    ASSERT_TRUE(a.Scrivi(p.cartella, {}, via));
    EXPECT_TRUE(a.Cartella(p.cartella).empty());
    EXPECT_TRUE(a.Indicizza().value().file.empty());
}

TEST(Archivio, AStoredAnalysisHoldsOnlyForTheSameSizeTimeAndVersionReadWellAfterTheChange) {
    VoceSalvata v;
    v.versione = kVersioneAnalisi;
    v.dimensione = 500;
    v.modifica = 100 * kSecondo;
    v.letto = v.modifica + kMargineModifica + 1;
    EXPECT_TRUE(v.Vale(500, 100 * kSecondo));
    EXPECT_FALSE(v.Vale(501, 100 * kSecondo));
    EXPECT_FALSE(v.Vale(500, 100 * kSecondo + 1)); // a nanosecond later is a change
    // Read within the time's resolution of the change: the file may have changed
    // again since, under the same time.
    v.letto = v.modifica + kMargineModifica;
    EXPECT_FALSE(v.Vale(500, 100 * kSecondo));
    v.letto = v.modifica + 10 * kSecondo;
    v.versione = kVersioneAnalisi + 1;
    EXPECT_FALSE(v.Vale(500, 100 * kSecondo));
}

TEST(Archivio, FoldersGoneFromDiskAreForgottenWithEverythingBelowThem) {
    Prova p;
    Archivio a(p.db);
    for (const char* c : {"musica/Pop", "musica/Pop/Anni 80", "musica/Pop Rock", "musica/Jazz"}) {
        p.t.Cartella(c);
        ASSERT_TRUE(a.Scrivi(p.t.Percorso(c), std::vector{Letto("x.mid", Analisi(5))}, {}));
    }
    ASSERT_TRUE(a.Scrivi(p.cartella, std::vector{Letto("y.mid", Analisi(5))}, {}));
    std::filesystem::remove_all(velmora::PercorsoDaUtf8(p.t.Percorso("musica/Pop")));
    ASSERT_TRUE(a.TogliSparite(p.cartella));
    EXPECT_TRUE(a.Cartella(p.t.Percorso("musica/Pop")).empty());
    EXPECT_TRUE(a.Cartella(p.t.Percorso("musica/Pop/Anni 80")).empty());
    EXPECT_EQ(a.Cartella(p.t.Percorso("musica/Pop Rock")).size(), 1u);
    EXPECT_EQ(a.Cartella(p.t.Percorso("musica/Jazz")).size(), 1u);
    EXPECT_EQ(a.Cartella(p.cartella).size(), 1u);
    EXPECT_EQ(a.Indicizza().value().file.size(), 3u);
    EXPECT_TRUE(p.Trovati(a, "anni").empty()); // gone from the index as well
}

TEST(Archivio, RenamedFilesAndFoldersKeepTheirEntriesUnderTheNewNames) {
    Prova p;
    Archivio a(p.db);
    const std::string pop = p.t.Percorso("musica/Pop");
    const std::string sotto = p.t.Percorso("musica/Pop/Lenti");
    const std::string vicina = p.t.Percorso("musica/Popolare");
    for (const std::string& c : {pop, sotto, vicina}) {
        ASSERT_TRUE(a.Scrivi(c, std::vector{Letto("brano.mid", Analisi(5))}, {}));
    }
    // Notturno.mid's entry is of a file deleted since: the renamed one takes its name.
    ASSERT_TRUE(a.Scrivi(pop, std::vector{Letto("Notturno.mid", Analisi(7))}, {}));
    ASSERT_TRUE(a.RinominaFile(pop, "brano.mid", "Notturno.mid"));
    EXPECT_TRUE(a.Disponibile());
    EXPECT_EQ(p.Nomi(a, pop), std::vector<std::string>{"Notturno.mid"});
    EXPECT_EQ(a.Cartella(pop).at(0).analisi.durata, 5);
    EXPECT_EQ(p.Trovati(a, "notturno"), std::vector<std::string>{"Notturno.mid"});

    const std::string rock = p.t.Percorso("musica/Rock");
    // Rock's entries are of a folder deleted since: the renamed one takes its place.
    ASSERT_TRUE(a.Scrivi(rock, std::vector{Letto("vecchio.mid", Analisi(9))}, {}));
    ASSERT_TRUE(a.RinominaCartella(pop, rock));
    EXPECT_TRUE(a.Disponibile());
    EXPECT_TRUE(a.Cartella(pop).empty());
    EXPECT_EQ(p.Nomi(a, rock), std::vector<std::string>{"Notturno.mid"});
    EXPECT_EQ(a.Cartella(p.t.Percorso("musica/Rock/Lenti")).size(), 1u);
    EXPECT_EQ(a.Cartella(vicina).size(), 1u); // a name that only starts the same
    // Search finds the folders by their new names.
    EXPECT_EQ(p.Trovati(a, "rock lenti").size(), 1u);
    EXPECT_TRUE(p.Trovati(a, "lenti pop").empty());
}

TEST(Archivio, SearchFindsWordsInAnyOrderWithoutCaseOrAccentsBestFirstWithTheirFields) {
    Prova p;
    Archivio a(p.db);
    AnalisiFile testo = Analisi(100, "Midi Karaoke File");
    testo.testoCompleto = "Nella città di notte\r\ncanto perché voglio";
    AnalisiFile tracce = Analisi(90, "", "(c) Edizioni Città");
    tracce.nomiTracce = "Pianoforte\nBasso\n";
    ASSERT_TRUE(
        a.Scrivi(p.cartella,
                 std::vector{Letto("Canzone.mid", testo), Letto("CITTÀ VECCHIA.mid", Analisi(80)),
                             Letto("Strumentale.mid", tracce)},
                 {}));
    // Each word counts with its heaviest field: the name, then the copyright, then the
    // text.
    EXPECT_EQ(p.Trovati(a, "citta"),
              (std::vector<std::string>{"CITTÀ VECCHIA.mid", "Strumentale.mid", "Canzone.mid"}));
    const std::vector<Trovato> citta = a.Cerca("citta").value();
    EXPECT_EQ(citta[0].campi, std::vector<std::string_view>{"nome"});
    EXPECT_EQ(citta[0].cartella, p.cartella);
    EXPECT_EQ(citta[0].durata, 80);
    EXPECT_EQ(citta[1].campi, std::vector<std::string_view>{"copyright"});
    EXPECT_EQ(citta[2].campi, std::vector<std::string_view>{"testo"});
    EXPECT_EQ(p.Trovati(a, "PERCHE notte"), std::vector<std::string>{"Canzone.mid"});
    EXPECT_EQ(p.Trovati(a, "notte perché karaoke"), std::vector<std::string>{"Canzone.mid"});
    EXPECT_EQ(p.Trovati(a, "basso"), std::vector<std::string>{"Strumentale.mid"});
    EXPECT_EQ(p.Trovati(a, "vecc"), std::vector<std::string>{"CITTÀ VECCHIA.mid"}); // a prefix
    EXPECT_EQ(p.Trovati(a, "musica").size(), 3u);                                   // the folder
    EXPECT_TRUE(p.Trovati(a, "città assente").empty());
    EXPECT_TRUE(p.Trovati(a, " -- \"* ").empty()); // no word at all
    EXPECT_TRUE(p.Trovati(a, "citta", p.t.Percorso("altrove")).empty());
    EXPECT_EQ(p.Trovati(a, "citta", p.cartella).size(), 3u);
    EXPECT_EQ(p.Trovati(a, "citta", p.t.Percorso("")).size(), 3u);
    EXPECT_EQ(a.IdTrovati("citta").value().id.size(), 3u);
    EXPECT_FALSE(a.IdTrovati(" -- ").value().parole);
    // Both words in the name beat one there and one in the text.
    ASSERT_TRUE(a.Scrivi(
        p.cartella,
        std::vector{Letto("Vecchia.mid", testo), Letto("Vecchia notte.mid", Analisi(1))}, {}));
    EXPECT_EQ(p.Trovati(a, "NOTTE vecchia"),
              (std::vector<std::string>{"Vecchia notte.mid", "Vecchia.mid"}));
    // Equals by path: by folder, then by name.
    const std::string b = velmora::UnisciPercorso(p.cartella, "b");
    const std::string a1 = velmora::UnisciPercorso(p.cartella, "a");
    ASSERT_TRUE(a.Scrivi(b, std::vector{Letto("sera 1.mid", Analisi(5))}, {}));
    ASSERT_TRUE(a.Scrivi(
        a1, std::vector{Letto("sera 2.mid", Analisi(5)), Letto("sera 1.mid", Analisi(5))}, {}));
    std::vector<std::string> percorsi;
    const std::vector<Trovato> sera = a.Cerca("sera").value();
    for (const Trovato& f : sera) {
        percorsi.push_back(velmora::UnisciPercorso(f.cartella, f.nome));
    }
    EXPECT_EQ(percorsi, (std::vector{velmora::UnisciPercorso(a1, "sera 1.mid"),
                                     velmora::UnisciPercorso(a1, "sera 2.mid"),
                                     velmora::UnisciPercorso(b, "sera 1.mid")}));
}

TEST(Archivio, AMissingDatabaseIsCreatedWithItsFolders) {
    Prova p;
    const std::string db = p.t.Percorso("a/b/c/catalogo.sqlite");
    Archivio a(db);
    EXPECT_TRUE(a.Disponibile()) << a.Avviso();
    EXPECT_TRUE(std::filesystem::exists(velmora::PercorsoDaUtf8(db)));
}

TEST(Archivio, ADamagedDatabaseIsMovedAsideAndMadeAgainEmpty) {
    Prova p;
    {
        Archivio a(p.db);
        ASSERT_TRUE(a.Scrivi(p.cartella, std::vector{Letto("a.mid", Analisi(5))}, {}));
    }
    // Random bytes, and a database cut short of the size its header gives.
    const auto tronca = [&] {
        const auto f = velmora::PercorsoDaUtf8(p.db);
        std::filesystem::resize_file(f, std::filesystem::file_size(f) / 2);
    };
    const auto casuale = [&] {
        std::ofstream f(velmora::PercorsoDaUtf8(p.db), std::ios::binary | std::ios::trunc);
        for (int i = 0; i < 5000; ++i) {
            f.put(static_cast<char>((i * 7919) % 251));
        }
    };
    for (const auto& danneggia : {std::function<void()>(tronca), std::function<void()>(casuale)}) {
        {
            Archivio a(p.db);
            ASSERT_TRUE(a.Scrivi(p.cartella, std::vector{Letto("a.mid", Analisi(5))}, {}));
        }
        danneggia();
        Archivio a(p.db);
        EXPECT_TRUE(a.Disponibile());
        EXPECT_NE(a.Avviso().find("danneggiato"), std::string::npos) << a.Avviso();
        EXPECT_TRUE(a.Cartella(p.cartella).empty());
        EXPECT_TRUE(std::filesystem::exists(velmora::PercorsoDaUtf8(p.db + ".danneggiato")));
        EXPECT_TRUE(a.Scrivi(p.cartella, std::vector{Letto("a.mid", Analisi(5))}, {}));
    }
}

TEST(Archivio, DamageFoundWhileWorkingStopsTheArchiveAndRebuildsItForNextTime) {
    Prova p;
    {
        Archivio a(p.db);
        std::vector<FileLetto> molti;
        for (int i = 0; i < 300; ++i) {
            molti.push_back(Letto("f" + std::to_string(i) + ".mid", Analisi(i + 1)));
        }
        ASSERT_TRUE(a.Scrivi(p.cartella, molti, {}));
    }
    Archivio a(p.db);
    ASSERT_TRUE(a.Disponibile());
    {
        // Overwrites the pages after the first, under the open connection's feet.
        std::fstream f(velmora::PercorsoDaUtf8(p.db),
                       std::ios::binary | std::ios::in | std::ios::out);
        f.seekp(4096);
        for (int i = 0; i < 40000; ++i) {
            f.put(static_cast<char>(0xA5));
        }
    }
    EXPECT_TRUE(a.Cartella(p.cartella).empty());
    EXPECT_FALSE(a.Disponibile());
    EXPECT_NE(a.Avviso().find("danneggiato"), std::string::npos) << a.Avviso();
    Archivio dopo(p.db);
    EXPECT_TRUE(dopo.Disponibile()) << dopo.Avviso();
    EXPECT_EQ(dopo.Avviso(), "");
}

TEST(Archivio, ADatabaseLockedByAnotherProgramMakesTheArchiveUnavailableNotStuck) {
    Prova p;
    Archivio a(p.db, 50);
    ASSERT_TRUE(a.Disponibile());
    velmora::sqlite::Connessione altra(p.db, false, 0);
    velmora::sqlite::Transazione blocco(altra);
    // Reading goes on beside the other writer.
    EXPECT_TRUE(a.Cartella(p.cartella).empty());
    EXPECT_TRUE(a.Disponibile());
    EXPECT_FALSE(a.Scrivi(p.cartella, std::vector{Letto("a.mid", Analisi(5))}, {}));
    EXPECT_FALSE(a.Disponibile());
    EXPECT_EQ(a.Avviso(),
              "Analisi senza catalogo salvato: il database è in uso da un altro programma");
}

TEST(Archivio, ADatabaseOfTheFirstVersionIsBroughtUpToDateAndItsFilesAnalysedAgain) {
    Prova p;
    {
        Archivio a(p.db);
        ASSERT_TRUE(a.Scrivi(p.cartella, std::vector{Letto("Sera.mid", Analisi(5))}, {}));
    }
    {
        // What the first version had: no playing time, title, author or language.
        velmora::sqlite::Connessione c(p.db, false, 0);
        c.Esegui("ALTER TABLE file DROP COLUMN durata_riproduzione; ALTER TABLE file DROP "
                 "COLUMN titolo; ALTER TABLE file DROP COLUMN autore; ALTER TABLE file DROP "
                 "COLUMN lingua; UPDATE file SET versione = 1; DROP TABLE ricerca; CREATE "
                 "VIRTUAL TABLE ricerca USING fts5(nome, cartella, copyright, tracce, "
                 "tipo_testo, testo); INSERT INTO ricerca(rowid, nome) SELECT id, nome FROM "
                 "file; PRAGMA user_version = 1");
    }
    Archivio a(p.db);
    ASSERT_TRUE(a.Disponibile()) << a.Avviso();
    std::vector<VoceSalvata> voci = a.Cartella(p.cartella);
    ASSERT_EQ(voci.size(), 1u);
    EXPECT_FALSE(voci[0].Vale(voci[0].dimensione, voci[0].modifica));
    EXPECT_EQ(p.Trovati(a, "sera"), std::vector<std::string>{"Sera.mid"}); // the old texts
    AnalisiFile titolato = Analisi(5);
    titolato.titolo = "Notte";
    ASSERT_TRUE(a.Scrivi(p.cartella, std::vector{Letto("Sera.mid", titolato)}, {}));
    voci = a.Cartella(p.cartella);
    EXPECT_TRUE(voci[0].Vale(voci[0].dimensione, voci[0].modifica));
    EXPECT_EQ(voci[0].analisi.titolo, "Notte");
    EXPECT_EQ(a.Cerca("notte").value().at(0).campi, std::vector<std::string_view>{"titolo"});
}

TEST(Archivio, ADatabaseOfALaterVersionIsLeftAlone) {
    Prova p;
    {
        Archivio a(p.db);
        ASSERT_TRUE(a.Disponibile());
    }
    {
        velmora::sqlite::Connessione c(p.db, false, 0);
        c.Esegui("PRAGMA user_version = 99");
    }
    Archivio a(p.db);
    EXPECT_FALSE(a.Disponibile());
    EXPECT_NE(a.Avviso().find("più recente"), std::string::npos);
    velmora::sqlite::Connessione c(p.db, false, 0);
    velmora::sqlite::Istruzione v(c, "PRAGMA user_version");
    ASSERT_TRUE(v.Passo());
    EXPECT_EQ(v.Intero(0), 99);
}

TEST(Archivio, AFullDiskFailsTheWriteAndLeavesWhatWasCommitted) {
#ifdef _WIN32
    GTEST_SKIP() << "file size limits are a POSIX matter";
#else
    Prova p;
    {
        Archivio a(p.db);
        ASSERT_TRUE(a.Scrivi(p.cartella, std::vector{Letto("primo.mid", Analisi(5))}, {}));
    }
    const pid_t figlio = fork();
    ASSERT_GE(figlio, 0);
    if (figlio == 0) {
        // The child may write no file beyond 64 KB, and a write past it fails
        // instead of killing the process.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limite{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limite);
        Archivio a(p.db);
        std::vector<FileLetto> molti;
        for (int i = 0; i < 2000; ++i) {
            AnalisiFile x = Analisi(i + 1);
            x.testoCompleto = std::string(200, static_cast<char>('a' + i % 26));
            molti.push_back(Letto("f" + std::to_string(i) + ".mid", x));
        }
        const bool scritto = a.Scrivi(p.cartella, molti, {});
        const bool ok = !scritto && !a.Disponibile() &&
                        a.Avviso().starts_with("Analisi senza catalogo salvato: ");
        _exit(ok ? 0 : 1);
    }
    int stato = 0;
    ASSERT_EQ(waitpid(figlio, &stato, 0), figlio);
    ASSERT_TRUE(WIFEXITED(stato));
    EXPECT_EQ(WEXITSTATUS(stato), 0);
    Archivio a(p.db);
    ASSERT_TRUE(a.Disponibile()) << a.Avviso();
    EXPECT_EQ(p.Nomi(a, p.cartella), std::vector<std::string>{"primo.mid"});
#endif
}
