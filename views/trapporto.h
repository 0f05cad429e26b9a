// The report window: a second skinned window, 512 by 256, hidden at start and
// living for the whole run. Its rich-text box RichEdit1 holds the report of the
// file selected in the catalogue grid.
#pragma once

#include "parole.h"
#include "tfinestra.h"
#include "tsavedialog.h"

#include <functional>

class QCheckBox;
class TRichEdit;
class VistaParole;

class TRapporto : public TFinestra {
    Q_OBJECT

public:
    // sfondo is the picture of the main window's first tile, copied into this
    // window's two tiles.
    explicit TRapporto(const QPixmap& sfondo);

    TRLabel* Salva;
    TRLabel* Chiudi;
    TRichEdit* RichEdit1;
    // In RichEdit1's place while a file with words plays from the grid.
    VistaParole* Parole;
    // "Analisi del midi" as Rich Text Format (filter 1) or plain text (filter 2);
    // the filter chosen last is offered again.
    TSaveDialog SaveDialog1;
    // The main window's check box that shows and hides this window.
    QCheckBox* CheckRapporto = nullptr;

    // The three lines of help the window starts with, also shown again when a new
    // scan replaces the catalogue the last report came from.
    void MostraAiuto();

    // The words of the file that starts playing, following posizione (the player's
    // seconds); FineParole() gives the report its place back when it stops.
    void MostraParole(velmora::Parole parole, std::function<double()> posizione);
    void FineParole();

    // The close label: unchecks CheckRapporto, which hides the window.
    void ChiudiClick();
    // The save label: writes the report in the format of the filter chosen; a file
    // that cannot be written is reported and an existing one is left as it was.
    void SalvaClick();
};
