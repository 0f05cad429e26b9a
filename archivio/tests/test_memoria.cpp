// The scan with the stored catalogue as its memory: the catalogue always comes out as
// a full scan makes it (empty database, full one, after files were touched,
// replaced, added, removed, renamed; one thread or several), unchanged files are not
// read again, and a database that fails or a process killed half way never costs a
// scan its result.
#include "archivio.h"
#include "memoria_archivio.h"
#include "scansione.h"
#include "sqlite.h"

#include "aiuti.h"
#include "albero_temporaneo.h"
#include "piattaforma.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <sstream>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

using namespace velmora::archivio;
namespace fs = std::filesystem;

namespace {

// A file of `secondi` seconds, with a lyric, a copyright notice and a track name when
// asked.
prova::Bytes Brano(std::uint32_t secondi, std::string_view testo = "",
                   std::string_view copyright = "", std::string_view traccia = "") {
    using namespace prova;
    const auto meta = [](std::uint8_t tipo, std::string_view t) {
        return t.empty() ? Bytes{} : Meta(0, tipo, t);
    };
    return File(0, 480,
                {Unisci({meta(0x03, traccia), meta(0x02, copyright), meta(0x05, testo),
                         Nota(0, secondi * 960), FineTraccia()})});
}

// Everything the catalogue holds, entry by entry, with its counts and lengths.
std::string Impronta(const dati& c) {
    std::ostringstream s;
    s << c.NumeroFile() << ' ' << c.NumeroConTesto() << ' ' << c.NumeroCorrotti() << ' '
      << c.TotaleByte() << ' ' << c.MaxPercorso() << ' ' << c.MaxDirectory() << ' ' << c.MaxNome()
      << '\n';
    for (const dati::elemento* e = c.PrimoElemento(); e != nullptr; e = e->successivo) {
        s << e->Directory() << '|' << e->nome << '|' << e->Percorso() << '|' << e->durata << '|'
          << e->lunghezza << '|' << e->tempo << '|' << e->bpm << '|' << e->tracce << '|'
          << e->copyright << '|' << e->tipo << '|' << e->testo << '|' << e->hashByte.value_or(0)
          << '|' << e->impronta.value_or(0) << '|' << e->durataRiproduzione << '|' << e->identita
          << '\n';
    }
    return s.str();
}

struct Scansionata {
    std::string impronta;
    std::string avviso;
};

// One scan of the tree, as "Start" makes it, with the stored catalogue at db or
// without one (db empty).
Scansionata Scansiona(const std::string& radice, const std::string& db, unsigned fili,
                      bool senzaCache = false, int attesaMs = Archivio::kAttesaPredefinita,
                      std::function<void(const std::string&)> stato = {}) {
    ListaCartelle cartelle(radice);
    ListaFile file;
    dati catalogo;
    Scansione::Ganci ganci;
    ganci.stato = std::move(stato);
    Scansione s(cartelle, file, catalogo, std::move(ganci), fili);
    cartelle.AlCambio([&] { s.DirectoryChange(); });
    std::optional<Archivio> archivio;
    std::optional<MemoriaArchivio> memoria;
    if (!db.empty()) {
        archivio.emplace(db, attesaMs);
        s.Memoria(&memoria.emplace(*archivio, senzaCache));
    }
    s.Button1Click(true, true);
    return {Impronta(catalogo), memoria ? memoria->Avviso() : std::string()};
}

// The time of a file, moved back by a given number of seconds from now.
void Invecchia(const std::string& percorso, int secondi = 3600) {
    fs::last_write_time(velmora::PercorsoDaUtf8(percorso),
                        fs::file_time_type::clock::now() - std::chrono::seconds(secondi));
}

// A tree of folders and files of every kind; every file made old enough for the
// stored catalogue to trust it.
struct Albero {
    prova::AlberoTemporaneo t;
    std::string db = t.Percorso("db/catalogo.sqlite");
    std::string radice = t.Percorso("musica");

