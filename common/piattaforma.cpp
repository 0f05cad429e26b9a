#include "piattaforma.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <system_error>
#include <utility>

#include <cerrno>
#include <cstdio>

#ifdef _WIN32
#include <cctype>
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h and winternl.h need windows.h first.
#include <cwchar>
#include <shellapi.h>
#include <winternl.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/statvfs.h>
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

namespace {

#ifdef _WIN32
constexpr std::string_view kSeparatori = "\\/";

// The length of a network root "\\server\share" at the start of a path, 0 when the
// path does not start with one.
std::size_t RadiceDiRete(std::string_view p) {
    if (p.size() < 5 || kSeparatori.find(p[0]) == std::string_view::npos ||
        kSeparatori.find(p[1]) == std::string_view::npos) {
        return 0;
    }
    const std::size_t server = p.find_first_of(kSeparatori, 2);
    if (server == std::string_view::npos || server == 2 || server + 1 == p.size()) {
        return 0;
    }
    const std::size_t share = p.find_first_of(kSeparatori, server + 1);
    return share == server + 1 ? 0 : std::min(share, p.size());
}

bool Unita(std::string_view p) {
    return p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]));
}
#else
constexpr std::string_view kSeparatori = "/";
#endif

bool FiniscePerSeparatore(std::string_view p) {
    return !p.empty() && kSeparatori.find(p.back()) != std::string_view::npos;
}

} // namespace

fs::path PercorsoDaUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8DaPercorso(const fs::path& percorso) {
    const std::u8string s = percorso.u8string();
    return std::string(s.begin(), s.end());
}

bool ERadice(std::string_view cartella) {
#ifdef _WIN32
    // "D:", "D:\\" or "D:/"; "\\\\server\\share" with or without a final separator.
    if (Unita(cartella)) {
        return cartella.size() == 2 || (cartella.size() == 3 && FiniscePerSeparatore(cartella));
    }
    const std::size_t rete = RadiceDiRete(cartella);
    return rete > 0 && (rete == cartella.size() ||
                        (rete + 1 == cartella.size() && FiniscePerSeparatore(cartella)));
#else
    return cartella == "/";
#endif
}

std::string NormalizzaCartella(std::string_view cartella) {
    std::string s(cartella);
#ifdef _WIN32
    // One separator spelling, and the roots in one form: "D:\\" and "\\\\server\\share".
    std::replace(s.begin(), s.end(), '/', '\\');
    if (Unita(s) && s.size() == 2) {
        s.push_back('\\');
    }
    if (RadiceDiRete(s) + 1 == s.size() && FiniscePerSeparatore(s)) {
        s.pop_back();
    }
#endif
    while (s.size() > 1 && FiniscePerSeparatore(s) && !ERadice(s)) {
        s.pop_back();
    }
    return s;
}

std::string UnisciPercorso(std::string_view cartella, std::string_view nome) {
    std::string s(cartella);
    if (!ERadice(s) || !FiniscePerSeparatore(s)) {
        s.push_back(Separatore());
    }
    s.append(nome);
    return s;
}

std::string NomeCartella(std::string_view cartella) {
    if (ERadice(cartella)) {
        return std::string(cartella);
    }
    const auto pos = cartella.find_last_of(kSeparatori);
    return std::string(pos == std::string_view::npos ? cartella : cartella.substr(pos + 1));
}

