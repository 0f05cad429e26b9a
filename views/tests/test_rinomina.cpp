// Renames on a real temporary tree: within the folder, never over another entry,
// case-only changes, and names that are not names.
#include "rinomina.h"

#include "albero_temporaneo.h"
#include "piattaforma.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

using namespace std::string_view_literals;

namespace {

std::string Leggi(const std::string& percorso) {
    std::ifstream f(velmora::PercorsoDaUtf8(percorso), std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

bool Esiste(const std::string& percorso) {
    return std::filesystem::exists(velmora::PercorsoDaUtf8(percorso));
}

} // namespace

TEST(Rinomina, FileNellaSuaCartella) {
    prova::AlberoTemporaneo albero;
    albero.File("pop/song.mid", "uno"sv);
    EXPECT_TRUE(RinominaInCartella(albero.Percorso("pop"), "song.mid", "Nuovo.mid"));
    EXPECT_FALSE(Esiste(albero.Percorso("pop/song.mid")));
    EXPECT_EQ(Leggi(albero.Percorso("pop/Nuovo.mid")), "uno");
}

TEST(Rinomina, NonSostituisceMaiUnAltroFileOCartella) {
    prova::AlberoTemporaneo albero;
    albero.File("pop/a.mid", "A"sv);
    albero.File("pop/b.mid", "B"sv);
    albero.Cartella("rock");
    albero.Cartella("jazz");
    EXPECT_FALSE(RinominaInCartella(albero.Percorso("pop"), "a.mid", "b.mid"));
    EXPECT_EQ(Leggi(albero.Percorso("pop/a.mid")), "A");
    EXPECT_EQ(Leggi(albero.Percorso("pop/b.mid")), "B");
    // An empty folder is not replaced either.
    EXPECT_FALSE(RinominaInCartella(albero.Percorso(), "rock", "jazz"));
    EXPECT_TRUE(Esiste(albero.Percorso("rock")));
}

TEST(Rinomina, SoloMaiuscoleEMinuscole) {
    prova::AlberoTemporaneo albero;
    albero.File("pop/SONG.MID", "S"sv);
    EXPECT_TRUE(RinominaInCartella(albero.Percorso("pop"), "SONG.MID", "SONG.mid"));
    EXPECT_EQ(Leggi(albero.Percorso("pop/SONG.mid")), "S");
}

TEST(Rinomina, CartellaConIlSuoContenuto) {
    prova::AlberoTemporaneo albero;
    albero.File("Midi/Pop/x.mid", "X"sv);
    EXPECT_TRUE(RinominaInCartella(albero.Percorso("Midi"), "Pop", "Rock"));
    EXPECT_EQ(Leggi(albero.Percorso("Midi/Rock/x.mid")), "X");
}

TEST(Rinomina, NomiCheNonSonoNomi) {
    prova::AlberoTemporaneo albero;
    albero.File("pop/a.mid", "A"sv);
    albero.Cartella("altrove");
    for (const char* nome : {"", ".", "..", "../altrove/a.mid", "sotto/a.mid"}) {
        EXPECT_FALSE(ControllaNome(nome)) << nome;
        EXPECT_FALSE(RinominaInCartella(albero.Percorso("pop"), "a.mid", nome)) << nome;
    }
    EXPECT_EQ(Leggi(albero.Percorso("pop/a.mid")), "A");
    EXPECT_TRUE(ControllaNome(".mid"));
    EXPECT_TRUE(ControllaNome("a..b"));
}

TEST(Rinomina, IlRifiutoDiceIlPerche) {
    prova::AlberoTemporaneo albero;
    albero.File("pop/a.mid", "A"sv);
    albero.File("pop/b.mid", "B"sv);
    albero.Cartella("pop/rock");
    const std::string pop = albero.Percorso("pop");
    EXPECT_EQ(RinominaInCartella(pop, "a.mid", "b.mid").errore,
              "Impossibile rinominare: esiste già un file con questo nome");
    EXPECT_EQ(RinominaInCartella(pop, "a.mid", "rock").errore,
              "Impossibile rinominare: esiste già una cartella con questo nome");
    EXPECT_EQ(RinominaInCartella(pop, "via.mid", "c.mid").errore,
              "Impossibile rinominare: non esiste più");
    EXPECT_EQ(ControllaNome("").errore, "Impossibile rinominare: il nome è vuoto");
    EXPECT_EQ(ControllaNome("su/giu").errore,
              "Impossibile rinominare: il nome non può contenere separatori di cartella");
#ifndef _WIN32
    // A leading "." would hide the file from every later scan.
    EXPECT_EQ(RinominaInCartella(pop, "a.mid", ".a.mid").errore,
              "Impossibile rinominare: un nome che inizia con \".\" sarebbe nascosto");
    EXPECT_FALSE(RinominaInCartella(albero.Percorso(), "pop", ".pop"));
#endif
    EXPECT_EQ(Leggi(albero.Percorso("pop/a.mid")), "A");
}

TEST(Rinomina, CartellaEsistentePiuVicina) {
    prova::AlberoTemporaneo albero;
    albero.Cartella("a/b");
    EXPECT_EQ(CartellaEsistente(albero.Percorso("a/b")), albero.Percorso("a/b"));
    EXPECT_EQ(CartellaEsistente(albero.Percorso("a/b/via/ancora")), albero.Percorso("a/b"));
}

TEST(Rinomina, FileScomparso) {
    prova::AlberoTemporaneo albero;
    albero.Cartella("pop");
    EXPECT_FALSE(RinominaInCartella(albero.Percorso("pop"), "via.mid", "nuovo.mid"));
    EXPECT_FALSE(RinominaInCartella(albero.Percorso("manca"), "via.mid", "nuovo.mid"));
}

TEST(Rinomina, IlCatalogoSegueLaCartellaRinominata) {
    // Folders with this system's separator, as the scan stores them.
    const auto n = [](std::string percorso) {
        std::replace(percorso.begin(), percorso.end(), '/', velmora::Separatore());
        return percorso;
    };
    dati d;
    const auto aggiungi = [&d, &n](const std::string& percorso, const std::string& nome) {
        d.Aggiungi(velmora::NomeCartella(n(percorso)), nome, n(percorso), 10, 100, "4/4", 120, 1,
                   "", "1", "");
    };
    aggiungi("/midi/pop", "a.mid");
    aggiungi("/midi/pop/lenti", "b.mid");
    aggiungi("/altro/pop", "c.mid");
    aggiungi("/midi/popolare", "d.mid");
    aggiungi("/midi/pop", "e.mid");
    CartellaRinominata(d, n("/midi/pop"), n("/midi/rock"));
    std::vector<std::string> visti;
    d.Primo();
    for (int i = 0; i < d.NumeroFile(); ++i, d.Prossimo()) {
        visti.push_back(d.Directory() + " " + d.Percorso());
    }
    EXPECT_EQ(visti,
              (std::vector<std::string>{"rock " + n("/midi/rock"), "lenti " + n("/midi/rock/lenti"),
                                        "pop " + n("/altro/pop"), "popolare " + n("/midi/popolare"),
                                        "rock " + n("/midi/rock")}));
}