    Albero() {
        File("musica/Karaoke/Città.mid", Brano(3, "la la", "\xA9 Edizioni", "Voce"));
        File("musica/Karaoke/Perché.mid", Brano(5, "", "", "Piano"));
        File("musica/Karaoke/Sotto/Notte.mid", Brano(7, "luna"));
        File("musica/Rotti/vuoto.mid", prova::Bytes{});
        File("musica/Rotti/corto.mid", prova::Bytes{'M', 'T', 'h', 'd', 0});
        File("musica/Strumentali/Valzer.MID", Brano(11));
        File("musica/Uno.mid", Brano(2));
    }
    void File(const std::string& relativo, const prova::Bytes& byte) const {
        t.File(relativo, byte);
        Invecchia(t.Percorso(relativo));
    }
    Scansionata Piena(unsigned fili = 1) const { return Scansiona(radice, "", fili); }
};

std::int64_t Righe(const std::string& db, const char* tabella) {
    velmora::sqlite::Connessione c(db, false, 0);
    velmora::sqlite::Istruzione q(c, std::string("SELECT count(*) FROM ") + tabella);
    q.Passo();
    return q.Intero(0);
}

} // namespace

TEST(MemoriaArchivio, TheCatalogueIsAFullScansWhateverTheDatabaseHoldsAndTheFilesDid) {
    for (const unsigned fili : {1u, 4u}) {
        Albero a;
        const auto uguale = [&](const char* quando) {
            const Scansionata piena = a.Piena(fili);
            const Scansionata memoria = Scansiona(a.radice, a.db, fili);
            EXPECT_EQ(memoria.impronta, piena.impronta) << quando << ", " << fili << " fili";
            EXPECT_EQ(memoria.avviso, "") << quando;
            // Stored: every file, corrupt ones too (they are read as well); nothing of
            // files gone.
            EXPECT_EQ(Righe(a.db, "file"),
                      std::count(piena.impronta.begin(), piena.impronta.end(), '\n') - 1)
                << quando;
        };
        uguale("database empty");
        uguale("database full");
        fs::last_write_time(velmora::PercorsoDaUtf8(a.t.Percorso("musica/Uno.mid")),
                            fs::file_time_type::clock::now() - std::chrono::seconds(100));
        uguale("a file touched");
        a.File("musica/Karaoke/Perché.mid", Brano(9, "nuovo testo"));
        uguale("a file replaced");
        a.File("musica/Karaoke/Sotto/Alba.mid", Brano(4));
        a.File("musica/Nuova/Sera.mid", Brano(6, "", "Copyright"));
        uguale("files and a folder added");
        fs::remove(velmora::PercorsoDaUtf8(a.t.Percorso("musica/Uno.mid")));
        uguale("a file removed");
        fs::rename(velmora::PercorsoDaUtf8(a.t.Percorso("musica/Karaoke/Città.mid")),
                   velmora::PercorsoDaUtf8(a.t.Percorso("musica/Karaoke/Paese.mid")));
        fs::rename(velmora::PercorsoDaUtf8(a.t.Percorso("musica/Strumentali")),
                   velmora::PercorsoDaUtf8(a.t.Percorso("musica/Orchestra")));
        uguale("a file and a folder renamed");
        // Strumentali is forgotten with its files, and so is musica, left without one.
        EXPECT_EQ(Righe(a.db, "cartelle"), 5);
        fs::remove_all(velmora::PercorsoDaUtf8(a.t.Percorso("musica/Karaoke")));
        uguale("a folder removed with its sub-folder");
    }
}

