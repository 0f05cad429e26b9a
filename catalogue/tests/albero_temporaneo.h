// A folder tree made for one test in a temporary folder, with paths as UTF-8 text.
#pragma once

#include "aiuti.h"
#include "piattaforma.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace prova {

class AlberoTemporaneo {
public:
    // The full path of a folder or file given relative to the tree's root ("" for the
    // root itself).
    std::string Percorso(std::string_view relativo = "") const {
        return velmora::Utf8DaPercorso(relativo.empty()
                                           ? radice.Percorso()
                                           : radice.Percorso() / velmora::PercorsoDaUtf8(relativo));
    }
    void Cartella(std::string_view relativo) const {
        std::filesystem::create_directories(velmora::PercorsoDaUtf8(Percorso(relativo)));
    }
    // Writes a file, making its folders first.
    void File(std::string_view relativo, std::string_view contenuto = "") const {
        const auto p = velmora::PercorsoDaUtf8(Percorso(relativo));
        std::filesystem::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << contenuto;
    }
    void File(std::string_view relativo, const Bytes& byte) const {
        File(relativo, std::string_view(reinterpret_cast<const char*>(byte.data()), byte.size()));
    }
    // A symbolic link named relativo pointing at destinazione (a full path).
    void Collegamento(std::string_view relativo, std::string_view destinazione) const {
        std::filesystem::create_symlink(velmora::PercorsoDaUtf8(destinazione),
                                        velmora::PercorsoDaUtf8(Percorso(relativo)));
    }

private:
    CartellaTemporanea radice;
};

} // namespace prova
