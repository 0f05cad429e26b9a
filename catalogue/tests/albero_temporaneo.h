// A folder tree made for one test under the system's temporary folder, removed
// when the test ends.
#pragma once

#include "piattaforma.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <string_view>

namespace prova {

class AlberoTemporaneo {
public:
    AlberoTemporaneo() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        radice = std::filesystem::temp_directory_path() /
                 ("velmora_" + std::string(info->test_suite_name()) + "_" + info->name() + "_" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
        Rimuovi();
        std::filesystem::create_directories(radice);
    }
    ~AlberoTemporaneo() { Rimuovi(); }
    AlberoTemporaneo(const AlberoTemporaneo&) = delete;
    AlberoTemporaneo& operator=(const AlberoTemporaneo&) = delete;

    // The full path, UTF-8, of a folder or file given relative to the tree's root
    // ("" for the root itself).
    std::string Percorso(std::string_view relativo = "") const {
        return velmora::Utf8DaPercorso(
            relativo.empty() ? radice : radice / velmora::PercorsoDaUtf8(relativo));
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
    template <typename Byte> void File(std::string_view relativo, const Byte& byte) const {
        File(relativo, std::string_view(reinterpret_cast<const char*>(byte.data()), byte.size()));
    }
    // A symbolic link named relativo pointing at destinazione (taken as written).
    void Collegamento(std::string_view relativo, std::string_view destinazione) const {
        std::filesystem::create_symlink(velmora::PercorsoDaUtf8(destinazione),
                                        velmora::PercorsoDaUtf8(Percorso(relativo)));
    }

private:
    void Rimuovi() const {
        std::error_code ec;
        // A test may leave a folder unreadable: give the owner rights back first.
        for (auto it = std::filesystem::recursive_directory_iterator(
                 radice, std::filesystem::directory_options::skip_permission_denied, ec);
             !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
            std::error_code ecVoce;
            if (it->is_directory(ecVoce) && !it->is_symlink(ecVoce)) {
                std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ecVoce);
            }
        }
        std::filesystem::remove_all(radice, ec);
    }

    std::filesystem::path radice;
};

} // namespace prova
