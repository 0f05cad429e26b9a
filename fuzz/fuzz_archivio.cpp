// Fuzz entry: a stored catalogue damaged as the input says, opened and used as a scan
// and a search use it. The input's first three bytes give an offset into a sound
// database made once at start, the fourth byte 0xFF cuts the file there, and the rest
// is XORed onto its bytes from there. Whatever the damage, nothing may crash, and a
// database that fails must say why.
#include "archivio.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

void Verifica(bool condizione) {
    if (!condizione) {
        __builtin_trap();
    }
}

// The fuzzer's own folder, removed when it ends.
const fs::path& Cartella() {
    static const struct Temporanea {
        fs::path c = fs::temp_directory_path() / ("velmora_fuzz_" + std::to_string(getpid()));
        Temporanea() { fs::create_directories(c); }
        ~Temporanea() {
            std::error_code ec;
            fs::remove_all(c, ec);
        }
    } cartella;
    return cartella.c;
}

velmora::archivio::FileLetto Letto(std::string nome, std::int32_t durata) {
    velmora::archivio::FileLetto f;
    f.nome = std::move(nome);
    f.dimensione = 100;
    f.modifica = 1;
    f.letto = 10'000'000'000;
    f.analisi.analizzato = true;
    f.analisi.durata = durata;
    f.analisi.tempo = "4/4";
    f.analisi.testo = "Midi Karaoke File";
    f.analisi.testoCompleto = "la citt\xC3\xA0 di notte";
    f.analisi.hashByte = 7;
    return f;
}

// The bytes of a database holding a few files.
const std::string& Sano() {
    static const std::string byte = [] {
        const fs::path p = Cartella() / "sano.sqlite";
        {
            velmora::archivio::Archivio a(p.string(), 0);
            a.Scrivi("/musica", std::vector{Letto("a.mid", 1), Letto("b.mid", 2)}, {});
            a.Scrivi("/musica/sotto", std::vector{Letto("c.mid", 3)}, {});
        }
        std::ifstream f(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }();
    return byte;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
    std::string db = Sano();
    if (dimensione >= 4) {
        const std::size_t da = ((dati[0] << 16) | (dati[1] << 8) | dati[2]) % db.size();
        if (dati[3] == 0xFF) {
            db.resize(da);
        }
        for (std::size_t i = 4; i < dimensione && da + i - 4 < db.size(); ++i) {
            db[da + i - 4] = static_cast<char>(db[da + i - 4] ^ dati[i]);
        }
    }
    const fs::path p = Cartella() / "catalogo.sqlite";
    for (const char* via :
         {"catalogo.sqlite-wal", "catalogo.sqlite-shm", "catalogo.sqlite.danneggiato"}) {
        fs::remove(Cartella() / via);
    }
    std::ofstream(p, std::ios::binary | std::ios::trunc) << db;

    velmora::archivio::Archivio a(p.string(), 0);
    const auto voci = a.Cartella("/musica");
    for (const velmora::archivio::VoceSalvata& v : voci) {
        Verifica(v.analisi.analizzato);
    }
    a.TogliSparite("/musica");
    a.Cerca("citta notte");
    a.IdTrovati("citta");
    a.Indicizza();
    a.Scrivi("/musica", std::vector{Letto("d.mid", 4)}, {});
    a.RinominaCartella("/musica", "/brani");
    Verifica(a.Disponibile() || !a.Avviso().empty());
    return 0;
}
