#include "sqlite.h"

#include <sqlite3.h>

#include <utility>

namespace velmora::sqlite {

namespace {

int Lunghezza(std::string_view testo) {
    return static_cast<int>(testo.size());
}

} // namespace

Errore::Errore(int codice_, const std::string& messaggio)
    : std::runtime_error(messaggio), codice(codice_) {}

Connessione::Connessione(const std::string& percorso, bool crea, int attesaMs) {
    const int modo = SQLITE_OPEN_READWRITE | (crea ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX |
                     SQLITE_OPEN_EXRESCODE;
    const int esito = sqlite3_open_v2(percorso.c_str(), &db, modo, nullptr);
    if (esito != SQLITE_OK) {
        // A handle comes back even on failure, holding the message.
        Errore errore(esito, db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(esito));
        sqlite3_close_v2(db);
        db = nullptr;
        throw errore;
    }
    sqlite3_busy_timeout(db, attesaMs);
}

Connessione::~Connessione() {
    sqlite3_close_v2(db);
}

Connessione::Connessione(Connessione&& altra) noexcept : db(std::exchange(altra.db, nullptr)) {}

Connessione& Connessione::operator=(Connessione&& altra) noexcept {
    if (this != &altra) {
        sqlite3_close_v2(db);
        db = std::exchange(altra.db, nullptr);
    }
    return *this;
}

void Connessione::Controlla(int codice) const {
    if (codice != SQLITE_OK && codice != SQLITE_ROW && codice != SQLITE_DONE) {
        throw Errore(codice, sqlite3_errmsg(db));
    }
}

void Connessione::Esegui(std::string_view sql) {
    // sqlite3_exec wants a terminated string.
    const std::string testo(sql);
    Controlla(sqlite3_exec(db, testo.c_str(), nullptr, nullptr, nullptr));
}

Istruzione::Istruzione(Connessione& c, std::string_view sql) : connessione(&c) {
    c.Controlla(sqlite3_prepare_v3(c.Handle(), sql.data(), Lunghezza(sql),
                                   SQLITE_PREPARE_PERSISTENT, &stmt, nullptr));
}

Istruzione::~Istruzione() {
    sqlite3_finalize(stmt);
}

Istruzione::Istruzione(Istruzione&& altra) noexcept
    : connessione(altra.connessione), stmt(std::exchange(altra.stmt, nullptr)) {}

Istruzione& Istruzione::operator=(Istruzione&& altra) noexcept {
    if (this != &altra) {
        sqlite3_finalize(stmt);
        connessione = altra.connessione;
        stmt = std::exchange(altra.stmt, nullptr);
    }
    return *this;
}

Istruzione& Istruzione::Lega(int i, std::int64_t valore) {
    connessione->Controlla(sqlite3_bind_int64(stmt, i, valore));
    return *this;
}

Istruzione& Istruzione::Lega(int i, std::string_view testo) {
    connessione->Controlla(
        sqlite3_bind_text(stmt, i, testo.data(), Lunghezza(testo), SQLITE_TRANSIENT));
    return *this;
}

Istruzione& Istruzione::LegaByte(int i, std::string_view byte) {
    // An empty BLOB rather than NULL: the two read back alike as "".
    connessione->Controlla(sqlite3_bind_blob(stmt, i, byte.empty() ? "" : byte.data(),
                                             Lunghezza(byte), SQLITE_TRANSIENT));
    return *this;
}

Istruzione& Istruzione::LegaNullo(int i) {
    connessione->Controlla(sqlite3_bind_null(stmt, i));
    return *this;
}

Istruzione& Istruzione::LegaPuntatore(int i, void* puntatore, const char* tipo) {
    connessione->Controlla(sqlite3_bind_pointer(stmt, i, puntatore, tipo, nullptr));
    return *this;
}

bool Istruzione::Passo() {
    const int esito = sqlite3_step(stmt);
    if (esito == SQLITE_ROW) {
        return true;
    }
    if (esito == SQLITE_DONE) {
        return false;
    }
    // The statement must not stay half run (it would keep a read lock).
    sqlite3_reset(stmt);
    connessione->Controlla(esito);
    return false;
}

void Istruzione::Esegui() {
    while (Passo()) {
    }
    Azzera();
}

void Istruzione::Azzera() {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
}

std::int64_t Istruzione::Intero(int colonna) const {
    return sqlite3_column_int64(stmt, colonna);
}

std::optional<std::int64_t> Istruzione::InteroONullo(int colonna) const {
    if (Nullo(colonna)) {
        return std::nullopt;
    }
    return Intero(colonna);
}

std::string Istruzione::Testo(int colonna) const {
    // The pointer first, then the size, as SQLite asks.
    const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt, colonna));
    const int n = sqlite3_column_bytes(stmt, colonna);
    return p != nullptr ? std::string(p, static_cast<std::size_t>(n)) : std::string();
}

bool Istruzione::Nullo(int colonna) const {
    return sqlite3_column_type(stmt, colonna) == SQLITE_NULL;
}

Transazione::Transazione(Connessione& c) : connessione(c) {
    connessione.Esegui("BEGIN IMMEDIATE");
}

Transazione::~Transazione() {
    if (aperta) {
        // Nothing to report from a destructor: a failed rollback leaves SQLite to
        // roll back when the connection closes.
        sqlite3_exec(connessione.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transazione::Conferma() {
    connessione.Esegui("COMMIT");
    aperta = false;
}

} // namespace velmora::sqlite
