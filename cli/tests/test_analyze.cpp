// velmora-cli analyze: options, exit statuses, the text report and the JSON lines.
#include "comandi.h"

#include "aiuti.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <vector>

using namespace prova;
namespace fs = std::filesystem;

namespace {

struct Esecuzione {
    int stato;
    std::string out;
    std::string err;
};

Esecuzione Esegui(const std::vector<std::string>& argomenti) {
    std::ostringstream out;
    std::ostringstream err;
    const int stato = velmora::cli::Analyze(argomenti, out, err);
    return {stato, out.str(), err.str()};
}

std::vector<nlohmann::json> Righe(const std::string& testo) {
    std::vector<nlohmann::json> righe;
    std::istringstream in(testo);
    for (std::string riga; std::getline(in, riga);) {
        righe.push_back(nlohmann::json::parse(riga));
    }
    return righe;
}

class Analyze : public ::testing::Test {
protected:
    std::string Scrivi(const std::string& nome, const Bytes& bytes) {
        const fs::path percorso = temporanea.Percorso() / nome;
        ScriviFile(percorso, bytes);
        return percorso.string();
    }
    CartellaTemporanea temporanea;
};

} // namespace

TEST_F(Analyze, EsempiInJson) {
    const std::string f38 = Scrivi("a.mid", kFile38);
    const std::string tempi =
        Scrivi("b.mid", File(1, 480,
                             {Unisci({Tempo(0, 500000), Tempo(1920, 250000), FineTraccia()}),
                              Unisci({Nota(0, 3840), FineTraccia()})}));
    const std::string karaoke = Scrivi(
        "c.mid", File(1, 480,
                      {Unisci({Meta(0, 0x01, "@KMIDI KARAOKE FILE"), Meta(0, 0x01, "@TTitle"),
                               Meta(0, 0x01, "@TAutor\xE9"), Meta(0, 0x01, "@LITA"),
                               Meta(0, 0x01, "@Iinfo"), Meta(0, 0x01, "\\Hel"), Meta(0, 0x01, "lo"),
                               Meta(0, 0x01, "/World"), Nota(0, 960), FineTraccia()})}));
    const Esecuzione e = Esegui({"--json", f38, tempi, karaoke});
    EXPECT_EQ(e.stato, 0);
    EXPECT_EQ(e.err, "");
    const auto righe = Righe(e.out);
    ASSERT_EQ(righe.size(), 3u);

    const nlohmann::json& a = righe[0];
    EXPECT_EQ(a["file"], f38);
    EXPECT_EQ(a["stato"], 0);
    EXPECT_EQ(a["DurataSecondi"], 2);
    EXPECT_EQ(a["DimensioneFile"], 38);
    EXPECT_EQ(a["TempoIniziale"], "4/4");
    EXPECT_EQ(a["BattuteMedie"], 120);
    EXPECT_EQ(a["ContaTracce"], 17);
    EXPECT_EQ(a["TracceUsate"], 1);
    EXPECT_EQ(a["TipoMidi"], "0");
    EXPECT_EQ(a["TipoTesto"], "");
    EXPECT_EQ(a["TestoCopyright"], "");
    EXPECT_EQ(a["TestoCompleto"], "");
    ASSERT_EQ(a["tracce"].size(), 17u);
    EXPECT_EQ(
        a["tracce"][1],
        (nlohmann::json{{"NomeTraccia", ""}, {"TracciaAttiva", 1}, {"Strumento", "EPiano2"}}));
    EXPECT_EQ(a["tracce"][16]["Strumento"], "(traccia non attiva)");
    EXPECT_EQ(a["tracce"][16]["TracciaAttiva"], 255);

    EXPECT_EQ(a["titolo"], "");
    EXPECT_EQ(a["durata_riproduzione_secondi"], 2);

    EXPECT_EQ(righe[1]["DurataSecondi"], 3);
    EXPECT_EQ(righe[1]["BattuteMedie"], 160);
    EXPECT_EQ(righe[1]["ContaTracce"], 2);

    EXPECT_EQ(righe[2]["TipoTesto"], "MIDI KARAOKE FILE");
    EXPECT_EQ(righe[2]["TestoCompleto"], "Title\r\nAutoré\r\n\r\nHello\r\nWorld");
    EXPECT_EQ(righe[2]["titolo"], "Title");
    EXPECT_EQ(righe[2]["autore"], "Autoré");
    EXPECT_EQ(righe[2]["lingua"], "ITA");
    EXPECT_EQ(righe[2]["informazioni"], nlohmann::json::array({"info"}));
}

