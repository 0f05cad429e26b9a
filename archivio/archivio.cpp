#include "archivio.h"

#include "piattaforma.h"
#include "ricerca.h"
#include "testo.h"

#include <sqlite3.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace velmora::archivio {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kMessaggio = "Analisi senza catalogo salvato: ";

std::uint32_t BigEndian(std::string_view b, std::size_t da, std::size_t n) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < n; ++i) {
        v = (v << 8) | static_cast<unsigned char>(b[da + i]);
    }
    return v;
}

bool Esiste(const std::string& percorso) {
    std::error_code ec;
    return fs::exists(PercorsoDaUtf8(percorso), ec);
}

std::uint64_t Dimensione(const std::string& percorso) {
    return DimensioneFile(percorso).value_or(0);
}

// A file that cannot be an intact database: not one at all, or shorter than the size
// its header gives. With a write-ahead log present the header may lag behind it, so
// the size is then left to SQLite.
bool Danneggiato(const std::string& percorso) {
    const std::string testa = LeggiInizioFile(percorso, 100);
    if (testa.empty() && Dimensione(percorso) == 0) {
        return false; // a new, empty file
    }
    if (testa.size() < 100 ||
        testa.compare(0, 16, std::string_view("SQLite format 3\0", 16)) != 0) {
        return true;
    }
    if (Dimensione(percorso + "-wal") > 0) {
        return false;
    }
    const std::uint32_t pagina = BigEndian(testa, 16, 2) == 1 ? 65536 : BigEndian(testa, 16, 2);
    const std::uint32_t pagine = BigEndian(testa, 28, 4);
    // The count in the header holds only when written by the same change as the file.
    const bool valido = BigEndian(testa, 24, 4) == BigEndian(testa, 92, 4);
    return valido && std::uint64_t{pagina} * pagine > Dimensione(percorso);
}

// The reason, in Italian, for a failure of SQLite.
std::string Perche(const sqlite::Errore& e) {
    switch (e.Primario()) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return "il database è in uso da un altro programma";
    case SQLITE_READONLY:
    case SQLITE_PERM:
    case SQLITE_AUTH:
        return "il database non si può modificare";
    case SQLITE_FULL:
        return "il disco è pieno";
    case SQLITE_CANTOPEN:
        return "il database non si può aprire";
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return "il database è danneggiato";
    case SQLITE_IOERR:
        return "errore di lettura o scrittura del database";
    default:
        return std::string("errore del database (") + e.what() + ")";
    }
}

bool Corrotto(const sqlite::Errore& e) {
    return e.Primario() == SQLITE_CORRUPT || e.Primario() == SQLITE_NOTADB;
}

std::string Aggiornamenti() {
    // "durata = excluded.durata, ..." from the list of stored values.
    std::string s;
    std::string_view resto = kColonneAnalisi;
    while (!resto.empty()) {
        const std::size_t virgola = resto.find(", ");
        const std::string_view colonna = resto.substr(0, virgola);
        s += ", " + std::string(colonna) + " = excluded." + std::string(colonna);
        resto = virgola == std::string_view::npos ? std::string_view() : resto.substr(virgola + 2);
    }
    return s;
}

std::string Segnaposti(int primo, std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        s += (i == 0 ? "?" : ", ?") + std::to_string(primo + static_cast<int>(i));
    }
    return s;
}

// The paths below a folder, as a range of the index on the paths: greater than the
// folder's path with a separator after it, less than that with the separator's next
// character in its place.
struct Sotto {
    std::string dopo;
    std::string prima;
    explicit Sotto(const std::string& cartella) : dopo(UnisciPercorso(cartella, "")), prima(dopo) {
        prima.back() = static_cast<char>(prima.back() + 1);
    }
};

} // namespace

bool VoceSalvata::Vale(std::uint64_t dimensioneOra, std::int64_t modificaOra) const {
    return versione == kVersioneAnalisi && dimensione == dimensioneOra && modifica == modificaOra &&
           modifica < letto - kMargineModifica;
}

Archivio::Archivio(std::string percorso_, int attesaMs_)
    : percorso(std::move(percorso_)), attesaMs(attesaMs_) {
    Apri();
}

