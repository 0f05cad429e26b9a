// The few things that differ between Windows and the other systems: path text,
// roots, hidden entries, reserved names, the command line, standard output, creating
// and renaming files. Paths are UTF-8 text.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The folder separator of this system: '\\' on Windows, '/' elsewhere.
char Separatore();

std::filesystem::path PercorsoDaUtf8(std::string_view utf8);
std::string Utf8DaPercorso(const std::filesystem::path& percorso);

// True for a root folder ("/" here, "D:\" on Windows): the only folder paths that
// end with a separator.
bool ERadice(std::string_view cartella);

// Folder path without a trailing separator, except at a root.
std::string NormalizzaCartella(std::string_view cartella);

// Folder + separator + name, without doubling the separator at a root.
std::string UnisciPercorso(std::string_view cartella, std::string_view nome);

// The folder's own name: its last component, or the root itself for a root.
std::string NomeCartella(std::string_view cartella);

// The folder above; a root is its own parent.
std::string CartellaSuperiore(std::string_view cartella);

// Hidden entries are left out of the folder and file lists: names starting with
// "." here, the hidden or system attribute on Windows.
bool Nascosto(const std::filesystem::directory_entry& voce);

// The roots the drive box offers: "/" and the mounted volumes here, the drive
// letters on Windows.
std::vector<std::string> Radici();

// The root a folder lies on (the longest root of Radici() that contains it).
std::string RadiceDi(std::string_view cartella);

// True when the program's standard error is a terminal (where a command-line tool may
// show its progress).
bool ErroreStandardSuTerminale();

// The program's arguments as UTF-8 text. On Windows they come from the wide command
// line: argv there is in the ANSI code page, which cannot hold every name.
std::vector<std::string> ArgomentiUtf8(int argc, char** argv);

// Standard output passes bytes as they are (no LF to CR LF translation on Windows),
// so text that carries its own line ends keeps them.
void UscitaBinaria();

// Opens a new file for binary writing, never an existing one: null with errno EEXIST
// when the name is taken.
std::FILE* CreaFileNuovo(const std::filesystem::path& percorso);

// What tells one file from another whatever its name: device and inode here, volume
// serial number and file index on Windows. Hard links and symbolic links of one file
// share it.
struct IdentitaFile {
    std::uint64_t volume = 0;
    std::uint64_t indice = 0;
    bool operator==(const IdentitaFile&) const = default;
};

// The identity of the file or folder at percorso, following symbolic links; none when
// it does not exist or cannot be reached.
std::optional<IdentitaFile> IdentitaDi(std::string_view percorso);

// The bytes this user may still write on the disk that holds cartella; none when the
// folder cannot be reached.
std::optional<std::uint64_t> SpazioLibero(std::string_view cartella);

// True for a name Windows keeps for a device ("con", "NUL.txt", "com1", ...): a file
// of that name cannot be made there. Always false elsewhere.
bool NomeRiservato(std::string_view nome);

// True for a folder Windows cannot list: its path and "\\*" must fit in 260 UTF-16
// units (MAX_PATH). Always false elsewhere.
bool CartellaTroppoLunga(std::string_view cartella);

// Renames a file or folder, never replacing an existing one. A change of letter
// case only (the same file on a case-insensitive file system) is allowed.
bool RinominaSenzaSostituire(std::string_view da, std::string_view a);

// The bytes of a whole file.
struct ContenutoFile {
    std::unique_ptr<std::uint8_t[]> byte;
    std::size_t dimensione = 0;
};

// Nanoseconds since 1 January 1970 (UTC), the clock of files' modification times.
using Istante = std::int64_t;
Istante Adesso();

// A folder held open, so that its entries are listed and its files opened relative to
// it: the path is looked up once, not once per file. Move-only.
class CartellaAperta {
public:
    CartellaAperta() = default;
    // Aperta() tells whether it could be opened.
    explicit CartellaAperta(std::string_view percorso);
    ~CartellaAperta();
    CartellaAperta(CartellaAperta&& altra) noexcept;
    CartellaAperta& operator=(CartellaAperta&& altra) noexcept;
    CartellaAperta(const CartellaAperta&) = delete;
    CartellaAperta& operator=(const CartellaAperta&) = delete;

    bool Aperta() const;
    const std::string& Percorso() const { return percorso; }

private:
    friend struct AccessoCartella;
    std::string percorso;
#ifdef _WIN32
    void* handle = nullptr;
#else
    int fd = -1;
#endif
};

// One entry of a folder.
struct VoceCartella {
    std::string nome;      // UTF-8
    bool cartella = false; // a folder, not a link to one (a walk over them cannot loop)
    bool file = false;     // a regular file, or a link to one
    bool nascosta = false; // "." first here, hidden or system attribute on Windows
};

// The entries of a folder from one pass over it, "." and ".." left out.
struct VociCartella {
    bool letta = false;                // false: it could not be read (all of it), so no entries
    std::optional<Istante> modificata; // the folder's own last change
    Istante lettaAlle = 0;             // when the pass began
    std::vector<VoceCartella> voci;
};

// Lists an open folder. Entries whose kind the listing does not tell (links, file
// systems without types) are looked up only when they may be folders or when
// controlla(name) asks for their kind (controlla may be null); otherwise they count
// as neither.
VociCartella ElencaCartella(const CartellaAperta& cartella, bool (*controlla)(std::string_view));

// The last change of the folder at percorso (links followed); nothing when it cannot be
// looked up.
std::optional<Istante> UltimaModifica(std::string_view percorso);

// LeggiFileRegolare for the file nome of an open folder.
std::optional<ContenutoFile> LeggiInCartella(const CartellaAperta& cartella, std::string_view nome,
                                             std::size_t massimo);

// Tells the system the file nome of an open folder is to be read soon, so that a disk
// gets the requests of many files at once while they are analysed a few at a time.
// Does not wait for the disk. Where the system takes no such hint (kLettureAnnunciate
// false: Windows) it does nothing.
void AnnunciaLettura(const CartellaAperta& cartella, std::string_view nome);
#ifdef _WIN32
inline constexpr bool kLettureAnnunciate = false;
#else
inline constexpr bool kLettureAnnunciate = true;
#endif

// Reads a whole regular file of at most massimo bytes. The file is opened without
// blocking and what was opened is checked, so a FIFO, a device or a folder under a
// file's name fails at once instead of hanging the reader. Nothing when the file
// cannot be opened or read, is not a regular file or is larger than massimo.
std::optional<ContenutoFile> LeggiFileRegolare(std::string_view percorso, std::size_t massimo);

// The size of the file at percorso (links followed); none when it cannot be reached.
std::optional<std::uint64_t> DimensioneFile(std::string_view percorso);

// The first n bytes of a regular file (fewer when it is shorter); empty when it cannot
// be read or is not a regular file.
std::string LeggiInizioFile(std::string_view percorso, std::size_t n);

// Where the stored catalogue lives: VELMORA_DB when set, else
// %LOCALAPPDATA%\Velmora\catalogo.sqlite on Windows and
// $XDG_DATA_HOME/velmora/catalogo.sqlite (by default under ~/.local/share) elsewhere.
// Empty when the system gives no such folder.
std::string PercorsoCatalogo();

// The size and last modification of the file nome of an open folder (links followed),
// with one look at it. Nothing when it cannot be looked at.
struct StatoFile {
    std::uint64_t dimensione = 0;
    Istante modifica = 0;
};
std::optional<StatoFile> StatoInCartella(const CartellaAperta& cartella, std::string_view nome);

} // namespace velmora
