// The catalogue for spreadsheets and scripts: CSV (RFC 4180, UTF-8 with a byte-order
// mark, a heading row, CR LF) and JSON Lines (one object per file). Both carry the same
// fields and keep every character of names and texts.
#pragma once

#include "dati.h"
#include "esito.h"

#include <string>

enum class FormatoDati { Csv, Json };

// The bytes of the export; the catalogue's cursor is left alone.
std::string TestoDati(const dati& catalogo, FormatoDati formato);

// Writes the export to nomeFile (UTF-8 path) with ScriviFile.
Esito EsportaDati(const dati& catalogo, FormatoDati formato, const std::string& nomeFile);
