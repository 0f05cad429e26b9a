#include "dati.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// Appends an entry as a detailed scan does: a duration of 0 is counted as corrupt.
void Aggiungi(dati& d, const std::string& dir, const std::string& nome, const std::string& perc,
              std::int32_t durata, std::int32_t byte, const std::string& testo = "") {
    if (durata == 0) {
        d.ContaCorrotto();
    }
    d.Aggiungi(dir, nome, perc, durata, byte, "4/4", 120, 3, "(c)", "1", testo);
}

std::vector<std::string> Nomi(dati& d, void (dati::*primo)(), void (dati::*prossimo)(),
                              std::int32_t quanti) {
    std::vector<std::string> nomi;
    (d.*primo)();
    for (std::int32_t i = 0; i < quanti; ++i) {
        nomi.push_back(d.Nome());
        (d.*prossimo)();
    }
    EXPECT_EQ(d.Corrente(), nullptr) << "the walk must end past the last match";
    return nomi;
}

} // namespace

TEST(Dati, EmptyCatalogue) {
    dati d;
    d.Primo();
    EXPECT_EQ(d.Corrente(), nullptr);
    EXPECT_EQ(d.NumeroFile(), 0);
    EXPECT_EQ(d.TotaleByte(), 0);
    EXPECT_EQ(d.MaxPercorso(), 0);
    d.PrimoConTesto();
    EXPECT_EQ(d.Corrente(), nullptr);
    d.PrimoCorrotto();
    EXPECT_EQ(d.Corrente(), nullptr);
}

TEST(Dati, CountsTotalsAndThreeFilters) {
    dati d;
    Aggiungi(d, "pop", "a.mid", "/m/pop", 100, 1000, "Midi con testo");
    // A file whose analysis failed: its "?" is no text.
    d.ContaCorrotto();
    d.Aggiungi("pop", "b.mid", "/m/pop", 0, 0, "?/?", 0, 0, "?", "?", "?");
    Aggiungi(d, "pop", "c.mid", "/m/pop", 50, 2000);
    Aggiungi(d, "lenti", "d.mid", "/m/pop/lenti", 0, 300);
    Aggiungi(d, "lenti", "e.mid", "/m/pop/lenti", 0, 300, "Midi con testo"); // no notes
    EXPECT_EQ(d.NumeroFile(), 5);
    EXPECT_EQ(d.NumeroConTesto(), 2);
    EXPECT_EQ(d.NumeroCorrotti(), 3);
    EXPECT_EQ(d.TotaleByte(), 3600);
    EXPECT_EQ(Nomi(d, &dati::Primo, &dati::Prossimo, d.NumeroFile()),
              (std::vector<std::string>{"a.mid", "b.mid", "c.mid", "d.mid", "e.mid"}));
    EXPECT_EQ(Nomi(d, &dati::PrimoConTesto, &dati::ProssimoConTesto, d.NumeroConTesto()),
              (std::vector<std::string>{"a.mid", "e.mid"}));
    EXPECT_EQ(Nomi(d, &dati::PrimoCorrotto, &dati::ProssimoCorrotto, d.NumeroCorrotti()),
              (std::vector<std::string>{"b.mid", "d.mid", "e.mid"}));
}

TEST(Dati, ReadersFormatTheCurrentEntry) {
    dati d;
    d.Aggiungi("pop", "Estate.mid", "D:\\midi\\pop", 205, 45678, "4/4", 120, 9, "Ed. 1997", "1",
               "Midi con testo");
    d.Primo();
    EXPECT_EQ(d.Durata(), " 3:25");
    EXPECT_EQ(d.Lunghezza(), "45.678");
    EXPECT_EQ(d.LunghezzaByte(), 45678);
    EXPECT_EQ(d.Bpm(), "120");
    EXPECT_EQ(d.Tracce(), "9");
    EXPECT_EQ(d.Tempo(), "4/4");
    EXPECT_EQ(d.Copyright(), "Ed. 1997");
    EXPECT_EQ(d.Tipo(), "1");
    EXPECT_EQ(d.Testo(), "Midi con testo");
    EXPECT_EQ(d.Percorso(), "D:\\midi\\pop");
    EXPECT_EQ(d.Directory(), "pop");
}

