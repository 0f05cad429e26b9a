#include "scrittura.h"

#include "piattaforma.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Tries this many temporary names before giving up; another writer in the same folder
// is the only reason a name can be taken.
constexpr int kTentativi = 100;

Esito NonCreato(const fs::path& file) {
    return {"Cannot create file " + velmora::Utf8DaPercorso(file)};
}

Esito ErroreScrittura(const fs::path& file) {
    return {"Write error on file " + velmora::Utf8DaPercorso(file)};
}

// An existing target that must not be replaced: a folder, or a file without any write
// permission (the read-only attribute on Windows).
bool Protetto(const fs::path& file) {
    std::error_code ec;
    const fs::file_status stato = fs::status(file, ec);
    if (ec || !fs::exists(stato)) {
        return false;
    }
    const fs::perms scrittura =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return fs::is_directory(stato) || (stato.permissions() & scrittura) == fs::perms::none;
}

// What a symbolic link points to, followed link by link (a link to a missing file
// gives that file's name); the name itself when it is no link.
fs::path Destinazione(fs::path file) {
    std::error_code ec;
    for (int salti = 0; salti < 40 && fs::is_symlink(fs::symlink_status(file, ec)); ++salti) {
        const fs::path puntato = fs::read_symlink(file, ec);
        if (ec) {
            break;
        }
        file = (puntato.is_absolute() ? puntato : file.parent_path() / puntato).lexically_normal();
    }
    return file;
}

// A device or a pipe: it cannot be replaced by a file, only written to.
bool NonFile(const fs::path& file) {
    std::error_code ec;
    const fs::file_status stato = fs::status(file, ec);
    return !ec && fs::exists(stato) && !fs::is_regular_file(stato) && !fs::is_directory(stato);
}

std::FILE* ApriDispositivo(const fs::path& file, const char* modo) {
#ifdef _WIN32
    return _wfopen(file.c_str(), fs::path(modo).c_str());
#else
    return std::fopen(file.c_str(), modo);
#endif
}

// Creates a temporary file beside the target, never opening one that already exists.
std::FILE* CreaTemporaneo(const fs::path& file, fs::path& temporaneo) {
    for (int n = 0; n < kTentativi; ++n) {
        temporaneo = file.parent_path() / (".velmora" + std::to_string(n) + ".tmp");
        std::FILE* f = velmora::CreaFileNuovo(temporaneo);
        if (f != nullptr || errno != EEXIST) {
            return f;
        }
    }
    return nullptr;
}

// Writes the buffered bytes to the medium: the only point at which a removed or full
// medium reports its failure.
bool SuDisco(std::FILE* f) {
#ifdef _WIN32
    return _commit(_fileno(f)) == 0;
#else
    return fsync(fileno(f)) == 0;
#endif
}

// Flushes the buffered bytes (to the medium too when suDisco is set: devices and pipes
// have none) and closes the file whatever happened; true when all of it worked.
bool ChiudiScritto(std::FILE* f, bool suDisco) {
    const bool scritto = std::fflush(f) == 0 && (!suDisco || SuDisco(f));
    return std::fclose(f) == 0 && scritto;
}

} // namespace

ScritturaFile::ScritturaFile(std::string nome) : nomeFile(std::move(nome)) {}

ScritturaFile::~ScritturaFile() {
    if (f != nullptr) {
        std::fclose(f);
    }
    if (!temporaneo.empty()) {
        std::error_code ec;
        fs::remove(temporaneo, ec);
    }
}

Esito ScritturaFile::Apri() {
    std::error_code ec;
    const fs::path dato = velmora::PercorsoDaUtf8(nomeFile);
    // A device's name is no file; Windows' absolute form of it would be the device's.
    if (velmora::NomeRiservato(velmora::Utf8DaPercorso(dato.filename()))) {
        return NonCreato(dato);
    }
    const fs::path nome = fs::absolute(dato, ec);
    if (ec) {
        return NonCreato(dato);
    }
    // A link stays a link: the file it points to is the one replaced.
    file = Destinazione(nome);
    if (NonFile(file)) {
        f = ApriDispositivo(file, "wb");
        return f != nullptr ? Esito{} : NonCreato(file);
    }
    if (Protetto(file)) {
        return NonCreato(file);
    }
    f = CreaTemporaneo(file, temporaneo);
    if (f == nullptr) {
        temporaneo.clear();
        return NonCreato(file);
    }
    return {};
}

std::optional<std::uint64_t> ScritturaFile::Spazio() const {
    if (temporaneo.empty()) {
        return std::nullopt;
    }
    return velmora::SpazioLibero(velmora::Utf8DaPercorso(temporaneo.parent_path()));
}

bool ScritturaFile::Scrivi(std::string_view parte) {
    if (f == nullptr || guasto) {
        return false;
    }
    guasto = !parte.empty() && std::fwrite(parte.data(), 1, parte.size(), f) != parte.size();
    return !guasto;
}

Esito ScritturaFile::Concludi() {
    if (f == nullptr) {
        return NonCreato(file);
    }
    const bool scritto = ChiudiScritto(std::exchange(f, nullptr), !temporaneo.empty()) && !guasto;
    if (!scritto) {
        return ErroreScrittura(file);
    }
    if (temporaneo.empty()) {
        return {};
    }
    // A replaced file keeps its permissions.
    std::error_code ec;
    const fs::file_status vecchio = fs::status(file, ec);
    if (!ec && fs::exists(vecchio)) {
        fs::permissions(temporaneo, vecchio.permissions(), ec);
    }
    fs::rename(temporaneo, file, ec);
    if (ec) {
        return NonCreato(file);
    }
    temporaneo.clear();
    return {};
}

Esito ScriviFile(const std::string& nomeFile, std::string_view contenuto) {
    ScritturaFile scrittura(nomeFile);
    Esito esito = scrittura.Apri();
    if (esito) {
        scrittura.Scrivi(contenuto);
        esito = scrittura.Concludi();
    }
    return esito;
}
