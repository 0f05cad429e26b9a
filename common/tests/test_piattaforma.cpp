#include "piattaforma.h"

#include "cartella_temporanea.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace velmora;
namespace fs = std::filesystem;

TEST(Piattaforma, PathsAreJoinedWithoutDoublingAtARoot) {
    const std::string sep(1, Separatore());
#ifdef _WIN32
    EXPECT_EQ(UnisciPercorso("D:\\", "a.mid"), "D:\\a.mid");
    EXPECT_EQ(CartellaSuperiore("D:\\midi"), "D:\\");
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
    void Crea(const std::string& nome, const std::string& contenuto) {
        std::ofstream(dir / nome) << contenuto;
    }
    std::string Leggi(const std::string& nome) {
        std::ifstream f(dir / nome);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    std::string P(const std::string& nome) { return Utf8DaPercorso(dir / nome); }
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
