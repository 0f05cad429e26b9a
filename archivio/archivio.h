// The catalogue stored on disk: one SQLite database per user holding, for every file
// a scan has analysed, its folder and name, its size and modification time, its
// catalogue values, and a full-text index of its texts for search.
//
// Nothing here throws (but std::bad_alloc): a database that cannot be used (missing
// and impossible to create, locked by another program, read-only, a full disk,
// damaged, of a later version) makes the archive unavailable, with the reason in
// Avviso(). A damaged database is moved aside (its name + ".danneggiato") and made
// again, empty, as soon as that can be done.
#pragma once

#include "analisi_file.h"
#include "schema.h"
#include "sqlite.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora::archivio {

// A stored analysis is trusted only for a file modified at least this long before it
// was read: a file changed again within its time's resolution (two seconds on FAT)
// would otherwise keep the same time and size.
constexpr std::int64_t kMargineModifica = 2'000'000'000; // nanoseconds

// What the archive knows of one file of a folder.
struct VoceSalvata {
    std::int64_t id = 0;
    std::string nome;
    std::uint64_t dimensione = 0;
    std::int64_t modifica = 0; // nanoseconds since 1970, as the file system gave it
    std::int64_t letto = 0;    // when the file was read, same unit
    int versione = 0;          // of the analysis
    AnalisiFile analisi;

    // The stored analysis holds for the file as it is now.
    bool Vale(std::uint64_t dimensioneOra, std::int64_t modificaOra) const;
};

// A file to store: what the file system said of it before it was read, and when.
struct FileLetto {
    std::string nome;
    std::uint64_t dimensione = 0;
    std::int64_t modifica = 0;
    std::int64_t letto = 0;
    AnalisiFile analisi;
};

// One file found by a search.
struct Trovato {
    std::string cartella; // the folder's full path
    std::string nome;
    std::vector<std::string_view> campi; // etichetta of each field that matched
    std::int32_t durata = 0;
    std::int32_t lunghezza = 0;
};

class Archivio {
public:
    // Long enough for another program's transaction of one folder to end.
    static constexpr int kAttesaPredefinita = 2000;

    // Opens the database at percorso (UTF-8), creating it and its folder when
    // missing. attesaMs: how long to wait for a lock another program holds.
    explicit Archivio(std::string percorso, int attesaMs = kAttesaPredefinita);
    // Its statements point at its connection: it stays where it is made.
    Archivio(const Archivio&) = delete;
    Archivio& operator=(const Archivio&) = delete;

    bool Disponibile() const { return connessione.has_value(); }
    // What the user should be told, in Italian: why the archive is not available, or
    // that a damaged one was rebuilt; empty when there is nothing to say.
    const std::string& Avviso() const { return avviso; }
    // Why the archive is not available, in Italian; empty when it is.
    const std::string& Motivo() const { return motivo; }
    const std::string& Percorso() const { return percorso; }

    // The stored files of a folder (its full path), in no particular order.
    std::vector<VoceSalvata> Cartella(const std::string& cartella);

    // Stores the files of a folder (replacing what was stored under their names) and
    // forgets the stored files whose ids are in via, in one transaction. False when
    // it failed (the archive is then unavailable).
    bool Scrivi(const std::string& cartella, std::span<const FileLetto> file,
                std::span<const std::int64_t> via);

    // Forgets the stored folders directly below cartella that are no longer there on
    // disk, with everything below them.
    bool TogliSparite(const std::string& cartella);

    // A file or folder renamed on disk: its stored entries follow, so that the next
    // scan finds them unchanged and search finds the new names.
    bool RinominaFile(const std::string& cartella, const std::string& vecchio,
                      const std::string& nuovo);
    bool RinominaCartella(const std::string& vecchia, const std::string& nuova);

    // The files whose texts hold every word of domanda (in any order, without regard
    // to case or accents, a word matching the start of a longer one), best first (see
    // CampoRicerca's weights), equals by path; only those in sottoCartella or below
    // when it is not empty. nullopt when the archive failed.
    std::optional<std::vector<Trovato>> Cerca(std::string_view domanda,
                                              std::string_view sottoCartella = {});
    // The ids of the files domanda finds, in no order, for the grid; parole is false
    // when domanda holds no word to look for.
    struct IdRicerca {
        bool parole = false;
        std::vector<std::int64_t> id;
    };
    std::optional<IdRicerca> IdTrovati(std::string_view domanda);
    // Every stored file: its id, its folder's id and its name, with the folders' paths
    // by id.
    struct Indice {
        struct File {
            std::int64_t id;
            std::int64_t cartella;
            std::string nome;
        };
        std::vector<File> file;
        std::unordered_map<std::int64_t, std::string> cartelle;
    };
    std::optional<Indice> Indicizza();
    // No file is stored (nullopt when the archive failed).
    std::optional<bool> Vuoto();

private:
    void Apri();
    void Chiudi();
    // A statement of the scan's, prepared once and kept with the connection, reset.
    sqlite::Istruzione& Preparata(const std::string& sql);
    // Forgets the folder via and every folder below it, with their files; inside the
    // caller's transaction.
    void DimenticaAlbero(const std::string& via);
    void Ricostruisci();
    void Guasto(const sqlite::Errore& errore);
    void NonDisponibile(const std::string& motivo);
    // Runs azione; a failure makes the archive unavailable and gives nullopt.
    template <typename Azione> auto Protetto(Azione azione) -> std::optional<decltype(azione())>;

    std::string percorso;
    int attesaMs;
    std::optional<sqlite::Connessione> connessione;
    std::map<std::string, sqlite::Istruzione, std::less<>> preparate; // gone before it
    std::string avviso;
    std::string motivo;
    bool ricostruito = false; // at most once: a new database that fails is not damaged
};

} // namespace velmora::archivio
