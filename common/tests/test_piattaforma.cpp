#include "piattaforma.h"

#include "cartella_temporanea.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <string>

using namespace velmora;
namespace fs = std::filesystem;

TEST(Piattaforma, PathsAreJoinedWithoutDoublingAtARoot) {
    const std::string sep(1, Separatore());
#ifdef _WIN32
    EXPECT_EQ(UnisciPercorso("D:\\", "a.mid"), "D:\\a.mid");
    EXPECT_EQ(CartellaSuperiore("D:\\midi"), "D:\\");
    EXPECT_EQ(CartellaSuperiore("D:\\midi\\pop"), "D:\\midi");
    EXPECT_EQ(NomeCartella("D:/midi/pop"), "pop");
    // A drive letter alone is a root, in either case and with either separator.
    for (const char* radice : {"Z:", "z:", "Z:\\", "z:/"}) {
        EXPECT_TRUE(ERadice(radice)) << radice;
        EXPECT_EQ(RadiceDi(radice), "Z:\\") << radice;
    }
    EXPECT_EQ(RadiceDi("z:\\tmp\\midi"), "Z:\\");
    EXPECT_EQ(NormalizzaCartella("Z:"), "Z:\\");
    EXPECT_EQ(NormalizzaCartella("z:/tmp/midi/"), "z:\\tmp\\midi");
    EXPECT_EQ(UnisciPercorso("Z:", "a.mid"), "Z:\\a.mid");
    EXPECT_FALSE(ERadice("Z:\\tmp"));
    // A network path's root is \\server\share.
    EXPECT_TRUE(ERadice("\\\\server\\share"));
    EXPECT_TRUE(ERadice("\\\\server\\share\\"));
    EXPECT_FALSE(ERadice("\\\\server"));
    EXPECT_FALSE(ERadice("\\\\server\\share\\midi"));
    EXPECT_EQ(RadiceDi("\\\\server\\share\\midi\\pop"), "\\\\server\\share");
    EXPECT_EQ(NormalizzaCartella("//server/share/"), "\\\\server\\share");
    EXPECT_EQ(CartellaSuperiore("\\\\server\\share\\midi"), "\\\\server\\share");
    EXPECT_EQ(CartellaSuperiore("\\\\server\\share"), "\\\\server\\share");
    EXPECT_EQ(UnisciPercorso("\\\\server\\share", "a.mid"), "\\\\server\\share\\a.mid");
    EXPECT_EQ(NomeCartella("\\\\server\\share"), "\\\\server\\share");
#else
    EXPECT_EQ(UnisciPercorso("/", "a.mid"), "/a.mid");
    EXPECT_EQ(UnisciPercorso("/midi/pop", "a.mid"), "/midi/pop/a.mid");
    EXPECT_EQ(CartellaSuperiore("/midi"), "/");
    EXPECT_EQ(CartellaSuperiore("/midi/pop"), "/midi");
    EXPECT_EQ(CartellaSuperiore("/"), "/");
    EXPECT_EQ(NomeCartella("/midi/pop"), "pop");
    EXPECT_EQ(NomeCartella("/"), "/");
    EXPECT_EQ(NormalizzaCartella("/midi/pop//"), "/midi/pop");
    EXPECT_EQ(NormalizzaCartella("/"), "/");
    EXPECT_TRUE(ERadice("/"));
    EXPECT_FALSE(ERadice("/midi"));
    EXPECT_EQ(RadiceDi("/midi/pop"), "/");
#endif
}