TEST(MemoriaArchivio, AnUnchangedFileIsNotReadAgainUnlessNoCacheIsAsked) {
    Albero a;
    const std::string uno = a.t.Percorso("musica/Uno.mid");
    ASSERT_EQ(Scansiona(a.radice, a.db, 2).impronta, a.Piena().impronta);
    // Other bytes of the same size under the same time: only a read would see them.
    const auto tempo = fs::last_write_time(velmora::PercorsoDaUtf8(uno));
    const prova::Bytes prima = Brano(2);
    prova::Bytes dopo = Brano(3);
    ASSERT_EQ(prima.size(), dopo.size());
    prova::ScriviFile(velmora::PercorsoDaUtf8(uno), dopo);
    fs::last_write_time(velmora::PercorsoDaUtf8(uno), tempo);
    const std::string vecchia = Scansiona(a.radice, a.db, 2).impronta;
    EXPECT_NE(vecchia, a.Piena().impronta);
    EXPECT_NE(vecchia.find("|Uno.mid|" + a.radice + "|2|"), std::string::npos) << vecchia;
    // --no-cache reads it, and stores what it read.
    EXPECT_EQ(Scansiona(a.radice, a.db, 2, true).impronta, a.Piena().impronta);
    EXPECT_EQ(Scansiona(a.radice, a.db, 2).impronta, a.Piena().impronta);
}

TEST(MemoriaArchivio, AFileChangedInTheSameSecondItWasReadIsReadAgain) {
    Albero a;
    const std::string uno = a.t.Percorso("musica/Uno.mid");
    // Written just now: stored while its time is too close to the reading to trust.
    prova::ScriviFile(velmora::PercorsoDaUtf8(uno), Brano(2));
    const auto tempo = fs::last_write_time(velmora::PercorsoDaUtf8(uno));
    Scansiona(a.radice, a.db, 1);
    prova::ScriviFile(velmora::PercorsoDaUtf8(uno), Brano(3));
    fs::last_write_time(velmora::PercorsoDaUtf8(uno), tempo);
    EXPECT_EQ(Scansiona(a.radice, a.db, 1).impronta, a.Piena().impronta);
}

TEST(MemoriaArchivio, ADatabaseThatCannotServeLeavesTheScanWholeAndSaysWhyOnce) {
    Albero a;
    const std::string piena = a.Piena().impronta;
    // Locked by another program for the whole scan.
    {
        Archivio crea(a.db);
        velmora::sqlite::Connessione altra(a.db, false, 0);
        velmora::sqlite::Transazione blocco(altra);
        const Scansionata s = Scansiona(a.radice, a.db, 2, false, 20);
        EXPECT_EQ(s.impronta, piena);
        EXPECT_EQ(s.avviso,
                  "Analisi senza catalogo salvato: il database è in uso da un altro programma");
    }
    // Random bytes: put aside, made again, filled by this scan.
    {
        std::ofstream f(velmora::PercorsoDaUtf8(a.db), std::ios::binary | std::ios::trunc);
        f << std::string(3000, 'x');
    }
    Scansionata s = Scansiona(a.radice, a.db, 2);
    EXPECT_EQ(s.impronta, piena);
    EXPECT_NE(s.avviso.find("danneggiato"), std::string::npos) << s.avviso;
    EXPECT_EQ(Scansiona(a.radice, a.db, 2).avviso, "");
    // A database that cannot be made: a file stands where its folder should be.
    a.t.File("blocco", "x");
    s = Scansiona(a.radice, a.t.Percorso("blocco/catalogo.sqlite"), 2);
    EXPECT_EQ(s.impronta, piena);
    EXPECT_EQ(s.avviso, "Analisi senza catalogo salvato: il database non si può aprire");
}

#ifndef _WIN32
namespace {

// Runs corpo in a child process and returns how it ended.
template <typename Corpo> int InFiglio(Corpo corpo) {
    const pid_t figlio = fork();
    if (figlio == 0) {
        corpo();
        _exit(0);
    }
    int stato = 0;
    waitpid(figlio, &stato, 0);
    return stato;
}

} // namespace
#endif

