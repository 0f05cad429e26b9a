// The duplicates of one file as report runs.
#include "rapporto_doppioni.h"

#include "doppioni.h"

#include <gtest/gtest.h>

namespace {

void Aggiungi(dati& catalogo, const std::string& nome, const std::string& percorso,
              std::uint64_t hash, std::uint64_t impronta) {
    catalogo.Aggiungi("d", nome, percorso, 10, 100, "4/4", 120, 1, "", "1", "");
    catalogo.Ultimo()->hashByte = hash;
    catalogo.Ultimo()->impronta = impronta;
}

TEST(RapportoDoppioni, GliAltriFileConLeLoroCartelle) {
    dati catalogo;
    Aggiungi(catalogo, "a.mid", "/m", 1, 7);
    Aggiungi(catalogo, "copia.mid", "/m/x", 1, 7);
    Aggiungi(catalogo, "risalvato.mid", "/m/y", 2, 7);
    Aggiungi(catalogo, "altro.mid", "/m", 3, 8);
    const dati::elemento* a = catalogo.PrimoElemento();
    EXPECT_EQ(RapportoDoppioni(catalogo, *a),
              (Rapporto{{"Doppioni di: ", 1},
                        {"a.mid\r\n", 0},
                        {"Percorso: ", 1},
                        {"/m\r\n\r\n", 0},
                        {"Stessa musica:\r\n", 1},
                        {"copia.mid", 0},
                        {" - /m/x\r\n", 2},
                        {"risalvato.mid", 0},
                        {" - /m/y\r\n", 2},
                        {"\r\n", 0},
                        {"File identici:\r\n", 1},
                        {"copia.mid", 0},
                        {" - /m/x\r\n", 2},
                        {"\r\n", 0},
                        {std::string(kSignificatoStessaMusica), 2}}));
    const dati::elemento* altro = a->successivo->successivo->successivo;
    EXPECT_EQ(TestoRapporto(RapportoDoppioni(catalogo, *altro)),
              "Doppioni di: altro.mid\r\nPercorso: /m\r\n\r\n"
              "Nessun altro file del catalogo è identico o ha la stessa musica.\r\n\r\n" +
                  std::string(kSignificatoStessaMusica));
}

} // namespace