std::string CartellaSuperiore(std::string_view cartella) {
    if (ERadice(cartella)) {
        return std::string(cartella);
    }
    const auto pos = cartella.find_last_of(kSeparatori);
    if (pos == std::string_view::npos) {
        return std::string(cartella);
    }
    std::string su(cartella.substr(0, pos + 1));
    return ERadice(su) ? NormalizzaCartella(su) : su.substr(0, pos);
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
#ifdef _WIN32
    // The drive letter in the drive box's spelling, whatever its case in the path.
    if (Unita(cartella)) {
        return std::string(
                   1, static_cast<char>(std::toupper(static_cast<unsigned char>(cartella[0])))) +
               ":\\";
    }
    if (const std::size_t rete = RadiceDiRete(cartella)) {
        return NormalizzaCartella(cartella.substr(0, rete));
    }
#endif
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

std::vector<std::string> ArgomentiUtf8([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
    std::vector<std::string> argomenti;
    int n = 0;
    if (wchar_t** larghi = CommandLineToArgvW(GetCommandLineW(), &n)) {
        for (int i = 0; i < n; ++i) {
            argomenti.push_back(Utf8DaPercorso(fs::path(larghi[i])));
        }
        LocalFree(larghi);
    }
    return argomenti;
#else
    return std::vector<std::string>(argv, argv + argc);
#endif
}

void UscitaBinaria() {
#ifdef _WIN32
    std::fflush(stdout);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
}

std::FILE* CreaFileNuovo(const fs::path& percorso) {
#ifdef _WIN32
    // CREATE_NEW is exclusive by definition; the "x" mode of _wfopen is not honoured by
    // every C runtime (Wine's opens and empties an existing file).
    const HANDLE h = CreateFileW(percorso.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                 CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        errno = e == ERROR_FILE_EXISTS || e == ERROR_ALREADY_EXISTS ? EEXIST : EACCES;
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_BINARY | _O_WRONLY);
    if (fd == -1) {
        CloseHandle(h);
        return nullptr;
    }
    std::FILE* f = _fdopen(fd, "wb");
    if (f == nullptr) {
        _close(fd);
    }
    return f;
#else
    return std::fopen(percorso.c_str(), "wbx");
#endif
}

std::optional<IdentitaFile> IdentitaDi(std::string_view percorso) {
    const fs::path p = PercorsoDaUtf8(percorso);
#ifdef _WIN32
    // No access rights asked: reading the file index needs none, and a file another
    // program holds open without sharing still answers. Backup semantics open folders.
    const HANDLE h =
        CreateFileW(p.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION info;
    const bool letto = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    if (!letto) {
        return std::nullopt;
    }
    return IdentitaFile{info.dwVolumeSerialNumber,
                        (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
#else
    struct stat st {};
    if (stat(p.c_str(), &st) != 0) {
        return std::nullopt;
    }
    return IdentitaFile{static_cast<std::uint64_t>(st.st_dev),
                        static_cast<std::uint64_t>(st.st_ino)};
#endif
}

std::optional<std::uint64_t> SpazioLibero(std::string_view cartella) {
    const fs::path p = PercorsoDaUtf8(cartella);
#ifdef _WIN32
    ULARGE_INTEGER disponibili;
    if (!GetDiskFreeSpaceExW(p.c_str(), &disponibili, nullptr, nullptr)) {
        return std::nullopt;
    }
    return disponibili.QuadPart;
#else
    // f_bavail: what is left to a user who is not root, the same figure df shows.
    struct statvfs sv {};
    if (statvfs(p.c_str(), &sv) != 0) {
        return std::nullopt;
    }
    return std::uint64_t{sv.f_bavail} * sv.f_frsize;
#endif
}

bool NomeRiservato([[maybe_unused]] std::string_view nome) {
#ifdef _WIN32
    // The part before the first dot, less trailing spaces, compared without case.
    std::string base(nome.substr(0, nome.find('.')));
    while (!base.empty() && base.back() == ' ') {
        base.pop_back();
    }
    for (char& c : base) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" ||
        base == "CONOUT$") {
        return true;
    }
    return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
           base[3] >= '1' && base[3] <= '9';
#else
    return false;
#endif
}

bool CartellaTroppoLunga([[maybe_unused]] std::string_view cartella) {
#ifdef _WIN32
    return PercorsoDaUtf8(cartella).native().size() + 2 >= MAX_PATH;
#else
    return false;
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

namespace {

#ifdef _WIN32
Istante IstanteDi(const FILETIME& t) {
    // FILETIME counts 100 ns from 1601.
    const std::int64_t dal1601 = static_cast<std::int64_t>(
        (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime);
    return (dal1601 - 116444736000000000LL) * 100;
}

std::string Utf8DaLargo(const wchar_t* largo) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, largo, -1, nullptr, 0, nullptr, nullptr);
    std::string s(n > 0 ? static_cast<std::size_t>(n - 1) : 0, '\0');
    if (n > 1) {
        WideCharToMultiByte(CP_UTF8, 0, largo, -1, s.data(), n, nullptr, nullptr);
    }
    return s;
}

// A whole regular file from an open handle (opening never waits on Windows); the type
// check keeps out pipes, consoles and folders.
std::optional<ContenutoFile> LeggiAperto(HANDLE h, std::size_t massimo) {
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
}
#else
Istante IstanteDi(const struct timespec& t) {
    return static_cast<Istante>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

// A whole regular file from a descriptor opened with O_NONBLOCK (so that a FIFO does
// not wait for a writer): what was opened is checked before anything is read. Closes
// the descriptor.
std::optional<ContenutoFile> LeggiAperto(int fd, std::size_t massimo) {
    if (fd < 0) {
        return std::nullopt;
    }
    struct Chiudi {
        int fd;
        ~Chiudi() { close(fd); }
    } const chiudi{fd};
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0 ||
        static_cast<std::uint64_t>(st.st_size) > massimo) {
        return std::nullopt;
    }
    const auto lunghezza = static_cast<std::size_t>(st.st_size);
    ContenutoFile f{std::make_unique_for_overwrite<std::uint8_t[]>(lunghezza), lunghezza};
    std::size_t letti = 0;
    bool bloccante = false;
    while (letti < lunghezza) {
        const ssize_t n = read(fd, f.byte.get() + letti, lunghezza - letti);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        // Regular files ignore O_NONBLOCK on local file systems; one that does not
        // is read again blocking, which costs a call only there.
        if (n < 0 && errno == EAGAIN && !bloccante) {
            bloccante = true;
            if (fcntl(fd, F_SETFL, 0) == 0) {
                continue;
            }
        }
        if (n <= 0) {
            return std::nullopt; // an error, or the file shrank while read
        }
        letti += static_cast<std::size_t>(n);
    }
    return f;
}
#endif

} // namespace

std::optional<ContenutoFile> LeggiFileRegolare(std::string_view percorso, std::size_t massimo) {
    const fs::path p = PercorsoDaUtf8(percorso);
#ifdef _WIN32
    const HANDLE h =
        CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    return LeggiAperto(h, massimo);
#else
    return LeggiAperto(open(p.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY), massimo);
#endif
}

Istante Adesso() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// The platform's handle of a CartellaAperta, for the functions below.
struct AccessoCartella {
#ifdef _WIN32
    static HANDLE Handle(const CartellaAperta& c) {
        return c.handle;
    }
#else
    static int Fd(const CartellaAperta& c) {
        return c.fd;
    }
#endif
};

CartellaAperta::CartellaAperta(std::string_view p) : percorso(p) {
#ifdef _WIN32
    const HANDLE h = CreateFileW(PercorsoDaUtf8(p).c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    handle = h == INVALID_HANDLE_VALUE ? nullptr : h;
#else
    fd = open(PercorsoDaUtf8(p).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
}

CartellaAperta::~CartellaAperta() {
#ifdef _WIN32
    if (handle != nullptr) {
        CloseHandle(handle);
    }
#else
    if (fd >= 0) {
        close(fd);
    }
#endif
}

CartellaAperta::CartellaAperta(CartellaAperta&& altra) noexcept
    : percorso(std::move(altra.percorso)) {
#ifdef _WIN32
    handle = std::exchange(altra.handle, nullptr);
#else
    fd = std::exchange(altra.fd, -1);
#endif
}

CartellaAperta& CartellaAperta::operator=(CartellaAperta&& altra) noexcept {
    if (this != &altra) {
        CartellaAperta vecchia(std::move(*this));
        percorso = std::move(altra.percorso);
#ifdef _WIN32
        handle = std::exchange(altra.handle, nullptr);
#else
        fd = std::exchange(altra.fd, -1);
#endif
    }
    return *this;
}

bool CartellaAperta::Aperta() const {
#ifdef _WIN32
    return handle != nullptr;
#else
    return fd >= 0;
#endif
}

VociCartella ElencaCartella(const CartellaAperta& cartella,
                            [[maybe_unused]] bool (*controlla)(std::string_view)) {
    VociCartella v;
    v.lettaAlle = Adesso();
    if (!cartella.Aperta()) {
        return v;
    }
#ifdef _WIN32
    const HANDLE h = AccessoCartella::Handle(cartella);
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileInformationByHandle(h, &info)) {
        v.modificata = IstanteDi(info.ftLastWriteTime);
    }
    // Names, kinds and attributes come with the listing itself: no call per entry.
    const std::wstring schema = PercorsoDaUtf8(UnisciPercorso(cartella.Percorso(), "*")).native();
    WIN32_FIND_DATAW d;
    const HANDLE ricerca =
        FindFirstFileExW(schema.c_str(), FindExInfoBasic, &d, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (ricerca == INVALID_HANDLE_VALUE) {
        return v;
    }
    do {
        if (std::wcscmp(d.cFileName, L".") == 0 || std::wcscmp(d.cFileName, L"..") == 0) {
            continue;
        }
        const DWORD a = d.dwFileAttributes;
        VoceCartella voce;
        voce.nome = Utf8DaLargo(d.cFileName);
        // A junction or a link to a folder is no sub-folder: a walk could loop.
        voce.cartella = (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT);
        voce.file = !(a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_DEVICE);
        voce.nascosta = (a & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
        v.voci.push_back(std::move(voce));
    } while (FindNextFileW(ricerca, &d));
    v.letta = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(ricerca);
#else
    const int fd = AccessoCartella::Fd(cartella);
    struct stat st {};
    if (fstat(fd, &st) == 0) {
        v.modificata = IstanteDi(st.st_mtim);
    }
    if (lseek(fd, 0, SEEK_SET) != 0) {
        return v;
    }
    // getdents64 gives each entry's kind on most file systems: no call per entry.
    alignas(struct dirent64) char blocco[32768];
    for (;;) {
        const ssize_t n = getdents64(fd, blocco, sizeof blocco);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            v.letta = n == 0;
            break;
        }
        for (ssize_t pos = 0; pos < n;) {
            const auto* e = reinterpret_cast<const struct dirent64*>(blocco + pos);
            pos += e->d_reclen;
            const std::string_view nome(e->d_name);
            if (nome == "." || nome == "..") {
                continue;
            }
            VoceCartella voce;
            voce.nome = nome;
            voce.nascosta = nome.front() == '.';
            unsigned char tipo = e->d_type;
            if (tipo == DT_UNKNOWN && fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
                tipo = S_ISDIR(st.st_mode) ? DT_DIR
                       : S_ISREG(st.st_mode) ? DT_REG
                       : S_ISLNK(st.st_mode) ? DT_LNK
                                             : DT_UNKNOWN;
            }
            voce.cartella = tipo == DT_DIR;
            voce.file =
                tipo == DT_REG || (tipo == DT_LNK && controlla != nullptr && controlla(nome) &&
                                   fstatat(fd, e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode));
            v.voci.push_back(std::move(voce));
        }
    }
#endif
    return v;
}

std::optional<Istante> UltimaModifica(std::string_view percorso) {
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA dati;
    if (!GetFileAttributesExW(PercorsoDaUtf8(percorso).c_str(), GetFileExInfoStandard, &dati)) {
        return std::nullopt;
    }
    return IstanteDi(dati.ftLastWriteTime);
#else
    struct stat st {};
    if (stat(PercorsoDaUtf8(percorso).c_str(), &st) != 0) {
        return std::nullopt;
    }
    return IstanteDi(st.st_mtim);
#endif
}

std::optional<ContenutoFile> LeggiInCartella(const CartellaAperta& cartella, std::string_view nome,
                                             std::size_t massimo) {
    if (!cartella.Aperta()) {
        return std::nullopt;
    }
#ifdef _WIN32
    const std::wstring largo = PercorsoDaUtf8(nome).native();
    if (largo.size() * sizeof(wchar_t) > 0xFFFF) {
        return std::nullopt;
    }
    UNICODE_STRING nomeNt;
    nomeNt.Buffer = const_cast<wchar_t*>(largo.c_str());
    nomeNt.Length = static_cast<USHORT>(largo.size() * sizeof(wchar_t));
    nomeNt.MaximumLength = nomeNt.Length;
    OBJECT_ATTRIBUTES attributi;
    InitializeObjectAttributes(&attributi, &nomeNt, OBJ_CASE_INSENSITIVE,
                               AccessoCartella::Handle(cartella), nullptr);
    IO_STATUS_BLOCK stato;
    HANDLE h = nullptr;
    // Relative to the folder's handle, as openat does; a folder under the name fails.
    if (NtCreateFile(&h, GENERIC_READ | SYNCHRONIZE, &attributi, &stato, nullptr, 0,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, FILE_OPEN,
                     FILE_SYNCHRONOUS_IO_NONALERT | FILE_NON_DIRECTORY_FILE, nullptr, 0) != 0) {
        return std::nullopt;
    }
    return LeggiAperto(h, massimo);
#else
    return LeggiAperto(openat(AccessoCartella::Fd(cartella), std::string(nome).c_str(),
                              O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY),
                       massimo);
#endif
}

void AnnunciaLettura(const CartellaAperta& cartella, std::string_view nome) {
#ifdef _WIN32
    (void)cartella;
    (void)nome;
#else
    if (!cartella.Aperta()) {
        return;
    }
    const int fd = openat(AccessoCartella::Fd(cartella), std::string(nome).c_str(),
                          O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd >= 0) {
        posix_fadvise(fd, 0, 0, POSIX_FADV_WILLNEED);
        close(fd);
    }
#endif
}

std::optional<std::uint64_t> DimensioneFile(std::string_view percorso) {
    std::error_code ec;
    const std::uintmax_t n = fs::file_size(PercorsoDaUtf8(percorso), ec);
    return ec ? std::nullopt : std::optional<std::uint64_t>(n);
}

std::string LeggiInizioFile(std::string_view percorso, std::size_t n) {
    const fs::path p = PercorsoDaUtf8(percorso);
    std::error_code ec;
    if (!fs::is_regular_file(p, ec)) {
        return {};
    }
    std::ifstream f(p, std::ios::binary);
    std::string inizio(n, '\0');
    f.read(inizio.data(), static_cast<std::streamsize>(n));
    inizio.resize(static_cast<std::size_t>(std::max<std::streamsize>(f.gcount(), 0)));
    return inizio;
}

std::string PercorsoCatalogo() {
#ifdef _WIN32
    if (const wchar_t* db = _wgetenv(L"VELMORA_DB"); db != nullptr && *db != L'\0') {
        return Utf8DaPercorso(fs::path(db));
    }
    const wchar_t* locale = _wgetenv(L"LOCALAPPDATA");
    if (locale == nullptr || *locale == L'\0') {
        return {};
    }
    return Utf8DaPercorso(fs::path(locale) / L"Velmora" / L"catalogo.sqlite");
#else
    if (const char* db = std::getenv("VELMORA_DB"); db != nullptr && *db != '\0') {
        return db;
    }
    fs::path dati;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        dati = xdg; // a relative one is to be ignored
    } else if (const char* casa = std::getenv("HOME"); casa != nullptr && *casa != '\0') {
        dati = fs::path(casa) / ".local" / "share";
    } else {
        return {};
    }
    return Utf8DaPercorso(dati / "velmora" / "catalogo.sqlite");
#endif
}

std::optional<StatoFile> StatoInCartella(const CartellaAperta& cartella, std::string_view nome) {
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA dati;
    if (!GetFileAttributesExW(PercorsoDaUtf8(UnisciPercorso(cartella.Percorso(), nome)).c_str(),
                              GetFileExInfoStandard, &dati)) {
        return std::nullopt;
    }
    return StatoFile{(static_cast<std::uint64_t>(dati.nFileSizeHigh) << 32) | dati.nFileSizeLow,
                     IstanteDi(dati.ftLastWriteTime)};
#else
    struct stat st {};
    if (!cartella.Aperta() ||
        fstatat(AccessoCartella::Fd(cartella), std::string(nome).c_str(), &st, 0) != 0) {
        return std::nullopt;
    }
    return StatoFile{static_cast<std::uint64_t>(st.st_size), IstanteDi(st.st_mtim)};
#endif
}

} // namespace velmora