TEST(MemoriaArchivio, AProcessKilledHalfWayLeavesADatabaseThatServesTheNextScan) {
#ifdef _WIN32
    GTEST_SKIP() << "the child process is made with fork";
#else
    Albero a;
    for (int i = 0; i < 40; ++i) {
        a.File("musica/Molti/" + std::to_string(i) + ".mid", Brano(1 + i % 7, i % 3 ? "" : "la"));
    }
    const std::string piena = a.Piena().impronta;
    ASSERT_EQ(Scansiona(a.radice, a.db, 2).impronta, piena);
    for (int i = 0; i < 40; i += 2) { // half of them to analyse and store again
        a.File("musica/Molti/" + std::to_string(i) + ".mid", Brano(8, "nuovo"));
    }
    const std::string nuova = a.Piena().impronta;
    int file = 0;
    const int stato = InFiglio([&] {
        Scansiona(a.radice, a.db, 2, true, 2000, [&](const std::string&) {
            if (++file == 30) {
                kill(getpid(), SIGKILL); // in the middle of a folder's transaction
            }
        });
    });
    ASSERT_TRUE(WIFSIGNALED(stato));
    EXPECT_EQ(WTERMSIG(stato), SIGKILL);
    {
        velmora::sqlite::Connessione c(a.db, false, 0);
        velmora::sqlite::Istruzione q(c, "PRAGMA integrity_check");
        ASSERT_TRUE(q.Passo());
        EXPECT_EQ(q.Testo(0), "ok");
    }
    const Scansionata dopo = Scansiona(a.radice, a.db, 2);
    EXPECT_EQ(dopo.impronta, nuova);
    EXPECT_EQ(dopo.avviso, "");
#endif
}

TEST(MemoriaArchivio, AReadOnlyDatabaseOrAFullDiskLeaveTheScanWhole) {
#ifdef _WIN32
    GTEST_SKIP() << "permissions and file size limits are tested on POSIX";
#else
    Albero a;
    const std::string piena = a.Piena().impronta;
    ASSERT_EQ(Scansiona(a.radice, a.db, 2).impronta, piena);
    for (int i = 0; i < 200; ++i) { // enough new text to outgrow the size limit
        a.File("musica/Nuovi/" + std::to_string(i) + ".mid",
               Brano(2, std::string(150, static_cast<char>('a' + i % 26))));
    }
    const std::string nuova = a.Piena().impronta;
    const auto controlla = [&](auto prepara) {
        return InFiglio([&] {
            prepara();
            const Scansionata s = Scansiona(a.radice, a.db, 2);
            const bool ok =
                s.impronta == nuova && s.avviso.starts_with("Analisi senza catalogo salvato: ");
            if (!ok) {
                std::cerr << s.avviso << "\n";
            }
            _exit(ok ? 0 : 1);
        });
    };
    // Read-only: this process gives up root's right to write anything.
    fs::permissions(velmora::PercorsoDaUtf8(a.t.Percorso("db")),
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(velmora::PercorsoDaUtf8(a.db),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    int stato = controlla([] {
        if (geteuid() == 0 && setuid(65534) != 0) {
            _exit(2);
        }
    });
    EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0) << stato;
    fs::permissions(velmora::PercorsoDaUtf8(a.t.Percorso("db")), fs::perms::owner_all);
    fs::permissions(velmora::PercorsoDaUtf8(a.db), fs::perms::owner_read | fs::perms::owner_write);
    // A full disk: no file may grow past a small limit, and a write past it fails
    // instead of killing the process.
    const auto limite = fs::file_size(velmora::PercorsoDaUtf8(a.db)) + 16 * 1024;
    stato = controlla([&] {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit r{limite, limite};
        setrlimit(RLIMIT_FSIZE, &r);
    });
    EXPECT_TRUE(WIFEXITED(stato) && WEXITSTATUS(stato) == 0) << stato;
    // What was committed before stays, and the next scan fills in the rest.
    EXPECT_EQ(Scansiona(a.radice, a.db, 2).impronta, nuova);
    EXPECT_EQ(Scansiona(a.radice, a.db, 2).avviso, "");
#endif
}
