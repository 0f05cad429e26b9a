// velmora-cli over the stored catalogue: list and duplicates give the same bytes with
// an empty database, a full one and --no-cache, and say once when it cannot serve;
// search prints what it finds with the fields matched, and its exit statuses.
#include "comandi.h"

#include "aiuti.h"
#include "albero_temporaneo.h"
#include "piattaforma.h"

#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace {

struct Esecuzione {
    int stato;
    std::string out;
    std::string err;
};

using Comando = int (*)(velmora::cli::Argomenti, std::ostream&, std::ostream&);

Esecuzione Esegui(Comando comando, const std::vector<std::string>& argomenti) {
    std::ostringstream out;
    std::ostringstream err;
    const int stato = comando(argomenti, out, err);
    return {stato, out.str(), err.str()};
}

prova::Bytes Brano(std::uint32_t secondi, std::string_view testo, std::string_view copyright) {
    using namespace prova;
    return File(0, 480,
                {Unisci({copyright.empty() ? Bytes{} : Meta(0, 0x02, copyright),
                         testo.empty() ? Bytes{} : Meta(0, 0x05, testo), Nota(0, secondi * 960),
                         FineTraccia()})});
}

struct Albero {
    prova::AlberoTemporaneo t;
    std::string db = t.Percorso("catalogo.sqlite");

    Albero() {
        File("Musica/Città di notte.mid", Brano(3, "", ""));
        File("Musica/Canzone.mid", Brano(4, "la notte in citta", ""));
        File("Musica/Altro/Perché.mid", Brano(5, "", "(c) Edizioni"));
    }
    void File(const std::string& relativo, const prova::Bytes& b) const {
        t.File(relativo, b);
        std::filesystem::last_write_time(velmora::PercorsoDaUtf8(t.Percorso(relativo)),
                                         std::filesystem::file_time_type::clock::now() -
                                             std::chrono::hours(1));
    }
};

} // namespace

TEST(ListaConCatalogo, TheListIsTheSameBytesWithAnEmptyAFullOrNoCatalogue) {
    if (!std::filesystem::is_directory(VELMORA_CORPUS)) {
        GTEST_SKIP() << "no corpus at " << VELMORA_CORPUS;
    }
    prova::AlberoTemporaneo t;
    const std::string db = t.Percorso("catalogo.sqlite");
    const std::string nessuno = t.Percorso("x/catalogo.sqlite");
    t.File("x", "a file where the database's folder would be");
    for (const char* formato : {"txt", "csv", "json"}) {
        const std::vector<std::string> base{VELMORA_CORPUS, "--date", "5/3/1999", "--format",
                                            formato};
        const auto con = [&](std::vector<std::string> altri) {
            std::vector<std::string> a = base;
            a.insert(a.end(), altri.begin(), altri.end());
            return Esegui(velmora::cli::Lista, a);
        };
        const Esecuzione senza = con({"--db", nessuno});
        EXPECT_EQ(senza.stato, 0);
        EXPECT_EQ(senza.err, "velmora-cli list: Analisi senza catalogo salvato: il database non "
                             "si può aprire\n");
        for (const auto& altri :
             {std::vector<std::string>{"--db", db}, std::vector<std::string>{"--db", db},
              std::vector<std::string>{"--db", db, "--no-cache"}}) {
            const Esecuzione e = con(altri);
            EXPECT_EQ(e.stato, 0) << e.err;
            EXPECT_EQ(e.err, "");
            EXPECT_EQ(e.out, senza.out) << formato;
        }
    }
    const Esecuzione doppioni = Esegui(velmora::cli::Duplicates, {VELMORA_CORPUS, "--db", db});
    EXPECT_EQ(doppioni.out,
              Esegui(velmora::cli::Duplicates, {VELMORA_CORPUS, "--db", nessuno}).out);
    EXPECT_EQ(doppioni.err, "");
}

TEST(Search, FindsTheStoredFilesBestFirstWithTheFieldsTheyMatched) {
    Albero a;
    ASSERT_EQ(Esegui(velmora::cli::Lista, {a.t.Percorso("Musica"), "--db", a.db}).stato, 0);
    Esecuzione e = Esegui(velmora::cli::Search, {"citta", "NOTTE", "--db", a.db});
    EXPECT_EQ(e.stato, 0) << e.err;
    EXPECT_EQ(e.out, " 0:03  " + a.t.Percorso("Musica/Città di notte.mid") + "  (nome)\n" +
                         " 0:04  " + a.t.Percorso("Musica/Canzone.mid") + "  (testo)\n");
    e = Esegui(velmora::cli::Search, {"edizioni", "--json", "--db", a.db});
    ASSERT_EQ(e.stato, 0) << e.err;
    const nlohmann::json riga = nlohmann::json::parse(e.out);
    EXPECT_EQ(riga["percorso"], a.t.Percorso("Musica/Altro/Perché.mid"));
    EXPECT_EQ(riga["campi"], nlohmann::json::array({"copyright"}));
    EXPECT_EQ(riga["durata_secondi"], 5);
    // Only below --folder; the folder's own name is searched too.
    e = Esegui(velmora::cli::Search,
               {"musica", "--folder", a.t.Percorso("Musica/Altro"), "--db", a.db});
    EXPECT_EQ(e.out, " 0:05  " + a.t.Percorso("Musica/Altro/Perché.mid") + "  (cartella)\n");
    // Nothing found: status 1, and a word for an empty catalogue.
    e = Esegui(velmora::cli::Search, {"assente", "--db", a.db});
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.out, "");
    EXPECT_EQ(e.err, "");
    e = Esegui(velmora::cli::Search, {"notte", "--db", a.t.Percorso("vuoto.sqlite")});
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.err.find("il catalogo salvato è vuoto"), std::string::npos) << e.err;
    // Usage errors.
    EXPECT_EQ(Esegui(velmora::cli::Search, {"--db", a.db}).stato, 2);
    EXPECT_EQ(Esegui(velmora::cli::Search, {"notte", "--db"}).stato, 2);
    EXPECT_EQ(Esegui(velmora::cli::Search, {"notte", "--xyz"}).stato, 2);
    // A database that cannot be read.
    a.t.File("rotto/x", "");
    e = Esegui(velmora::cli::Search, {"notte", "--db", a.t.Percorso("rotto")});
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.err, "velmora-cli search: catalogo salvato non disponibile: il database non si "
                     "può aprire\n");
}
