// The plain controls of the main window's pages, in the windows' look: text labels
// drawn over the tiles, and check boxes and radio buttons with yellow bold captions
// on navy.
#pragma once

#include "tcustomlabel.h"

#include <QFont>
#include <QRect>
#include <QString>

class QAbstractButton;

// A notebook page is 641 pixels wide.
inline constexpr int LatoPagina = 641;

TCustomLabel* CreaEtichetta(QWidget* genitore, const char* nome, const QString& caption,
                            QRect geometria, const QFont& carattere, const QColor& colore);

// A yellow bold label that sizes itself to its caption: it reaches the right edge of
// the page, so whatever caption it is given later is never cut.
TCustomLabel* CreaEtichettaAuto(QWidget* genitore, const char* nome, const QString& caption,
                                QPoint posizione);

// Gives a check box or radio button its place, caption font and colours.
void PreparaCasella(QAbstractButton* casella, const char* nome, QRect geometria, bool scelta);

template <class Casella>
Casella* CreaCasella(QWidget* genitore, const char* nome, const char* caption, QRect geometria,
                     bool scelta) {
    auto* casella = new Casella(caption, genitore);
    PreparaCasella(casella, nome, geometria, scelta);
    return casella;
}