TEST_F(Analyze, FileNonAnalizzatiDannoUnoEVengonoStampati) {
    const std::string buono = Scrivi("buono.mid", kFile38);
    const std::string rotto = Scrivi("rotto.mid", Testo("MThd"));
    const std::string assente = (temporanea.Percorso() / "assente.mid").string();
    const Esecuzione e = Esegui({"--json", rotto, buono, assente});
    EXPECT_EQ(e.stato, 1);
    const auto righe = Righe(e.out);
    ASSERT_EQ(righe.size(), 3u);
    EXPECT_EQ(righe[0]["stato"], 1);
    EXPECT_EQ(righe[0]["TempoIniziale"], "?/?");
    EXPECT_EQ(righe[0]["tracce"], nlohmann::json::array());
    EXPECT_EQ(righe[1]["stato"], 0);
    EXPECT_EQ(righe[2]["stato"], 2);
    EXPECT_EQ(righe[2]["TipoMidi"], "-");
    EXPECT_EQ(righe[2]["TestoCompleto"], "?");
}

TEST_F(Analyze, PercorsoVuotoRiportatoComeIlleggibile) {
    for (const bool json : {false, true}) {
        const Esecuzione e = json ? Esegui({"--json", ""}) : Esegui({""});
        EXPECT_EQ(e.stato, 1);
        EXPECT_NE(e.out.find(json ? "\"stato\":2" : "File corrotto o impossibile da aprire"),
                  std::string::npos)
            << e.out;
    }
}

TEST_F(Analyze, RapportoInTesto) {
    const std::string a = Scrivi("a.mid", kFile38);
    const std::string b = Scrivi("b.mid", Testo("non midi"));
    const Esecuzione e = Esegui({a, b});
    EXPECT_EQ(e.stato, 1);
    const std::string cartella = temporanea.Percorso().string();
    const std::string nomeCartella = temporanea.Percorso().filename().string();
    const std::string inizio = "Nome: a.mid\nDirectory: " + nomeCartella +
                               " - Percorso: " + cartella + "\n\nDurata:  0:02\n";
    EXPECT_EQ(e.out.rfind(inizio, 0), 0u) << e.out;
    EXPECT_EQ(e.out.find('\r'), std::string::npos);
    // One empty line between the two reports; the failed one ends with its remark.
    EXPECT_NE(e.out.find("Traccia 16 : (traccia non attiva)\n\nNome: b.mid\n"), std::string::npos);
    EXPECT_TRUE(e.out.ends_with("\n\nFile corrotto o impossibile da aprire\n")) << e.out;
}

TEST_F(Analyze, UscitaNonScrivibileDaUno) {
    const std::string buono = Scrivi("buono.mid", kFile38);
    for (const bool json : {false, true}) {
        // A stream without a buffer fails every write, as a full disk or a closed output.
        std::ostream rotto(nullptr);
        std::ostringstream err;
        const std::vector<std::string> argomenti =
            json ? std::vector<std::string>{"--json", buono} : std::vector<std::string>{buono};
        EXPECT_EQ(velmora::cli::Analyze(argomenti, rotto, err), 1);
        EXPECT_NE(err.str().find("errore di scrittura"), std::string::npos) << err.str();
    }
}

TEST_F(Analyze, ErroriDUso) {
    for (const std::vector<std::string>& argomenti :
         {std::vector<std::string>{}, {"--json"}, {"--xml", "a.mid"}, {"-j", "a.mid"}}) {
        const Esecuzione e = Esegui(argomenti);
        EXPECT_EQ(e.stato, 2);
        EXPECT_EQ(e.out, "");
        EXPECT_EQ(std::count(e.err.begin(), e.err.end(), '\n'), 1) << e.err;
    }
}

TEST_F(Analyze, AiutoEDoppioTrattino) {
    const Esecuzione aiuto = Esegui({"--json", "--help"});
    EXPECT_EQ(aiuto.stato, 0);
    EXPECT_EQ(aiuto.out.rfind("Uso: velmora-cli analyze [--json] FILE...", 0), 0u);

    const Esecuzione e = Esegui({"--json", "--", "--json"});
    EXPECT_EQ(e.stato, 1); // "--json" after "--" is a file, and it does not exist
    ASSERT_EQ(Righe(e.out).size(), 1u);
    EXPECT_EQ(Righe(e.out)[0]["file"], "--json");
}
