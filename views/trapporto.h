// The report window: a second skinned window, 512 by 256, hidden at start and
// living for the whole run. Its rich-text box RichEdit1 holds the report of the
// file selected in the catalogue grid.
#pragma once

#include "tfinestra.h"
#include "tsavedialog.h"

class QCheckBox;
class TRichEdit;

class TRapporto : public TFinestra {
    Q_OBJECT

public:
    // sfondo is the picture of the main window's first tile, copied into this
    // window's two tiles.
    explicit TRapporto(const QPixmap& sfondo);

    TRLabel* Salva;
    TRLabel* Chiudi;
    TRichEdit* RichEdit1;
    // "Analisi del midi" as Rich Text Format (filter 1) or plain text (filter 2);
    // the filter chosen last is offered again.
    TSaveDialog SaveDialog1;
    // The main window's check box that shows and hides this window.
    QCheckBox* CheckRapporto = nullptr;

    // The three lines of help the window starts with, also shown again when a new
    // scan replaces the catalogue the last report came from.
    void MostraAiuto();

    // The close label: unchecks CheckRapporto, which hides the window.
    void ChiudiClick();
    // The save label: writes the report in the format of the filter chosen; a file
    // that cannot be written is reported and an existing one is left as it was.
    void SalvaClick();
};
