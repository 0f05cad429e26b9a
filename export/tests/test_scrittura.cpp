#include "scrittura.h"

#include "prova_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <thread>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace {

class Scrittura : public CartellaProva {};

// Every byte value, and more than one buffer of the C library.
std::string Campione(std::size_t n) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        s[i] = static_cast<char>(i * 7 % 256);
    }
    return s;
}

} // namespace

TEST_F(Scrittura, WritesAndReplacesWholeFilesLeavingNoTemporary) {
    const std::string grande = Campione(200000);
    EXPECT_TRUE(ScriviFile(P("lista.txt"), grande));
    EXPECT_EQ(Leggi("lista.txt"), grande);

    EXPECT_TRUE(ScriviFile(P("lista.txt"), "breve\r\n"));
    EXPECT_EQ(Leggi("lista.txt"), "breve\r\n");

    EXPECT_TRUE(ScriviFile(P("vuoto.txt"), ""));
    EXPECT_TRUE(fs::exists(dir / "vuoto.txt"));
    EXPECT_EQ(fs::file_size(dir / "vuoto.txt"), 0u);

    const std::string accentato = "perch\xC3\xA9.txt";
    EXPECT_TRUE(ScriviFile(P(accentato), "x"));
    EXPECT_EQ(Leggi(accentato), "x");
    EXPECT_EQ(Voci(), (std::set<std::string>{"lista.txt", "vuoto.txt", accentato}));
}

