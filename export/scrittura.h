// Writing a whole file so that it is either complete or not there at all: a file the
// program replaces is only ever replaced by a complete new one.
#pragma once

#include <functional>
#include <string>
#include <string_view>

// The outcome of a write: an empty message on success, otherwise the message to show.
struct Esito {
    std::string errore;

    bool Riuscito() const { return errore.empty(); }
    explicit operator bool() const { return Riuscito(); }
};

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

// Bytes made piece by piece: the function passes each piece, in order, to scrivi. A
// large file goes out as it is made and is never held whole.
using Pezzi = std::function<void(const std::function<void(std::string_view)>& scrivi)>;

// ScriviFile for bytes made piece by piece.
Esito ScriviFile(const std::string& nomeFile, const Pezzi& contenuto);