void Archivio::Apri() {
    if (percorso.empty()) {
        NonDisponibile("il sistema non indica dove tenerlo");
        return;
    }
    std::error_code ec;
    fs::create_directories(PercorsoDaUtf8(percorso).parent_path(), ec);
    if (Danneggiato(percorso)) {
        Ricostruisci();
        return;
    }
    try {
        sqlite::Connessione c(percorso, true, attesaMs);
        // WAL: readers never wait for the writer, and a process killed half way
        // leaves the last committed transaction in place. NORMAL durability is enough
        // for a cache: a power cut may lose the last folders, never the database.
        c.Esegui("PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL");
        AggiornaSchema(c);
        PreparaRicerca(c);
        // A write's texts wait here, in memory, and go into the index in one statement:
        // FTS5 writes its pending terms out at the start of every statement, so one
        // INSERT a file would leave a piece of index a file (about three times the
        // time of the whole scan).
        c.Esegui("PRAGMA temp_store = MEMORY; CREATE TEMP TABLE testi_nuovi(id INTEGER "
                 "PRIMARY KEY, " +
                 ColonneRicerca() + ")");
        connessione = std::move(c);
    } catch (const ErroreVersione&) {
        NonDisponibile("il database è di una versione più recente di Velmora");
    } catch (const sqlite::Errore& e) {
        Guasto(e);
    }
}

void Archivio::Chiudi() {
    preparate.clear(); // the statements first, then their connection
    connessione.reset();
}

sqlite::Istruzione& Archivio::Preparata(const std::string& sql) {
    auto trovata = preparate.find(sql);
    if (trovata == preparate.end()) {
        trovata = preparate.emplace(sql, sqlite::Istruzione(*connessione, sql)).first;
    }
    trovata->second.Azzera();
    return trovata->second;
}

void Archivio::Ricostruisci() {
    Chiudi();
    if (std::exchange(ricostruito, true)) {
        NonDisponibile("il database è danneggiato e non si può ricostruire");
        return;
    }
    std::error_code ec;
    const fs::path p = PercorsoDaUtf8(percorso);
    fs::rename(p, PercorsoDaUtf8(percorso + ".danneggiato"), ec);
    if (ec) {
        NonDisponibile("il database è danneggiato e non si può ricostruire");
        return;
    }
    fs::remove(PercorsoDaUtf8(percorso + "-wal"), ec);
    fs::remove(PercorsoDaUtf8(percorso + "-shm"), ec);
    Apri();
    if (Disponibile()) {
        avviso = "Il catalogo salvato era danneggiato: è stato messo da parte (" +
                 Utf8DaPercorso(p.filename()) + ".danneggiato) e ricostruito";
    }
}

void Archivio::Guasto(const sqlite::Errore& e) {
    Chiudi();
    if (Corrotto(e) && Esiste(percorso)) {
        Ricostruisci();
        if (Disponibile()) {
            // Rebuilt for the next time; this time goes on without it.
            NonDisponibile("il database era danneggiato ed è stato ricostruito per la prossima "
                           "volta");
        }
        return;
    }
    NonDisponibile(Perche(e));
}

void Archivio::NonDisponibile(const std::string& perche) {
    Chiudi();
    motivo = perche;
    avviso = std::string(kMessaggio) + perche;
}

template <typename Azione>
auto Archivio::Protetto(Azione azione) -> std::optional<decltype(azione())> {
    if (!connessione) {
        return std::nullopt;
    }
    try {
        return azione();
    } catch (const sqlite::Errore& e) {
        Guasto(e);
        return std::nullopt;
    }
}

std::vector<VoceSalvata> Archivio::Cartella(const std::string& cartella) {
    return Protetto([&] {
               sqlite::Istruzione& q =
                   Preparata("SELECT f.id, f.nome, f.dimensione, f.modifica, f.letto, "
                             "f.versione, " +
                             std::string(kColonneAnalisi) +
                             " FROM file f JOIN cartelle c ON c.id = f.cartella "
                             "WHERE c.percorso = ?1");
               q.Lega(1, cartella);
               std::vector<VoceSalvata> voci;
               while (q.Passo()) {
                   VoceSalvata& v = voci.emplace_back();
                   v.id = q.Intero(0);
                   v.nome = q.Testo(1);
                   v.dimensione = static_cast<std::uint64_t>(q.Intero(2));
                   v.modifica = q.Intero(3);
                   v.letto = q.Intero(4);
                   v.versione = static_cast<int>(q.Intero(5));
                   v.analisi = LeggiAnalisi(q, 6);
               }
               return voci;
           })
        .value_or(std::vector<VoceSalvata>{});
}

