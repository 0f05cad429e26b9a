// The main of every GoogleTest program: each test process gets a stored catalogue of
// its own, in a temporary folder removed at the end, so that no test ever reads or
// writes the user's.
#include "cartella_temporanea.h"

#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    const prova::CartellaTemporanea cartella;
    const std::filesystem::path db = cartella.Percorso() / "catalogo.sqlite";
#ifdef _WIN32
    _wputenv_s(L"VELMORA_DB", db.c_str());
#else
    setenv("VELMORA_DB", db.c_str(), 1);
#endif
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
