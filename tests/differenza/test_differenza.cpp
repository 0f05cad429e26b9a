// The one event walk against the readers it replaces, result by result: every result
// of the analysis (the hash and the fingerprint too) and every event of the player's
// timeline, on the real corpus and on thousands of deterministic mutations of it and of
// byte-built files. Test only, kept while both walks exist.
#include "costruttore_midi.h"
#include "midi.h"
#include "mutazioni.h"
#include "riferimento_midi.h"
#include "sequenza.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace velmora::riferimento {
Sequenza LeggiSequenzaRiferimento(std::span<const std::uint8_t> file);
}

namespace {

using namespace prova;
namespace fs = std::filesystem;

// VELMORA_MUTAZIONI multiplies the mutations, for a longer run by hand.
int Scala() {
    const char* scala = std::getenv("VELMORA_MUTAZIONI");
    return scala == nullptr ? 1 : std::max(1, std::atoi(scala));
}

template <typename M> std::string Risultati(const M& m) {
    std::string r = std::to_string(m.Stato()) + "|" + std::to_string(m.DurataSecondi()) + "|" +
                    std::to_string(m.DimensioneFile()) + "|" + std::to_string(m.BattuteMedie()) +
                    "|" + std::to_string(m.ContaTracce()) + "|" + std::to_string(m.TracceUsate()) +
                    "|" + m.TempoIniziale() + "|" + m.TipoMidi() + "|" + m.TipoTesto() + "|" +
                    m.TestoCopyright() + "|" + m.TestoCompleto() + "|";
    for (std::int32_t i = 0; i < m.ContaTracce(); ++i) {
        r += m.NomeTraccia(i) + "," + std::to_string(m.TracciaAttiva(i)) + "," + m.Strumento(i) +
             ";";
    }
    r += "|" + (m.HashByte() ? std::to_string(*m.HashByte()) : "-");
    r += "|" + (m.ImprontaMusicale() ? std::to_string(*m.ImprontaMusicale()) : "-");
    return r;
}

std::string Risultati(const velmora::Sequenza& s) {
    // The events as their bytes, hashed: cheap enough for thousands of long files.
    std::vector<std::uint8_t> byte(s.eventi.size() * 11);
    for (std::size_t i = 0; i < s.eventi.size(); ++i) {
        const velmora::EventoMidi& e = s.eventi[i];
        std::memcpy(&byte[i * 11], &e.secondi, 8);
        byte[i * 11 + 8] = e.stato;
        byte[i * 11 + 9] = e.dato1;
        byte[i * 11 + 10] = e.dato2;
    }
    char riga[64];
    std::snprintf(riga, sizeof riga, " %.17g", s.durata);
    return std::to_string(s.eventi.size()) + (s.danneggiata ? " d " : " ") +
           std::to_string(velmora::Hash64(byte)) + riga;
}

// True when both walks agree; a disagreement is written out for a closer look.
bool Uguali(const Bytes& file, const std::string& nome) {
    Midi nuovo("memoria.mid");
    nuovo.Analizza(file);
    MidiRiferimento vecchio("memoria.mid");
    vecchio.Analizza(file);
    const std::string rn = Risultati(nuovo);
    const std::string rv = Risultati(vecchio);
    const std::string sn = Risultati(velmora::LeggiSequenza(file));
    const std::string sv = Risultati(velmora::riferimento::LeggiSequenzaRiferimento(file));
    EXPECT_EQ(rn, rv) << nome;
    EXPECT_EQ(sn, sv) << nome;
    if (rn != rv || sn != sv) {
        ScriviFile(fs::temp_directory_path() / ("differenza_" + nome + ".mid"), file);
        return false;
    }
    return true;
}

TEST(Differenza, FileCostruitiEMutati) {
    int casi = 0;
    int diversi = 0;
    const std::vector<Bytes> semi = Semi();
    for (std::size_t s = 0; s < semi.size(); ++s) {
        Generatore g{s};
        diversi += Uguali(semi[s], "seme" + std::to_string(s)) ? 0 : 1;
        for (int k = 0; k < 400 * Scala() && diversi < 5; ++k, ++casi) {
            diversi +=
                Uguali(Muta(semi[s], g), std::to_string(s) + "_" + std::to_string(k)) ? 0 : 1;
        }
    }
    EXPECT_GE(casi, 3200);
}

TEST(Differenza, CorpusEMutazioni) {
    const fs::path cartella(VELMORA_CORPUS);
    if (!fs::is_directory(cartella)) {
        GTEST_SKIP() << "corpus assente: " << cartella;
    }
    std::vector<fs::path> file;
    for (const auto& voce : fs::recursive_directory_iterator(cartella)) {
        if (voce.is_regular_file() && voce.path().extension() == ".mid") {
            file.push_back(voce.path());
        }
    }
    std::sort(file.begin(), file.end());
    int diversi = 0;
    for (std::size_t f = 0; f < file.size() && diversi < 5; ++f) {
        std::ifstream in(file[f], std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(in)), {});
        Generatore g{1000 + f};
        diversi += Uguali(bytes, "corpus" + std::to_string(f)) ? 0 : 1;
        for (int k = 0; k < 8 * Scala(); ++k) {
            diversi +=
                Uguali(Muta(bytes, g), "corpus" + std::to_string(f) + "_" + std::to_string(k)) ? 0
                                                                                               : 1;
        }
    }
}

} // namespace
