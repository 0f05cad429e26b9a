#include "schema.h"

#include "testo.h"

#include <bit>
#include <optional>
#include <set>
#include <vector>

namespace velmora::archivio {

namespace {

using sqlite::Connessione;

// The steps from one version to the next; step i brings version i to i + 1.
using Passo = void (*)(Connessione&);

void Versione1(Connessione& c) {
    // Folder paths once each; a file is named within its folder. Sizes and times are
    // what the file system said when the file was read (times in nanoseconds since
    // 1970, letto on the system clock), versione the analysis' (kVersioneAnalisi).
    c.Esegui(R"(
        CREATE TABLE cartelle(
            id INTEGER PRIMARY KEY,
            percorso TEXT NOT NULL UNIQUE);
        CREATE TABLE file(
            id INTEGER PRIMARY KEY,
            cartella INTEGER NOT NULL,
            nome TEXT NOT NULL,
            dimensione INTEGER NOT NULL,
            modifica INTEGER NOT NULL,
            letto INTEGER NOT NULL,
            versione INTEGER NOT NULL,
            durata INTEGER NOT NULL,
            lunghezza INTEGER NOT NULL,
            tempo BLOB NOT NULL,
            bpm INTEGER NOT NULL,
            tracce INTEGER NOT NULL,
            copyright BLOB NOT NULL,
            tipo BLOB NOT NULL,
            testo BLOB NOT NULL,
            hash_byte INTEGER,
            impronta INTEGER,
            UNIQUE(cartella, nome));
    )");
    RicreaRicerca(c);
}

// The title, author and language a file names, and how long it plays, stored and
// searched; every file is analysed again once (kVersioneAnalisi).
void Versione2(Connessione& c) {
    c.Esegui(R"(
        ALTER TABLE file ADD COLUMN durata_riproduzione INTEGER NOT NULL DEFAULT 0;
        ALTER TABLE file ADD COLUMN titolo BLOB NOT NULL DEFAULT '';
        ALTER TABLE file ADD COLUMN autore BLOB NOT NULL DEFAULT '';
        ALTER TABLE file ADD COLUMN lingua BLOB NOT NULL DEFAULT '';
    )");
    RicreaRicerca(c);
}

constexpr std::array<Passo, 2> kPassi{Versione1, Versione2};

std::optional<std::int64_t> Firmato(const std::optional<std::uint64_t>& v) {
    return v ? std::optional(std::bit_cast<std::int64_t>(*v)) : std::nullopt;
}

std::optional<std::uint64_t> SenzaSegno(const std::optional<std::int64_t>& v) {
    return v ? std::optional(std::bit_cast<std::uint64_t>(*v)) : std::nullopt;
}

std::int32_t Intero32(const sqlite::Istruzione& s, int colonna) {
    return static_cast<std::int32_t>(s.Intero(colonna));
}

} // namespace

void LegaAnalisi(sqlite::Istruzione& s, int p, const AnalisiFile& a) {
    s.Lega(p, a.durata).Lega(p + 1, a.lunghezza).LegaByte(p + 2, a.tempo);
    s.Lega(p + 3, a.bpm).Lega(p + 4, a.tracce).LegaByte(p + 5, a.copyright);
    s.LegaByte(p + 6, a.tipo).LegaByte(p + 7, a.testo);
    s.Lega(p + 8, Firmato(a.hashByte)).Lega(p + 9, Firmato(a.impronta));
    s.Lega(p + 10, a.durataRiproduzione).LegaByte(p + 11, a.titolo);
    s.LegaByte(p + 12, a.autore).LegaByte(p + 13, a.lingua);
}

AnalisiFile LeggiAnalisi(const sqlite::Istruzione& s, int p) {
    AnalisiFile a;
    a.analizzato = true;
    a.durata = Intero32(s, p);
    a.lunghezza = Intero32(s, p + 1);
    a.tempo = s.Testo(p + 2);
    a.bpm = Intero32(s, p + 3);
    a.tracce = Intero32(s, p + 4);
    a.copyright = s.Testo(p + 5);
    a.tipo = s.Testo(p + 6);
    a.testo = s.Testo(p + 7);
    a.hashByte = SenzaSegno(s.InteroONullo(p + 8));
    a.impronta = SenzaSegno(s.InteroONullo(p + 9));
    a.durataRiproduzione = Intero32(s, p + 10);
    a.titolo = s.Testo(p + 11);
    a.autore = s.Testo(p + 12);
    a.lingua = s.Testo(p + 13);
    return a;
}

TestiRicerca TestiDi(std::string_view cartella, std::string_view nome, const AnalisiFile& a) {
    return {DecodificaTesto(nome),        DecodificaTesto(cartella),
            DecodificaTesto(a.copyright), a.nomiTracce,
            DecodificaTesto(a.testo),     a.testoCompleto,
            DecodificaTesto(a.titolo),    DecodificaTesto(a.autore),
            DecodificaTesto(a.lingua)};
}

std::string ColonneRicerca() {
    std::string colonne;
    for (const CampoRicerca& campo : kCampiRicerca) {
        colonne += (colonne.empty() ? "" : ", ") + std::string(campo.colonna);
    }
    return colonne;
}

int VersioneSchema() {
    return static_cast<int>(kPassi.size());
}

void AggiornaSchema(Connessione& c) {
    const auto versione = [&c] {
        sqlite::Istruzione s(c, "PRAGMA user_version");
        s.Passo();
        return static_cast<int>(s.Intero(0));
    };
    if (versione() == VersioneSchema()) {
        return; // the common case: no write lock taken
    }
    sqlite::Transazione t(c);
    // Read again under the lock: another program may have just done it.
    const int v = versione();
    if (v > VersioneSchema()) {
        throw ErroreVersione();
    }
    for (int i = v; i < VersioneSchema(); ++i) {
        kPassi[static_cast<std::size_t>(i)](c);
    }
    c.Esegui("PRAGMA user_version = " + std::to_string(VersioneSchema()));
    t.Conferma();
}

void RicreaRicerca(Connessione& c) {
    std::set<std::string> vecchie;
    {
        sqlite::Istruzione s(c, "SELECT name FROM pragma_table_info('ricerca')");
        while (s.Passo()) {
            vecchie.insert(s.Testo(0));
        }
    }
    std::string copiate = "rowid";
    for (const CampoRicerca& campo : kCampiRicerca) {
        copiate += ", ";
        copiate += vecchie.contains(std::string(campo.colonna)) ? campo.colonna : "''";
    }
    // Words compared without case and accents. The index keeps where each word is, so
    // the fields a word was found in come from the index alone, never from reading
    // the texts again.
    c.Esegui("CREATE VIRTUAL TABLE ricerca_nuova USING fts5(" + ColonneRicerca() +
             ", tokenize = 'unicode61 remove_diacritics 2')");
    if (!vecchie.empty()) {
        c.Esegui("INSERT INTO ricerca_nuova(rowid, " + ColonneRicerca() + ") SELECT " + copiate +
                 " FROM ricerca");
        c.Esegui("DROP TABLE ricerca");
    }
    c.Esegui("ALTER TABLE ricerca_nuova RENAME TO ricerca");
}

} // namespace velmora::archivio
