// Page 'Visualizza' of the main window: the catalogue in a ten-column grid under
// three filters, paged by the scroll bar beside it, the counts below it, the report
// of the selected row in the report window, and renaming files and folders by
// editing the "Nome" and "Directory" cells.
//
// The controls are public and carry their form names, so the main window and the
// tests reach them directly.
#pragma once

#include "dati.h"
#include "griglia_catalogo.h"

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

class Ascolto;
class MenuGriglia;
class OrdineGriglia;
class RicercaGriglia;
class QCheckBox;
class QRadioButton;
class QScrollBar;
class TCustomLabel;
class TDirectoryListBox;
class TRapporto;
class TStringGrid;
struct Esito;
struct FiltriVisualizza;

class PaginaVisualizza : public QWidget {
    Q_OBJECT

public:
    // catalogo is the main window's; cartelle is the folder list of page 'Analizza',
    // which a folder rename moves away from the folder being renamed; stato is that
    // page's status line. All three outlive the page.
    PaginaVisualizza(dati& catalogo, TDirectoryListBox& cartelle, TCustomLabel& stato,
                     QWidget* genitore = nullptr);

    // The report window, created after the main window: EstraiInfo writes into it and
    // CheckRapporto shows and hides it.
    void CollegaRapporto(TRapporto& rapporto);

    TStringGrid* Grid;
    QScrollBar* ScrollBar1;
    QRadioButton* RadioVisualizza1;
    QRadioButton* RadioVisualizza2;
    QRadioButton* RadioVisualizza3;
    TCustomLabel* LabelRiepilogo;
    TCustomLabel* LabelRiepilogo2;
    TCustomLabel* LabelRiepilogo3;
    QCheckBox* CheckRapporto;

    // The grid's right-click menu.
    MenuGriglia* Menu;
    // Sorting by a click on a heading, and the find field that narrows the grid.
    OrdineGriglia* Ordine;
    RicercaGriglia* Ricerca;

    // The grid row last taken in hand by a click or a key, 0 for none.
    int UltimaRiga = 0;

    // Opening the page, after the grid was filled: the counts, and the report window
    // brought up when CheckRapporto is checked.
    void Mostra();
    // The end of a scan: each filter enabled while it lists something, and the first
    // one checked when the checked one lists nothing.
    void AbilitaFiltri(const FiltriVisualizza& filtri);
    // Before the catalogue is emptied: the grid lets go of its entries, the player
    // stops and the report window goes back to its help text.
    void StaccaDalCatalogo();
    // Listening: the SoundFont of the next file played, and stopping what plays.
    void ImpostaSoundFont(const QString& file);
    void FermaAscolto();
    // Writes the heading of one grid column.
    void ScriviIntestazione(int colonna, const QString& testo);

    // The grid, its paging and its events. With a search or a sort active the grid
    // shows the filter's entries found, in the order asked for.
    void VisualizzaGriglia();
    void RadioVisualizza1Click();
    void ScrollBar1Change();
    void GridClick();
    void GridKeyDown(int tasto);
    void GridKeyUp(int tasto);
    void GridMouseUp();
    void GridSelectCell(int colonna, int riga);
    void GridExit();
    void AdattaUltimaColonna();
    // The full path of the file on a data row; empty for a row with no entry behind it.
    std::string PercorsoDellaRiga(int riga);
    // The filter of the checked radio button.
    Filtro FiltroAttivo() const;

    // The report of the grid's current row, written into the report window.
    void EstraiInfo();
    void ScriviRTF(const QString& testo, int stile);
    void CheckRapportoClick();

    // The other files of the catalogue identical to the file of a data row or with the
    // same music, with their folders, in the report window ("Mostra i doppioni").
    void MostraDoppioni(int riga);

    // Renaming from the "Nome" and "Directory" cells of the current row. A refused
    // rename puts the stored name back in the cell and says why on the status line.
    void Rename();
    void RenameDir();

private:
    void CreaControlli();
    void Collega();
    // The entry behind a data row (the catalogue's cursor on it), or none: the active
    // filter's riga-th entry, or with a search or sort the row's own.
    const dati::elemento* VoceDellaRiga(int riga);
    // The entry behind the grid's current row (the catalogue's cursor on it), or none.
    const dati::elemento* EntryCorrente();
    void Rifiutata(const Esito& esito);

    dati& catalogo;
    // Listening to the files of the grid.
    Ascolto* Riproduttore;
    TDirectoryListBox& Directory;
    TCustomLabel& LabelStato;
    TRapporto* Rapporto = nullptr;
    // The rows of the last fill, when it was narrowed or sorted.
    std::optional<std::vector<const dati::elemento*>> righe;
};
