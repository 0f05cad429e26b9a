// velmora-cli over the parallel scan: the same list for any number of threads, folders
// it cannot read reported, a FIFO under a MIDI name analysed without hanging.
#include "comandi.h"

#include "albero_temporaneo.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

struct Esecuzione {
    int stato;
    std::string out;
    std::string err;
};

Esecuzione Lista(const std::vector<std::string>& argomenti, const char* fili = nullptr) {
#ifdef _WIN32
    _putenv_s("VELMORA_THREADS", fili ? fili : "");
#else
    fili ? setenv("VELMORA_THREADS", fili, 1) : unsetenv("VELMORA_THREADS");
#endif
    std::ostringstream out;
    std::ostringstream err;
    const int stato = velmora::cli::Lista(argomenti, out, err);
    return {stato, out.str(), err.str()};
}

} // namespace

TEST(ListaParallela, TheCorpusListIsTheSameByteForByteForAnyNumberOfThreads) {
    if (!std::filesystem::is_directory(VELMORA_CORPUS)) {
        GTEST_SKIP() << "no corpus at " << VELMORA_CORPUS;
    }
    for (const char* modo : {"A", "B"}) {
        const std::vector<std::string> argomenti{VELMORA_CORPUS, "--mode", modo, "--date",
                                                 "5/3/1999"};
        const Esecuzione seriale = Lista(argomenti, "1");
        EXPECT_EQ(seriale.stato, 0) << seriale.err;
        EXPECT_GT(seriale.out.size(), 1000u);
        EXPECT_EQ(Lista(argomenti, "8").out, seriale.out);
        EXPECT_EQ(Lista(argomenti).out, seriale.out);
    }
}

TEST(ListaParallela, AFolderBeyondThePathLimitIsNamedOnStandardErrorWithStatusOne) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows' own path limit is tested by "
                    "ListaCartelle.AFolderTooLongForWindowsToListCannotBeOpened";
#else
    prova::AlberoTemporaneo t;
    t.File("M/m.mid");
    const std::string oltre = t.OltreIlLimite("M/L");
    const Esecuzione e = Lista({t.Percorso("M"), "--mode", "A"});
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.err, "velmora-cli list: cartella non letta, esclusa dall'elenco: " + oltre + "\n");
    // The list is written all the same, with what could be read.
    EXPECT_NE(e.out.find("Numero totale midi: "), std::string::npos);
    EXPECT_EQ(e.out.find("Numero totale midi: 0"), std::string::npos);
#endif
}

TEST(ListaParallela, AnalyzeOfAFifoNamedMidFailsInsteadOfWaiting) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows has no FIFOs in its file system";
#else
    prova::AlberoTemporaneo t;
    t.Cartella("");
    const std::string fifo = t.Percorso("x.mid");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(velmora::cli::Analyze(std::vector<std::string>{"--json", fifo}, out, err), 1);
    EXPECT_NE(out.str().find("\"stato\":2"), std::string::npos) << out.str();
#endif
}
