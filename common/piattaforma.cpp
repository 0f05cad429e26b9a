#include "piattaforma.h"

#include <algorithm>
#include <system_error>

#ifdef _WIN32
#include <cstdio>
#include <io.h>
#include <windows.h>
#else
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace velmora {

namespace fs = std::filesystem;

char Separatore() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}

fs::path PercorsoDaUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8DaPercorso(const fs::path& percorso) {
    const std::u8string s = percorso.u8string();
    return std::string(s.begin(), s.end());
}

bool ERadice(std::string_view cartella) {
#ifdef _WIN32
    return cartella.size() == 3 && cartella[1] == ':' &&
           (cartella[2] == '\\' || cartella[2] == '/');
#else
    return cartella == "/";
#endif
}

std::string NormalizzaCartella(std::string_view cartella) {
    std::string s(cartella);
    while (s.size() > 1 && (s.back() == Separatore() || s.back() == '/') && !ERadice(s)) {
        s.pop_back();
    }
    return s;
}

std::string UnisciPercorso(std::string_view cartella, std::string_view nome) {
    std::string s(cartella);
    if (!ERadice(s)) {
        s.push_back(Separatore());
    }
    s.append(nome);
    return s;
}

std::string NomeCartella(std::string_view cartella) {
    if (ERadice(cartella)) {
        return std::string(cartella);
    }
    const auto pos = cartella.find_last_of(Separatore());
    return std::string(pos == std::string_view::npos ? cartella : cartella.substr(pos + 1));
}

std::string CartellaSuperiore(std::string_view cartella) {
    if (ERadice(cartella)) {
        return std::string(cartella);
    }
    const auto pos = cartella.find_last_of(Separatore());
    if (pos == std::string_view::npos) {
        return std::string(cartella);
    }
    std::string su(cartella.substr(0, pos + 1));
    return ERadice(su) ? su : su.substr(0, pos);
}

bool Nascosto(const fs::directory_entry& voce) {
#ifdef _WIN32
    const DWORD a = GetFileAttributesW(voce.path().c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
#else
    const std::string nome = Utf8DaPercorso(voce.path().filename());
    return !nome.empty() && nome.front() == '.';
#endif
}

std::vector<std::string> Radici() {
    std::vector<std::string> radici;
#ifdef _WIN32
    const DWORD unita = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (unita & (1u << i)) {
            radici.push_back(std::string(1, static_cast<char>('A' + i)) + ":\\");
        }
    }
#else
    radici.push_back("/");
    // Mounted removable and extra volumes, as a file manager lists them.
    std::ifstream montaggi("/proc/self/mounts");
    std::string riga;
    while (std::getline(montaggi, riga)) {
        std::istringstream campi(riga);
        std::string dispositivo, punto;
        campi >> dispositivo >> punto;
        if (punto.rfind("/media/", 0) == 0 || punto.rfind("/mnt/", 0) == 0 ||
            punto.rfind("/run/media/", 0) == 0) {
            if (std::find(radici.begin(), radici.end(), punto) == radici.end()) {
                radici.push_back(punto);
            }
        }
    }
#endif
    return radici;
}

std::string RadiceDi(std::string_view cartella) {
    std::string migliore;
    for (const std::string& r : Radici()) {
        const bool contiene =
            ERadice(r)
                ? cartella.rfind(r, 0) == 0
                : (cartella == r || (cartella.rfind(r, 0) == 0 && cartella.size() > r.size() &&
                                     cartella[r.size()] == Separatore()));
        if (contiene && r.size() > migliore.size()) {
            migliore = r;
        }
    }
    return migliore.empty() ? std::string(cartella.substr(0, 1)) : migliore;
}

bool ErroreStandardSuTerminale() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(STDERR_FILENO) != 0;
#endif
}

bool RinominaSenzaSostituire(std::string_view da, std::string_view a) {
    const fs::path sorgente = PercorsoDaUtf8(da);
    const fs::path destinazione = PercorsoDaUtf8(a);
#ifdef _WIN32
    return MoveFileExW(sorgente.c_str(), destinazione.c_str(), 0) != 0;
#else
    if (renameat2(AT_FDCWD, sorgente.c_str(), AT_FDCWD, destinazione.c_str(), RENAME_NOREPLACE) ==
        0) {
        return true;
    }
    if (errno == EEXIST) {
        // On a case-insensitive file system the target of a case-only rename is the
        // source itself: then a plain rename replaces nothing.
        std::error_code ec;
        return fs::equivalent(sorgente, destinazione, ec) && !ec &&
               std::rename(sorgente.c_str(), destinazione.c_str()) == 0;
    }
    return false;
#endif
}

std::optional<ContenutoFile> LeggiFileRegolare(std::string_view percorso, std::size_t massimo) {
    const fs::path p = PercorsoDaUtf8(percorso);
#ifdef _WIN32
    // Opening never waits here; the type check keeps out pipes, consoles and folders.
    const HANDLE h =
        CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    const std::unique_ptr<void, decltype(&CloseHandle)> chiudi(h, &CloseHandle);
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return std::nullopt;
    }
    const std::uint64_t lunghezza =
        (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (lunghezza > massimo) {
        return std::nullopt;
    }
    ContenutoFile f{std::make_unique_for_overwrite<std::uint8_t[]>(lunghezza), lunghezza};
    std::size_t letti = 0;
    while (letti < f.dimensione) {
        const DWORD parte =
            static_cast<DWORD>(std::min<std::size_t>(f.dimensione - letti, 1u << 30));
        DWORD n = 0;
        if (!ReadFile(h, f.byte.get() + letti, parte, &n, nullptr) || n == 0) {
            return std::nullopt;
        }
        letti += n;
    }
    return f;
#else
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    struct Descrittore {
        int fd;
        ~Descrittore() {
            if (fd >= 0) {
                close(fd);
            }
        }
    } const d{open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    const int fd = d.fd;
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<std::uint64_t>(st.st_size) > massimo || fcntl(fd, F_SETFL, 0) != 0) {
        return std::nullopt;
    }
    const auto lunghezza = static_cast<std::size_t>(st.st_size);
    ContenutoFile f{std::make_unique_for_overwrite<std::uint8_t[]>(lunghezza), lunghezza};
    std::size_t letti = 0;
    while (letti < lunghezza) {
        const ssize_t n = read(fd, f.byte.get() + letti, lunghezza - letti);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return std::nullopt; // an error, or the file shrank while read
        }
        letti += static_cast<std::size_t>(n);
    }
    return f;
#endif
}

} // namespace velmora