TEST(Dati, AnalysisTextsAreDecodedAndLengthsCountCharacters) {
    dati d;
    // Windows-1252 bytes from a MIDI file; UTF-8 names from the file system.
    d.Aggiungi("citt\xC3\xA0", "perch\xC3\xA9.mid", "/m/citt\xC3\xA0", 3, 10, "4/4", 0, 0,
               "\xA9 Rai", "1", "Canzone d'\xE8poca");
    d.Primo();
    EXPECT_EQ(d.Copyright(), "\xC2\xA9 Rai");
    EXPECT_EQ(d.Testo(), "Canzone d'\xC3\xA8poca");
    EXPECT_EQ(d.MaxNome(), 10);
    EXPECT_EQ(d.MaxDirectory(), 5);
    EXPECT_EQ(d.MaxPercorso(), 8);
}

TEST(Dati, EntryWithoutAnalysisLeavesTextAndBytesUnchanged) {
    dati d;
    d.Aggiungi("pop", "a.mid", "/m/pop", 0, 0, "", 0, 0, "", "", "");
    EXPECT_EQ(d.NumeroConTesto(), 0);
    EXPECT_EQ(d.TotaleByte(), 0);
    EXPECT_EQ(d.NumeroCorrotti(), 0);
    d.PrimoCorrotto();
    ASSERT_NE(d.Corrente(), nullptr) << "a zero duration is corrupt for the filter";
}

TEST(Dati, EmptyingKeepsOnlyTheLongestPath) {
    dati d;
    Aggiungi(d, "profonda", "lungo_nome.mid", "/a/b/c/d/profonda", 10, 5, "x");
    d.Svuota();
    EXPECT_EQ(d.NumeroFile(), 0);
    EXPECT_EQ(d.NumeroConTesto(), 0);
    EXPECT_EQ(d.NumeroCorrotti(), 0);
    EXPECT_EQ(d.TotaleByte(), 0);
    EXPECT_EQ(d.MaxNome(), 0);
    EXPECT_EQ(d.MaxDirectory(), 0);
    EXPECT_EQ(d.MaxPercorso(), 17);
    Aggiungi(d, "m", "x.mid", "/m", 10, 5);
    EXPECT_EQ(d.MaxPercorso(), 17);
    d.Primo();
    EXPECT_EQ(d.Nome(), "x.mid");
}

TEST(Dati, RenamingWidensNameFolderAndPath) {
    dati d;
    Aggiungi(d, "pop", "a.mid", "/m/pop", 10, 5);
    d.Primo();
    d.CambiaNome("molto_lungo.mid");
    d.CambiaDirectory("rockabilly");
    d.CambiaPercorso("/m/rockabilly/altro");
    EXPECT_EQ(d.MaxNome(), 15);
    EXPECT_EQ(d.MaxDirectory(), 10);
    EXPECT_EQ(d.MaxPercorso(), 19);
    EXPECT_EQ(d.Nome(), "molto_lungo.mid");
    EXPECT_EQ(d.Percorso(), "/m/rockabilly/altro");
}

TEST(Dati, TotalBytesDoNotWrapPastTwoGigabytes) {
    dati d;
    for (int i = 0; i < 3; ++i) {
        Aggiungi(d, "m", "a.mid", "/m", 10, 2000000000);
    }
    EXPECT_EQ(d.TotaleByte(), 6000000000);
}

TEST(Dati, ManyEntriesAreDestroyedWithoutDeepRecursion) {
    dati d;
    for (int i = 0; i < 200000; ++i) {
        d.Aggiungi("m", "a.mid", "/m", 1, 1, "", 0, 0, "", "", "");
    }
    EXPECT_EQ(d.NumeroFile(), 200000);
    d.Svuota();
    EXPECT_EQ(d.NumeroFile(), 0);
}
