// A fresh folder under the system's temporary folder for one test, removed with its
// contents at the end of its scope. The random suffix keeps concurrent runs apart.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace prova {

class CartellaTemporanea {
public:
    CartellaTemporanea() {
        std::random_device casuale;
        percorso = std::filesystem::temp_directory_path() /
                   ("velmora_prova_" + std::to_string(casuale()) + std::to_string(casuale()));
        std::filesystem::create_directories(percorso);
    }
    CartellaTemporanea(const CartellaTemporanea&) = delete;
    CartellaTemporanea& operator=(const CartellaTemporanea&) = delete;
    ~CartellaTemporanea() {
        std::error_code ignorato;
        // A test may have taken permissions away; give them back to clean up.
        std::filesystem::permissions(percorso, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignorato);
        std::filesystem::remove_all(percorso, ignorato);
    }
    const std::filesystem::path& Percorso() const { return percorso; }

private:
    std::filesystem::path percorso;
};

} // namespace prova