class Rinomina : public ::testing::Test {
protected:
    // Names are UTF-8: a narrow string would be taken in the ANSI code page on Windows.
    fs::path F(const std::string& nome) { return dir / PercorsoDaUtf8(nome); }
    void Crea(const std::string& nome, const std::string& contenuto) {
        std::ofstream(F(nome)) << contenuto;
    }
    std::string Leggi(const std::string& nome) {
        std::ifstream f(F(nome));
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    std::string P(const std::string& nome) { return Utf8DaPercorso(F(nome)); }
    prova::CartellaTemporanea temporanea;
    const fs::path& dir = temporanea.Percorso();
};

TEST_F(Rinomina, NeverReplacesAnExistingFileOrFolder) {
    Crea("a.mid", "A");
    Crea("b.mid", "B");
    EXPECT_FALSE(RinominaSenzaSostituire(P("a.mid"), P("b.mid")));
    EXPECT_EQ(Leggi("a.mid"), "A");
    EXPECT_EQ(Leggi("b.mid"), "B");
    fs::create_directory(dir / "x");
    fs::create_directory(dir / "y");
    EXPECT_FALSE(RinominaSenzaSostituire(P("x"), P("y")));
    EXPECT_TRUE(fs::exists(dir / "x"));
}

TEST_F(Rinomina, RenamesFilesFoldersAndCaseOnly) {
    Crea("SONG.MID", "S");
    EXPECT_TRUE(RinominaSenzaSostituire(P("SONG.MID"), P("SONG.mid")));
    EXPECT_EQ(Leggi("SONG.mid"), "S");
    fs::create_directory(dir / "Pop");
    EXPECT_TRUE(RinominaSenzaSostituire(P("Pop"), P("Rock \xC3\xA8")));
    EXPECT_TRUE(fs::is_directory(PercorsoDaUtf8(P("Rock \xC3\xA8"))));
    EXPECT_FALSE(RinominaSenzaSostituire(P("missing.mid"), P("other.mid")));
}

TEST(Piattaforma, NamesReservedForDevices) {
#ifdef _WIN32
    for (const char* nome :
         {"con", "CON", "nul.txt", "Aux", "prn.mid", "com1", "LPT9.txt", "con .x"}) {
        EXPECT_TRUE(NomeRiservato(nome)) << nome;
    }
    for (const char* nome : {"console", "com0", "com10", "lpt", "nulla.mid", "a.con", ""}) {
        EXPECT_FALSE(NomeRiservato(nome)) << nome;
    }
#else
    EXPECT_FALSE(NomeRiservato("con"));
    EXPECT_FALSE(NomeRiservato("nul.txt"));
#endif
}

// One file under every name it has: its links share its identity, a copy does not.
TEST_F(Rinomina, LinksShareTheFilesIdentityAndTheDiskTellsItsFreeSpace) {
    Crea("a.mid", "A");
    Crea("copia.mid", "A");
    const std::optional<IdentitaFile> a = IdentitaDi(P("a.mid"));
    ASSERT_TRUE(a);
    EXPECT_NE(IdentitaDi(P("copia.mid")), a);
    EXPECT_FALSE(IdentitaDi(P("manca.mid")));
    std::error_code ec;
    fs::create_hard_link(F("a.mid"), F("fisso.mid"), ec);
    if (!ec) {
        EXPECT_EQ(IdentitaDi(P("fisso.mid")), a);
    }
    fs::create_symlink(F("a.mid"), F("simbolico.mid"), ec);
    if (!ec) {
        EXPECT_EQ(IdentitaDi(P("simbolico.mid")), a);
    }
    const std::optional<std::uint64_t> libero = SpazioLibero(Utf8DaPercorso(dir));
    ASSERT_TRUE(libero);
    EXPECT_GT(*libero, 0u);
    EXPECT_FALSE(SpazioLibero(P("manca")));
}

namespace {

// Sets (or, with nullptr, removes) an environment variable for the rest of a scope.
class Ambiente {
public:
    Ambiente(const char* nome_, const char* valore) : nome(nome_) {
        if (const char* v = std::getenv(nome_)) {
            prima = v;
        }
        Imposta(valore);
    }
    ~Ambiente() { Imposta(prima ? prima->c_str() : nullptr); }

private:
    void Imposta(const char* valore) {
#ifdef _WIN32
        _putenv_s(nome.c_str(), valore ? valore : "");
#else
        valore ? setenv(nome.c_str(), valore, 1) : unsetenv(nome.c_str());
#endif
    }
    std::string nome;
    std::optional<std::string> prima;
};

} // namespace

TEST(Piattaforma, TheStoredCatalogueIsTheUsersUnlessVelmoraDbSaysOtherwise) {
    {
        const Ambiente db("VELMORA_DB", "altro.sqlite");
        EXPECT_EQ(velmora::PercorsoCatalogo(), "altro.sqlite");
    }
    const Ambiente db("VELMORA_DB", nullptr);
#ifdef _WIN32
    const Ambiente locale("LOCALAPPDATA", "C:\\Utenti\\Anna\\AppData\\Local");
    EXPECT_EQ(velmora::PercorsoCatalogo(),
              "C:\\Utenti\\Anna\\AppData\\Local\\Velmora\\catalogo.sqlite");
#else
    const Ambiente casa("HOME", "/home/anna");
    {
        const Ambiente dati("XDG_DATA_HOME", "/dati");
        EXPECT_EQ(velmora::PercorsoCatalogo(), "/dati/velmora/catalogo.sqlite");
    }
    const Ambiente relativa("XDG_DATA_HOME", "dati"); // not absolute: ignored
    EXPECT_EQ(velmora::PercorsoCatalogo(), "/home/anna/.local/share/velmora/catalogo.sqlite");
#endif
}
