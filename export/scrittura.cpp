#include "scrittura.h"

#include "piattaforma.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

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

std::FILE* Apri(const fs::path& file, const char* modo) {
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

// Writes every byte, flushes them (to the medium too when suDisco is set: devices and
// pipes have none) and closes the file whatever happened; true when all of it worked.
bool ScriviEChiudi(std::FILE* f, const Pezzi& contenuto, bool suDisco) {
    bool scritto = true;
    contenuto([&](std::string_view pezzo) {
        scritto = scritto &&
                  (pezzo.empty() || std::fwrite(pezzo.data(), 1, pezzo.size(), f) == pezzo.size());
    });
    scritto = scritto && std::fflush(f) == 0 && (!suDisco || SuDisco(f));
    return std::fclose(f) == 0 && scritto;
}

// Writes the bytes straight into a device or a pipe.
Esito ScriviDirettamente(const fs::path& file, const Pezzi& contenuto) {
    std::FILE* f = Apri(file, "wb");
    if (f == nullptr) {
        return NonCreato(file);
    }
    return ScriviEChiudi(f, contenuto, false) ? Esito{} : ErroreScrittura(file);
}

} // namespace

Esito ScriviFile(const std::string& nomeFile, std::string_view contenuto) {
    return ScriviFile(nomeFile, [contenuto](const auto& scrivi) { scrivi(contenuto); });
}

Esito ScriviFile(const std::string& nomeFile, const Pezzi& contenuto) {
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
    const fs::path file = Destinazione(nome);
    if (NonFile(file)) {
        return ScriviDirettamente(file, contenuto);
    }
    if (Protetto(file)) {
        return NonCreato(file);
    }
    fs::path temporaneo;
    std::FILE* f = CreaTemporaneo(file, temporaneo);
    if (f == nullptr) {
        return NonCreato(file);
    }
    if (!ScriviEChiudi(f, contenuto, true)) {
        fs::remove(temporaneo, ec);
        return ErroreScrittura(file);
    }
    // A replaced file keeps its permissions.
    const fs::file_status vecchio = fs::status(file, ec);
    if (!ec && fs::exists(vecchio)) {
        fs::permissions(temporaneo, vecchio.permissions(), ec);
    }
    fs::rename(temporaneo, file, ec);
    if (ec) {
        fs::remove(temporaneo, ec);
        return NonCreato(file);
    }
    return {};
}
