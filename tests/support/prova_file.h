// Helpers for the tests that write files: a fresh folder per test, and a full disk.
#pragma once

#include "cartella_temporanea.h"
#include "piattaforma.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

// A fresh temporary folder for each test, removed afterwards.
class CartellaProva : public ::testing::Test {
protected:
    // The full name of a file in the folder, as UTF-8.
    std::string P(const std::string& nome) const { return velmora::Utf8DaPercorso(F(nome)); }
    // The path of a file in the folder; the name is UTF-8 (a narrow string would be
    // taken in the ANSI code page on Windows).
    std::filesystem::path F(const std::string& nome) const {
        return dir / velmora::PercorsoDaUtf8(nome);
    }
    void Crea(const std::string& nome, const std::string& contenuto) const {
        std::ofstream(F(nome), std::ios::binary) << contenuto;
    }
    std::string Leggi(const std::string& nome) const {
        std::ifstream f(F(nome), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    // The names in the folder: shows a temporary file left behind.
    std::set<std::string> Voci() const {
        std::set<std::string> voci;
        for (const auto& v : std::filesystem::directory_iterator(dir)) {
            voci.insert(velmora::Utf8DaPercorso(v.path().filename()));
        }
        return voci;
    }
    prova::CartellaTemporanea temporanea;
    const std::filesystem::path& dir = temporanea.Percorso();
};

#ifndef _WIN32
// While alive, files this process writes cannot grow past a few bytes, as on a full
// disk: writes past the limit fail instead of raising SIGXFSZ.
class DiscoPieno {
public:
    static constexpr bool kPossibile = true;

    DiscoPieno() {
        getrlimit(RLIMIT_FSIZE, &prima);
        segnale = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limite = prima;
        limite.rlim_cur = 16;
        setrlimit(RLIMIT_FSIZE, &limite);
    }
    ~DiscoPieno() {
        setrlimit(RLIMIT_FSIZE, &prima);
        std::signal(SIGXFSZ, segnale);
    }
    DiscoPieno(const DiscoPieno&) = delete;
    DiscoPieno& operator=(const DiscoPieno&) = delete;

private:
    rlimit prima{};
    void (*segnale)(int) = nullptr;
};
#else
// Windows has no limit on the size of the files a process writes: the full-disk tests
// are skipped there, and a target held open by another program fails the write instead.
struct DiscoPieno {
    static constexpr bool kPossibile = false;
    DiscoPieno() {} // a user's constructor: the tests' unused instances do not warn
};
#endif
constexpr const char* kSenzaDiscoPieno = "Windows has no file size limit to fake a full disk with";