TEST_F(Scrittura, ReplacedFileKeepsItsPermissions) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows keeps a read-only attribute, not permission bits such as 0600";
#endif
    Crea("lista.txt", "vecchio");
    fs::permissions(dir / "lista.txt", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(ScriviFile(P("lista.txt"), "nuovo"));
    EXPECT_EQ(Leggi("lista.txt"), "nuovo");
    EXPECT_EQ(fs::status(dir / "lista.txt").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(Scrittura, MissingFolderCannotCreateTheFile) {
    const std::string nome = P("manca") + velmora::Separatore() + "lista.txt";
    const Esito esito = ScriviFile(nome, "dati");
    EXPECT_FALSE(esito);
    EXPECT_EQ(esito.errore, "Cannot create file " + nome);
    EXPECT_FALSE(fs::exists(dir / "manca"));
    EXPECT_EQ(ScriviFile("", "dati").errore, "Cannot create file ");
}

TEST_F(Scrittura, ReadOnlyFileAndFolderNamesAreNotReplaced) {
    Crea("protetto.txt", "vecchio");
    fs::permissions(dir / "protetto.txt", fs::perms::owner_read);
    const Esito esito = ScriviFile(P("protetto.txt"), "nuovo");
    EXPECT_EQ(esito.errore, "Cannot create file " + P("protetto.txt"));
    EXPECT_EQ(Leggi("protetto.txt"), "vecchio");

    fs::create_directory(dir / "cartella.txt");
    EXPECT_EQ(ScriviFile(P("cartella.txt"), "nuovo").errore,
              "Cannot create file " + P("cartella.txt"));
    EXPECT_TRUE(fs::is_directory(dir / "cartella.txt"));
    EXPECT_EQ(Voci(), (std::set<std::string>{"protetto.txt", "cartella.txt"}));
}

TEST_F(Scrittura, ReadOnlyFolderCannotCreateTheFile) {
    Crea("lista.txt", "vecchio");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
    if (std::ofstream(dir / "prova")) {
        GTEST_SKIP() << "this user may write into read-only folders";
    }
    EXPECT_EQ(ScriviFile(P("lista.txt"), "nuovo").errore, "Cannot create file " + P("lista.txt"));
    EXPECT_EQ(Leggi("lista.txt"), "vecchio");
}

TEST_F(Scrittura, WriteErrorIsReportedAndKeepsTheOldFile) {
    if (!DiscoPieno::kPossibile) {
        GTEST_SKIP() << kSenzaDiscoPieno;
    }
    Crea("lista.txt", "vecchia lista");
    // A short text fails when it is flushed, a long one already while it is written.
    for (const std::string& contenuto : {std::string(100, 'a'), Campione(200000)}) {
        Esito esito;
        {
            const DiscoPieno pieno;
            esito = ScriviFile(P("lista.txt"), contenuto);
        }
        EXPECT_EQ(esito.errore, "Write error on file " + P("lista.txt"));
        EXPECT_EQ(Leggi("lista.txt"), "vecchia lista");
        EXPECT_EQ(Voci(), std::set<std::string>{"lista.txt"});
    }
}

// Windows' own write failure: another program holds the target open without sharing.
TEST_F(Scrittura, ATargetHeldOpenElsewhereKeepsItsContent) {
#ifdef _WIN32
    Crea("lista.txt", "vecchia lista");
    const HANDLE h =
        CreateFileW(F("lista.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const Esito esito = ScriviFile(P("lista.txt"), "nuova lista");
    CloseHandle(h);
    EXPECT_EQ(esito.errore, "Cannot create file " + P("lista.txt"));
    EXPECT_EQ(Leggi("lista.txt"), "vecchia lista");
    EXPECT_EQ(Voci(), std::set<std::string>{"lista.txt"});
#else
    GTEST_SKIP() << "POSIX has no share modes: a file open elsewhere can be replaced";
#endif
}

TEST_F(Scrittura, DevicesAndPipesAreWrittenToAndLinksFollowed) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no /dev devices, FIFOs or symbolic links made by users";
#else
    EXPECT_TRUE(ScriviFile("/dev/null", "lista"));
    EXPECT_EQ(ScriviFile("/dev/full", "lista").errore, "Write error on file /dev/full");

    ASSERT_EQ(mkfifo(P("tubo").c_str(), 0600), 0);
    std::string letto;
    std::thread lettore([&] { letto = Leggi("tubo"); });
    const Esito tubo = ScriviFile(P("tubo"), "attraverso");
    lettore.join();
    EXPECT_TRUE(tubo);
    EXPECT_EQ(letto, "attraverso");

    // A link, also a dangling one, is kept; what it points to gets the bytes.
    Crea("vera.txt", "vecchia");
    std::filesystem::create_symlink("vera.txt", dir / "collegamento");
    std::filesystem::create_symlink(dir / "nuova.txt", dir / "sospeso");
    EXPECT_TRUE(ScriviFile(P("collegamento"), "nuova lista"));
    EXPECT_TRUE(ScriviFile(P("sospeso"), "altra"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "collegamento"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "sospeso"));
    EXPECT_EQ(Leggi("vera.txt"), "nuova lista");
    EXPECT_EQ(Leggi("nuova.txt"), "altra");
#endif
}

TEST_F(Scrittura, NamesReservedForDevicesAreRefused) {
    if (!velmora::NomeRiservato("con")) {
        GTEST_SKIP() << "no names are reserved for devices on this system";
    }
    for (const std::string nome : {"con", "NUL.txt", "Com1.mid", "aux .txt"}) {
        EXPECT_EQ(ScriviFile(P(nome), "x").errore, "Cannot create file " + P(nome));
    }
    EXPECT_TRUE(Voci().empty());
}

TEST_F(Scrittura, APathLongerThanWindowsAllowsIsWrittenOrRefusedClearly) {
    std::string cartella;
    for (int i = 0; i < 8; ++i) {
        cartella += "cartella con un nome lungo " + std::to_string(i) + "/";
    }
    std::error_code ec;
    std::filesystem::create_directories(F(cartella), ec);
    if (ec) {
        GTEST_SKIP() << "this system makes no folders that deep: " << ec.message();
    }
    const std::string nome = P(cartella + "lista.txt");
    ASSERT_GT(nome.size(), 260u);
    const Esito esito = ScriviFile(nome, "lista");
    if (esito) {
        EXPECT_EQ(Leggi(cartella + "lista.txt"), "lista");
    } else {
        EXPECT_EQ(esito.errore, "Cannot create file " + nome);
    }
}

TEST_F(Scrittura, ATemporaryNameAlreadyTakenIsLeftAlone) {
    // Another writer's temporary file: neither emptied nor removed.
    Crea(".velmora0.tmp", "altrui");
    ASSERT_TRUE(ScriviFile(P("lista.txt"), "mia"));
    EXPECT_EQ(Leggi(".velmora0.tmp"), "altrui");
    EXPECT_EQ(Leggi("lista.txt"), "mia");
    EXPECT_EQ(Voci(), (std::set<std::string>{".velmora0.tmp", "lista.txt"}));
}
