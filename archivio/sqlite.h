// A thin layer over SQLite's C API: the connection, prepared statements and
// transactions as owning handles, and every failure as one exception carrying
// SQLite's code. Nothing here knows the catalogue's tables.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::sqlite {

// A failed SQLite call: codice is the extended result code (SQLITE_BUSY,
// SQLITE_CORRUPT, SQLITE_FULL, ...), what() SQLite's own message.
class Errore : public std::runtime_error {
public:
    Errore(int codice, const std::string& messaggio);
    // The primary code, without the extended bits.
    int Primario() const { return codice & 0xFF; }

private:
    int codice;
};

class Istruzione;

// One open database file. Moves, never copies; closed by the destructor.
class Connessione {
public:
    // Opens the file (UTF-8 path), creating it when crea is set. The connection waits
    // up to attesaMs for a lock another connection holds before SQLITE_BUSY.
    Connessione(const std::string& percorso, bool crea, int attesaMs);
    ~Connessione();
    Connessione(Connessione&& altra) noexcept;
    Connessione& operator=(Connessione&& altra) noexcept;
    Connessione(const Connessione&) = delete;
    Connessione& operator=(const Connessione&) = delete;

    // Runs one or more statements that return nothing needed.
    void Esegui(std::string_view sql);
    sqlite3* Handle() const { return db; }

    // Throws Errore for a result code that is not SQLITE_OK, SQLITE_ROW or SQLITE_DONE.
    void Controlla(int codice) const;

private:
    sqlite3* db = nullptr;
};

// A prepared statement. Parameters are numbered from 1, columns from 0.
class Istruzione {
public:
    Istruzione(Connessione& connessione, std::string_view sql);
    ~Istruzione();
    Istruzione(Istruzione&& altra) noexcept;
    Istruzione& operator=(Istruzione&& altra) noexcept;
    Istruzione(const Istruzione&) = delete;
    Istruzione& operator=(const Istruzione&) = delete;

    Istruzione& Lega(int i, std::int64_t valore);
    Istruzione& Lega(int i, std::string_view testo);
    // Bytes kept as they are (a BLOB), whatever their encoding.
    Istruzione& LegaByte(int i, std::string_view byte);
    Istruzione& LegaNullo(int i);
    // A pointer passed to SQLite's own interfaces (as "SELECT fts5(?1)" wants one).
    Istruzione& LegaPuntatore(int i, void* puntatore, const char* tipo);
    Istruzione& Lega(int i, const std::optional<std::int64_t>& valore) {
        return valore ? Lega(i, *valore) : LegaNullo(i);
    }

    // Steps once: true when a row is there to read, false when the statement is done.
    bool Passo();
    // Steps to the end, for a statement that returns no row.
    void Esegui();
    // Ready to run again with new parameters.
    void Azzera();

    std::int64_t Intero(int colonna) const;
    std::optional<std::int64_t> InteroONullo(int colonna) const;
    // Text or BLOB bytes of the column, as stored.
    std::string Testo(int colonna) const;
    bool Nullo(int colonna) const;

private:
    Connessione* connessione;
    sqlite3_stmt* stmt = nullptr;
};

// BEGIN IMMEDIATE at construction (the write lock at once, so a busy database fails
// here rather than half way), ROLLBACK at destruction unless Conferma() ran.
class Transazione {
public:
    explicit Transazione(Connessione& connessione);
    ~Transazione();
    Transazione(const Transazione&) = delete;
    Transazione& operator=(const Transazione&) = delete;
    void Conferma();

private:
    Connessione& connessione;
    bool aperta = true;
};

} // namespace velmora::sqlite
