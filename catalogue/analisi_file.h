// What the catalogue keeps of one file's analysis, made apart from the catalogue so
// that a file can be analysed away from the code that appends its entry.
#pragma once

#include "dati.h"
#include "piattaforma.h"

#include <cstdint>
#include <optional>
#include <string>

struct AnalisiFile {
    bool analizzato = false; // false: the file was not opened (no detailed analysis)
    std::int32_t durata = 0; // whole seconds; 0 marks a corrupt file
    std::int32_t lunghezza = 0;
    std::string tempo; // the four texts are bytes from the file
    std::int32_t bpm = 0;
    std::int32_t tracce = 0;
    std::string copyright;
    std::string tipo;
    std::string testo;
    std::int32_t durataRiproduzione = 0;
    std::string titolo; // bytes from the file too (titoli.h)
    std::string autore;
    std::string lingua;
    std::optional<std::uint64_t> hashByte; // for finding duplicates (impronta.h)
    std::optional<std::uint64_t> impronta;
    // What the stored catalogue searches besides the values above, as UTF-8: the
    // track names, one a line, and the file's text as the report shows it. Filled
    // only when asked for, and never kept by the catalogue.
    std::string nomiTracce;
    std::string testoCompleto;
};

// Analyses the file at percorsoFile (a UTF-8 path) and keeps the results the
// catalogue shows. Never throws but std::bad_alloc.
AnalisiFile AnalizzaFile(const std::string& percorsoFile);
// The same for the file nome of an open folder, with testi the texts for search too.
// This is the scan's one piece of work per file.
AnalisiFile AnalizzaFile(const velmora::CartellaAperta& cartella, const std::string& nome,
                         bool testi = false);

// Appends the entry of one file; an analysed file without duration is counted as
// corrupt.
void AggiungiVoce(dati& catalogo, const std::string& directory, const std::string& nome,
                  const std::string& percorso, const AnalisiFile& analisi);
