#include "caselle.h"

#include "aspetto.h"

#include <QAbstractButton>

using namespace aspetto;

TCustomLabel* CreaEtichetta(QWidget* genitore, const char* nome, const QString& caption,
                            QRect geometria, const QFont& carattere, const QColor& colore) {
    auto* etichetta = new TCustomLabel(genitore);
    etichetta->setObjectName(nome);
    etichetta->setGeometry(geometria);
    etichetta->setText(caption);
    etichetta->setFont(carattere);
    etichetta->SetColoreFont(colore);
    return etichetta;
}

TCustomLabel* CreaEtichettaAuto(QWidget* genitore, const char* nome, const QString& caption,
                                QPoint posizione) {
    return CreaEtichetta(genitore, nome, caption,
                         QRect(posizione, QSize(LatoPagina - posizione.x(), 19)),
                         Carattere(13, true), Giallo);
}

void PreparaCasella(QAbstractButton* casella, const char* nome, QRect geometria, bool scelta) {
    casella->setObjectName(nome);
    casella->setGeometry(geometria);
    casella->setFont(Carattere(13, true));
    // A button paints its background in the button colour.
    QPalette tavolozza = casella->palette();
    tavolozza.setColor(QPalette::WindowText, Giallo);
    tavolozza.setColor(QPalette::ButtonText, Giallo);
    tavolozza.setColor(QPalette::Button, Navy);
    casella->setPalette(tavolozza);
    casella->setAutoFillBackground(true);
    casella->setChecked(scelta);
}
