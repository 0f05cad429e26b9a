// Writing a whole file so that it is either complete or not there at all: a file the
// program replaces is only ever replaced by a complete new one.
#pragma once

#include "esito.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Writes contenuto as the file nomeFile (a UTF-8 path). The bytes go to a new temporary
// file in the same folder, which is flushed to the medium and closed, checking every
// step, and then renamed over nomeFile; on any failure the temporary file is removed and
// an existing nomeFile is left as it was. A symbolic link is followed: the file it points
// to is written and the link stays. A device or a pipe (/dev/null, a FIFO) cannot be
// replaced and is written to directly.
// Messages: "Cannot create file <full name>" when the file cannot be created or
// replaced (missing folder, no permission, a read-only file or a folder of that name),
// "Write error on file <full name>" when writing fails (a full disk, a removed medium).
Esito ScriviFile(const std::string& nomeFile, std::string_view contenuto);

// The same write piece by piece, for a file too large to hold in memory (a rendered
// WAV): Apri(), Scrivi() as often as needed, Concludi(). Nothing replaces the target
// before Concludi() has written everything; destroyed before that, it removes its
// temporary file and leaves the target as it was. Messages as ScriviFile's.
class ScritturaFile {
public:
    explicit ScritturaFile(std::string nomeFile);
    ~ScritturaFile();
    ScritturaFile(const ScritturaFile&) = delete;
    ScritturaFile& operator=(const ScritturaFile&) = delete;

    // Creates the temporary file beside the target, or opens a device or a pipe.
    Esito Apri();
    // After Apri(): the free bytes of the disk the new file goes to; none for a device
    // or a pipe, or when the system does not say.
    std::optional<std::uint64_t> Spazio() const;
    // Appends bytes; false once any write has failed.
    bool Scrivi(std::string_view parte);
    // Flushes everything to the medium, closes, and puts the new file in place.
    Esito Concludi();

private:
    std::string nomeFile;
    std::filesystem::path file;       // the target, links followed
    std::filesystem::path temporaneo; // empty for a device or a pipe
    std::FILE* f = nullptr;
    bool guasto = false; // a write failed
};
