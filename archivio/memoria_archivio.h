// The stored catalogue as a scan's memory: a folder's unchanged files are taken from
// it, the others stored as they are analysed (by the threads that analyse them), a
// transaction every few hundred files and at the end of the folder, so that their
// texts are never all in memory at once. A failure of the database leaves the rest of
// the scan to run without it; Avviso() then says why, once.
#pragma once

#include "archivio.h"
#include "memoria_scansione.h"

#include <mutex>

namespace velmora::archivio {

class MemoriaArchivio : public MemoriaScansione {
public:
    // Files analysed before they are written together.
    static constexpr std::size_t kFilePerTransazione = 256;

    // senzaCache: every file is analysed again (and stored), none taken as stored.
    // The archive must outlive this memory and the folders it opens.
    explicit MemoriaArchivio(Archivio& archivio, bool senzaCache = false);

    std::unique_ptr<Cartella> Apri(const std::string& cartella,
                                   const std::vector<FileDellaCartella>& file) override;
    bool VuoleTesti() const override { return true; }

    // What the user must be told at the end of the scan; empty when all went well.
    std::string Avviso() const;

private:
    class CartellaArchivio;

    Archivio& archivio;
    bool senzaCache;
    // Folders are opened and written from more than one thread: the database is used
    // by one at a time.
    mutable std::mutex m;
};

} // namespace velmora::archivio