bool Archivio::Scrivi(const std::string& cartella, std::span<const FileLetto> file,
                      std::span<const std::int64_t> via) {
    return Protetto([&] {
               auto& c = *connessione;
               sqlite::Transazione t(c);
               sqlite::Istruzione& togliIndice = Preparata("DELETE FROM ricerca WHERE rowid = ?1");
               sqlite::Istruzione& togliFile = Preparata("DELETE FROM file WHERE id = ?1");
               for (const std::int64_t id : via) {
                   togliIndice.Lega(1, id).Esegui();
                   togliFile.Lega(1, id).Esegui();
               }
               if (!file.empty()) {
                   sqlite::Istruzione& q = Preparata("INSERT INTO cartelle(percorso) VALUES(?1) "
                                                     "ON CONFLICT(percorso) DO UPDATE SET "
                                                     "percorso = excluded.percorso RETURNING id");
                   q.Lega(1, cartella);
                   q.Passo();
                   const std::int64_t idCartella = q.Intero(0);
                   q.Azzera();
                   sqlite::Istruzione& riga = Preparata(
                       "INSERT INTO file(cartella, nome, dimensione, modifica, letto, "
                       "versione, " +
                       std::string(kColonneAnalisi) + ") VALUES(?1, ?2, ?3, ?4, ?5, ?6, " +
                       Segnaposti(7, kNumeroColonneAnalisi) +
                       ") ON CONFLICT(cartella, nome) DO UPDATE SET "
                       "dimensione = excluded.dimensione, modifica = excluded.modifica, "
                       "letto = excluded.letto, versione = excluded.versione" +
                       Aggiornamenti() + " RETURNING id");
                   sqlite::Istruzione& testi =
                       Preparata("INSERT INTO temp.testi_nuovi VALUES(" +
                                 Segnaposti(1, kCampiRicerca.size() + 1) + ")");
                   for (const FileLetto& f : file) {
                       riga.Lega(1, idCartella).Lega(2, f.nome);
                       riga.Lega(3, static_cast<std::int64_t>(f.dimensione));
                       riga.Lega(4, f.modifica).Lega(5, f.letto).Lega(6, kVersioneAnalisi);
                       LegaAnalisi(riga, 7, f.analisi);
                       riga.Passo();
                       const std::int64_t id = riga.Intero(0);
                       riga.Azzera();
                       testi.Lega(1, id);
                       const TestiRicerca suoi = TestiDi(cartella, f.nome, f.analisi);
                       for (std::size_t i = 0; i < suoi.size(); ++i) {
                           testi.Lega(static_cast<int>(i) + 2, suoi[i]);
                       }
                       testi.Esegui();
                   }
                   // The old texts of the files written again out of the index, the new
                   // ones in, each in one statement.
                   Preparata("DELETE FROM ricerca WHERE rowid IN (SELECT id FROM "
                             "temp.testi_nuovi)")
                       .Esegui();
                   Preparata("INSERT INTO ricerca(rowid, " + ColonneRicerca() +
                             ") SELECT * FROM temp.testi_nuovi")
                       .Esegui();
                   Preparata("DELETE FROM temp.testi_nuovi").Esegui();
               }
               sqlite::Istruzione& vuota =
                   Preparata("DELETE FROM cartelle WHERE percorso = ?1 AND NOT EXISTS (SELECT 1 "
                             "FROM file WHERE cartella = cartelle.id)");
               vuota.Lega(1, cartella).Esegui();
               t.Conferma();
               return true;
           })
        .value_or(false);
}

void Archivio::DimenticaAlbero(const std::string& via) {
    const Sotto sotto(via);
    sqlite::Istruzione& scelte = Preparata("SELECT id FROM cartelle WHERE percorso = ?1 OR "
                                           "(percorso > ?2 AND percorso < ?3)");
    scelte.Lega(1, via).Lega(2, sotto.dopo).Lega(3, sotto.prima);
    std::vector<std::int64_t> id;
    while (scelte.Passo()) {
        id.push_back(scelte.Intero(0));
    }
    scelte.Azzera();
    for (const std::int64_t i : id) {
        Preparata("DELETE FROM ricerca WHERE rowid IN (SELECT id FROM file WHERE cartella = ?1)")
            .Lega(1, i)
            .Esegui();
        Preparata("DELETE FROM file WHERE cartella = ?1").Lega(1, i).Esegui();
        Preparata("DELETE FROM cartelle WHERE id = ?1").Lega(1, i).Esegui();
    }
}

bool Archivio::TogliSparite(const std::string& cartella) {
    return Protetto([&] {
               auto& c = *connessione;
               const Sotto sotto(cartella);
               sqlite::Istruzione& q =
                   Preparata("SELECT percorso FROM cartelle WHERE percorso > ?1 AND percorso < ?2");
               q.Lega(1, sotto.dopo).Lega(2, sotto.prima);
               std::vector<std::string> sparite;
               while (q.Passo()) {
                   const std::string figlia = q.Testo(0);
                   if (figlia.find(Separatore(), sotto.dopo.size()) == std::string::npos &&
                       !Esiste(figlia)) {
                       sparite.push_back(figlia);
                   }
               }
               if (sparite.empty()) {
                   return true;
               }
               sqlite::Transazione t(c);
               for (const std::string& via : sparite) {
                   DimenticaAlbero(via);
               }
               t.Conferma();
               return true;
           })
        .value_or(false);
}

