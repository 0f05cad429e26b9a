#include "scrittura.h"

#include "piattaforma.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace fs = std::filesystem;
using velmora::Utf8DaPercorso;

namespace {

class Scrittura : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("velmora_scrittura_") + info->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir);
    }
    std::string P(const std::string& nome) const { return Utf8DaPercorso(dir / nome); }
    void Crea(const std::string& nome, const std::string& contenuto) const {
        std::ofstream(dir / nome, std::ios::binary) << contenuto;
    }
    std::string Leggi(const std::string& nome) const {
        std::ifstream f(dir / nome, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    // The names in the folder: shows a temporary file left behind.
    std::set<std::string> Voci() const {
        std::set<std::string> voci;
        for (const auto& v : fs::directory_iterator(dir)) {
            voci.insert(Utf8DaPercorso(v.path().filename()));
        }
        return voci;
    }
    fs::path dir;
};

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

#ifndef _WIN32
namespace {

// While alive, files this process writes cannot grow past a few bytes, as on a full
// disk: writes past the limit fail instead of raising SIGXFSZ.
class DiscoPieno {
public:
    DiscoPieno() {
        getrlimit(RLIMIT_FSIZE, &prima);
        segnale = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = prima;
        limite.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~DiscoPieno() {
        setrlimit(RLIMIT_FSIZE, &prima);
        std::signal(SIGXFSZ, segnale);
    }
    DiscoPieno(const DiscoPieno&) = delete;
    DiscoPieno& operator=(const DiscoPieno&) = delete;

private:
    rlimit prima{};
    void (*segnale)(int) = nullptr;
};

} // namespace

TEST_F(Scrittura, WriteErrorIsReportedAndKeepsTheOldFile) {
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
#endif
