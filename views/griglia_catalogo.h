// The catalogue as the grid of page 'Visualizza' shows it: the three filters, the
// entry behind a grid row, the texts of the ten columns, the filling of the grid
// with its paging scroll bar, and the fitting of the last column.
#pragma once

#include "dati.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QScrollBar;
class TStringGrid;

// The grid's filters, in the order of their radio buttons.
enum class Filtro { Tutti, ConTesto, Corrotti };

constexpr int colonneGriglia = 10;
extern const std::array<const char*, colonneGriglia> intestazioniGriglia;
extern const std::array<int, colonneGriglia> larghezzeGriglia;

// Number of entries the filter lists.
std::int32_t Conta(const dati& catalogo, Filtro filtro);

// The entry behind data row riga (from 1): the filter's first entry, then its next
// one riga - 1 times. Leaves the catalogue's cursor on it; none past the last one.
const dati::elemento* EntryDellaRiga(dati& catalogo, Filtro filtro, int riga);

// Text of a grid column (0 to 9) for an entry.
std::string TestoColonna(const dati::elemento& voce, int colonna);

// Ten columns of the initial widths and the grid's ten rows.
void PreparaGriglia(TStringGrid& griglia);

// True when the filter lists the entry: what its cursor moves look for.
bool NelFiltro(const dati::elemento& voce, Filtro filtro);

// The entries the filter lists, in catalogue order.
std::vector<const dati::elemento*> VociDelFiltro(dati& catalogo, Filtro filtro);

// Fills the grid through the filter and resets the paging: an empty catalogue gives
// nine empty rows (scroll range up to 10, position and top row untouched); n entries
// give n data rows, the range 1 to max(1, n - 8), position and top row 1. The rows
// read their texts from the entries when shown, so the catalogue must not lose its
// entries while the grid shows them (see Svuota below).
void RiempiGriglia(TStringGrid& griglia, QScrollBar& barra, dati& catalogo, Filtro filtro);
// The same with the rows given, one entry each: none gives nine empty rows, the
// scroll range 1 to 1 and position 1.
void RiempiGriglia(TStringGrid& griglia, QScrollBar& barra,
                   std::vector<const dati::elemento*> voci);

// Detaches the grid from the catalogue's entries (the rows show empty cells), before
// the catalogue is emptied.
void StaccaGriglia(TStringGrid& griglia);

// The width the last column must take so that the columns after the first one,
// counted from the right, that reaches the grid's width fill that width less 8 (a
// grid scrolled fully right then ends flush with its edge). A last column as wide
// as the grid on its own keeps its width.
int LarghezzaUltimaColonna(const std::vector<int>& larghezze, int larghezzaGriglia);