bool Archivio::RinominaFile(const std::string& cartella, const std::string& vecchio,
                            const std::string& nuovo) {
    return Protetto([&] {
               auto& c = *connessione;
               sqlite::Transazione t(c);
               // The new name was free on disk: an entry stored under it is of a file
               // gone since, and would make the name stored twice.
               sqlite::Istruzione stantio(c, "SELECT f.id FROM file f JOIN cartelle c ON "
                                             "c.id = f.cartella WHERE c.percorso = ?1 AND "
                                             "f.nome = ?2");
               stantio.Lega(1, cartella).Lega(2, nuovo);
               if (stantio.Passo()) {
                   const std::int64_t id = stantio.Intero(0);
                   stantio.Azzera();
                   Preparata("DELETE FROM ricerca WHERE rowid = ?1").Lega(1, id).Esegui();
                   Preparata("DELETE FROM file WHERE id = ?1").Lega(1, id).Esegui();
               }
               sqlite::Istruzione q(c, "UPDATE file SET nome = ?3 WHERE nome = ?2 AND cartella "
                                       "= (SELECT id FROM cartelle WHERE percorso = ?1) "
                                       "RETURNING id");
               q.Lega(1, cartella).Lega(2, vecchio).Lega(3, nuovo);
               if (q.Passo()) {
                   sqlite::Istruzione r(c, "UPDATE ricerca SET nome = ?2 WHERE rowid = ?1");
                   r.Lega(1, q.Intero(0)).Lega(2, DecodificaTesto(nuovo)).Esegui();
               }
               q.Azzera();
               t.Conferma();
               return true;
           })
        .value_or(false);
}

bool Archivio::RinominaCartella(const std::string& vecchia, const std::string& nuova) {
    return Protetto([&] {
               auto& c = *connessione;
               sqlite::Transazione t(c);
               // The new path was free on disk: folders stored there are gone since,
               // and their paths would be stored twice.
               DimenticaAlbero(nuova);
               // The folder itself and every folder below it: the old path as the
               // start of theirs becomes the new one.
               const Sotto sotto(vecchia);
               sqlite::Istruzione q(c, "UPDATE cartelle SET percorso = ?4 || substr(percorso, "
                                       "length(?1) + 1) WHERE percorso = ?1 OR (percorso > ?2 "
                                       "AND percorso < ?3) RETURNING id, percorso");
               q.Lega(1, vecchia).Lega(2, sotto.dopo).Lega(3, sotto.prima).Lega(4, nuova);
               std::vector<std::pair<std::int64_t, std::string>> cambiate;
               while (q.Passo()) {
                   cambiate.emplace_back(q.Intero(0), q.Testo(1));
               }
               sqlite::Istruzione r(c, "UPDATE ricerca SET cartella = ?2 WHERE rowid IN "
                                       "(SELECT id FROM file WHERE cartella = ?1)");
               for (const auto& [id, percorsoNuovo] : cambiate) {
                   r.Lega(1, id).Lega(2, DecodificaTesto(percorsoNuovo)).Esegui();
               }
               t.Conferma();
               return true;
           })
        .value_or(false);
}

std::optional<std::vector<Trovato>> Archivio::Cerca(std::string_view domanda,
                                                    std::string_view sottoCartella) {
    return Protetto([&] { return TrovaFile(*connessione, domanda, sottoCartella); });
}

std::optional<Archivio::IdRicerca> Archivio::IdTrovati(std::string_view domanda) {
    return Protetto([&] {
        IdRicerca r;
        r.parole = Espressione(*connessione, domanda).has_value();
        if (r.parole) {
            r.id = TrovaId(*connessione, domanda);
        }
        return r;
    });
}

std::optional<bool> Archivio::Vuoto() {
    return Protetto([&] {
        sqlite::Istruzione q(*connessione, "SELECT EXISTS (SELECT 1 FROM file)");
        q.Passo();
        return q.Intero(0) == 0;
    });
}

std::optional<Archivio::Indice> Archivio::Indicizza() {
    return Protetto([&] {
        Indice indice;
        sqlite::Istruzione c(*connessione, "SELECT id, percorso FROM cartelle");
        while (c.Passo()) {
            indice.cartelle.emplace(c.Intero(0), c.Testo(1));
        }
        sqlite::Istruzione f(*connessione, "SELECT id, cartella, nome FROM file");
        while (f.Passo()) {
            indice.file.push_back({f.Intero(0), f.Intero(1), f.Testo(2)});
        }
        return indice;
    });
}

} // namespace velmora::archivio
