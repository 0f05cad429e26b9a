// velmora-cli duplicates: one file under two names is one file, listed with its other
// name; the help says what "stessa musica" compares.
#include "comandi.h"

#include "aiuti.h"
#include "albero_temporaneo.h"
#include "doppioni.h"

#include <gtest/gtest.h>

#include <sstream>

TEST(ComandoDuplicates, AHardLinkIsAnotherNameOfItsFileNotADuplicate) {
    prova::AlberoTemporaneo albero;
    albero.File("a.mid", prova::kFile38);
    albero.File("copia.mid", prova::kFile38);
    std::error_code ec;
    std::filesystem::create_hard_link(velmora::PercorsoDaUtf8(albero.Percorso("a.mid")),
                                      velmora::PercorsoDaUtf8(albero.Percorso("b.mid")), ec);
    if (ec) {
        GTEST_SKIP() << "this file system makes no hard links: " << ec.message();
    }
    const auto esegui = [](std::vector<std::string> argomenti) {
        std::ostringstream out, err;
        EXPECT_EQ(velmora::cli::Duplicates(argomenti, out, err), velmora::cli::kRiuscito)
            << err.str();
        return out.str();
    };
    EXPECT_EQ(esegui({albero.Percorso()}), "Identici (2 file):\n"
                                           "   0:02  38 byte  " +
                                               albero.Percorso("a.mid") +
                                               "\n"
                                               "    altro nome: " +
                                               albero.Percorso("b.mid") +
                                               "\n"
                                               "   0:02  38 byte  " +
                                               albero.Percorso("copia.mid") + "\n\n");
    const std::string json = esegui({"--json", albero.Percorso()});
    EXPECT_NE(json.find("\"durata_secondi\":2,\"altri_nomi\":["), std::string::npos) << json;
    EXPECT_NE(esegui({"--help"}).find("Stessa musica: si confrontano solo le note suonate"),
              std::string::npos);
}
