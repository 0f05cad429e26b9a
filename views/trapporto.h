// The report window: a second skinned window, 512 by 256, hidden at start and
// living for the whole run. Its rich-text box RichEdit1 holds the report of the
// file selected in the catalogue grid.
#pragma once

#include "tfinestra.h"

class QTextEdit;

class TRapporto : public TFinestra {
    Q_OBJECT

public:
    // sfondo is the picture of the main window's first tile, copied into this
    // window's two tiles.
    explicit TRapporto(const QPixmap& sfondo);

    TRLabel* Salva;
    TRLabel* Chiudi;
    QTextEdit* RichEdit1;

    // The close label: hides the window.
    void ChiudiClick();
    // The save label: writes the report to a file.
    void SalvaClick();
};
