// Loading and the header check.
#include "aiuti.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace prova;
namespace fs = std::filesystem;

namespace {

class CartellaProva : public ::testing::Test {
protected:
    CartellaTemporanea temporanea;
    const fs::path& cartella = temporanea.Percorso();
};

} // namespace

TEST(Intestazione, FileVuotoNonEMidi) {
    const Midi m = Analizzato({});
    AttendiFallimento(m, 1);
}

TEST(Intestazione, FirmaOLunghezzaErrateNonLeggonoIlFormato) {
    Bytes firma = kFile38;
    firma[3] = 'D';
    Bytes lunghezza8 = kFile38;
    lunghezza8[7] = 8;
    for (const Bytes& b : {firma, lunghezza8}) {
        AttendiFallimento(Analizzato(b), 1);
    }
}

TEST(Intestazione, FormatoFuoriIntervallo) {
    Bytes b = kFile38;
    b[9] = 3;
    AttendiFallimento(Analizzato(b), 1);
}

TEST(Intestazione, FileTroncatoDentroLIntestazioneOLeTracce) {
    for (std::size_t n : {std::size_t{3}, std::size_t{10}, std::size_t{13}, std::size_t{20},
                          std::size_t{30}, kFile38.size() - 1}) {
        SCOPED_TRACE(n);
        AttendiFallimento(Analizzato(Bytes(kFile38.begin(), kFile38.begin() + n)), 1);
    }
}

TEST(Intestazione, NessunaTracciaDichiarata) {
    const Midi m1 = Analizzato(Intestazione(1, 0, 480));
    EXPECT_EQ(m1.Stato(), 0u);
    EXPECT_EQ(m1.DurataSecondi(), 0u);
    EXPECT_EQ(m1.ContaTracce(), 0);
    EXPECT_EQ(m1.DimensioneFile(), 14u);
    // A format-0 file always has its 17 rows.
    const Midi m0 = Analizzato(Intestazione(0, 0, 480));
    EXPECT_EQ(m0.Stato(), 0u);
    EXPECT_EQ(m0.ContaTracce(), 17);
    EXPECT_EQ(m0.TracceUsate(), 0);
}

TEST(Intestazione, DivisioneZeroFallisceAlCalcoloDellaDurata) {
    Bytes b = kFile38;
    b[12] = b[13] = 0;
    AttendiFallimento(Analizzato(b), 2);
}

TEST(Intestazione, DivisioneConIlBitAltoUsataComeTickPerQuarto) {
    // 0x8000 ticks per quarter at 500 ms: a note ending at tick 0x10000 lasts 1 second.
    const Midi m = Analizzato(File(1, 0x8000, {Unisci({Nota(0, 0x10000), FineTraccia()})}));
    EXPECT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.DurataSecondi(), 1u);
}

TEST_F(CartellaProva, AnalizzaLeggeIlFileDaDisco) {
    // A non-ASCII name: the path is UTF-8 text.
    const fs::path percorso = cartella / fs::path(u8"città.mid");
    ScriviFile(percorso, kFile38);
    Midi m(reinterpret_cast<const char*>(percorso.u8string().c_str()));
    m.Analizza();
    EXPECT_EQ(m.Stato(), 0u);
    EXPECT_EQ(m.DimensioneFile(), 38u);
    EXPECT_EQ(m.DurataSecondi(), 2u);
}

TEST_F(CartellaProva, FileIllegibileDaStato2) {
    Midi assente((cartella / "assente.mid").string());
    assente.Analizza();
    AttendiFallimento(assente, 2);
    Midi cartellaComeFile(cartella.string());
    cartellaComeFile.Analizza();
    AttendiFallimento(cartellaComeFile, 2);
}

TEST_F(CartellaProva, FileVuotoSuDisco) {
    const fs::path percorso = cartella / "vuoto.mid";
    ScriviFile(percorso, {});
    Midi m(percorso.string());
    m.Analizza();
    AttendiFallimento(m, 1);
}
