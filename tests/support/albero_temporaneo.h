// A folder tree made for one test in a temporary folder, with paths as UTF-8 text.
#pragma once

#include "cartella_temporanea.h"
#include "costruttore_midi.h"
#include "piattaforma.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace prova {

class AlberoTemporaneo {
public:
    AlberoTemporaneo() = default;
    AlberoTemporaneo(const AlberoTemporaneo&) = delete;
    AlberoTemporaneo& operator=(const AlberoTemporaneo&) = delete;
    ~AlberoTemporaneo() { TogliCatena(); }

    // The full path of a folder or file given relative to the tree's root ("" for the
    // root itself).
    // Relative paths are written with "/"; the result has this system's separators.
    std::string Percorso(std::string_view relativo = "") const {
        return velmora::Utf8DaPercorso(
            relativo.empty()
                ? radice.Percorso()
                : (radice.Percorso() / velmora::PercorsoDaUtf8(relativo)).make_preferred());
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
    // A symbolic link named relativo pointing at destinazione (a full path). False where
    // links cannot be made: Windows without the privilege, and Wine.
    bool Collegamento(std::string_view relativo, std::string_view destinazione) const {
        std::error_code ec;
        std::filesystem::create_symlink(velmora::PercorsoDaUtf8(destinazione),
                                        velmora::PercorsoDaUtf8(Percorso(relativo)), ec);
#ifndef _WIN32
        if (ec) {
            throw std::filesystem::filesystem_error("create_symlink", ec);
        }
#endif
        return !ec;
    }
    // True when the file system keeps "A" and "a" apart (Windows does not).
    bool MaiuscoleDistinte() const {
        File(".maiuscole/a");
        const bool distinte =
            !std::filesystem::exists(velmora::PercorsoDaUtf8(Percorso(".maiuscole/A")));
        std::filesystem::remove_all(velmora::PercorsoDaUtf8(Percorso(".maiuscole")));
        return distinte;
    }
    // Makes an entry hidden: a name starting with "." is hidden by itself here, while
    // Windows needs the attribute.
    void Nascondi([[maybe_unused]] std::string_view relativo) const {
#ifdef _WIN32
        const auto p = velmora::PercorsoDaUtf8(Percorso(relativo));
        SetFileAttributesW(p.c_str(), GetFileAttributesW(p.c_str()) | FILE_ATTRIBUTE_HIDDEN);
#endif
    }

    // Takes every permission away from a folder. False, with the permissions given
    // back, when this user reads it all the same (as an administrator does).
    bool Illeggibile(std::string_view relativo) const {
        const auto p = velmora::PercorsoDaUtf8(Percorso(relativo));
        std::filesystem::permissions(p, std::filesystem::perms::none);
        std::error_code ec;
        std::filesystem::directory_iterator prova(p, ec);
        if (!ec) {
            Leggibile(relativo);
        }
        return static_cast<bool>(ec);
    }
    void Leggibile(std::string_view relativo) const {
        std::filesystem::permissions(velmora::PercorsoDaUtf8(Percorso(relativo)),
                                     std::filesystem::perms::owner_all);
    }

#ifndef _WIN32
    // Nested folders of 200-byte names below relativo, each holding f.mid, down to the
    // first one whose full path is longer than the system takes (4096 bytes), made
    // through relative paths. Returns that folder's full path.
    std::string OltreIlLimite(std::string_view relativo) {
        Cartella(relativo);
        catena = Percorso(relativo);
        const std::filesystem::path lavoro = std::filesystem::current_path();
        std::filesystem::current_path(velmora::PercorsoDaUtf8(catena));
        std::string percorso = catena;
        while (percorso.size() <= 4096) {
            std::filesystem::create_directory(nomeLungo);
            std::filesystem::current_path(nomeLungo);
            std::ofstream("f.mid") << "x";
            percorso += "/" + nomeLungo;
            ++livelli;
        }
        std::filesystem::current_path(lavoro);
        return percorso;
    }
#endif

private:
    // The chain of OltreIlLimite() is removed a level at a time, from the bottom, with
    // relative paths: remove_all cannot reach below the limit.
    void TogliCatena() {
        if (livelli == 0) {
            return;
        }
        const std::filesystem::path lavoro = std::filesystem::current_path();
        std::filesystem::current_path(velmora::PercorsoDaUtf8(catena));
        for (int i = 1; i < livelli; ++i) {
            std::filesystem::current_path(nomeLungo);
        }
        for (int i = livelli; i > 0; --i) {
            std::filesystem::remove_all(nomeLungo);
            std::filesystem::current_path("..");
        }
        std::filesystem::current_path(lavoro);
    }

    CartellaTemporanea radice;
    const std::string nomeLungo = std::string(200, 'c');
    std::string catena; // where OltreIlLimite() started
    int livelli = 0;
};

} // namespace prova
