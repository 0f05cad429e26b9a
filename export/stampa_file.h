// The list export: the whole catalogue as a text file for people, one line per file
// ("Modo A") or grouped by folder with each group's totals ("Modo B"). The file is
// Windows-1252 with CR LF line ends.
#pragma once

#include "dati.h"
#include "esito.h"

#include <array>
#include <functional>
#include <string>
#include <string_view>

// The eleven columns the user can tick, by their fixed numbers; the numbers decide
// which columns still have a separator after them.
enum class Colonna {
    Percorso = 1,
    Directory,
    Nome,
    Durata,
    Byte,
    Tempo,
    Bpm,
    Tracce,
    Tipo,
    Testo,
    Copyright
};

enum class Modo { A, B };

struct OpzioniLista {
    std::array<bool, 11> colonne{true, true, true, true, true, true,
                                 true, true, true, true, true}; // by column number - 1
    Modo modo = Modo::B;

    bool Scelta(Colonna c) const { return colonne[static_cast<std::size_t>(c) - 1]; }
    void Scegli(Colonna c, bool scelta) { colonne[static_cast<std::size_t>(c) - 1] = scelta; }
    // The number of the last ticked column, 0 when none is.
    int UltimaColonna() const;
};

// A calendar date, as written in the list's first line and in the proposed name.
struct Data {
    int giorno = 1;
    int mese = 1;
    int anno = 2000;
};

// Today's local calendar date.
Data Oggi();

// The name offered for a new list: "Elenco5.3.1999.txt" on 5 March 1999.
std::string NomeProposto(Data data);

// The bytes of the list for the whole catalogue, passed to scrivi piece by piece as
// they are made. Moves the catalogue's cursor.
void ProduciLista(dati& catalogo, const OpzioniLista& opzioni, Data data,
                  const std::function<void(std::string_view)>& scrivi);

// Writes the list to nomeFile (UTF-8 path) as it is made, with ScritturaFile: an existing
// file is replaced only by a complete new list.
Esito StampaFile(dati& catalogo, const OpzioniLista& opzioni, Data data,
                 const std::string& nomeFile);
