#include "tfinestra.h"

#include "aspetto.h"

#include <QLabel>
#include <QMouseEvent>

TFinestra::TFinestra(const char* nomeForm, const QString& titolo, QSize area, QPoint posizione,
                     const QFont& carattere)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint) {
    static const bool sostituiti = (aspetto::SostituisciCaratteri(), true);
    Q_UNUSED(sostituiti);
    setObjectName(nomeForm);
    setWindowTitle(titolo);
    setFixedSize(area);
    move(posizione);
    setFont(carattere);
    QPalette tavolozza = palette();
    tavolozza.setColor(QPalette::Window, aspetto::Navy);
    setPalette(tavolozza);
    setAutoFillBackground(true);
}

QLabel* TFinestra::Piastrella(QWidget* genitore, const char* nome, QPoint posizione,
                              const QPixmap& immagine) {
    auto* piastrella = new QLabel(genitore);
    piastrella->setObjectName(nome);
    piastrella->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    piastrella->setPixmap(immagine);
    piastrella->setGeometry(QRect(posizione, QSize(256, 256)));
    piastrella->lower();
    return piastrella;
}

void TFinestra::Trascina(QWidget* sorgente) {
    sorgenti.insert(sorgente);
    sorgente->installEventFilter(this);
}

RisorsaRLabel EtichettaPagina(const char* nome, const char* caption, QRect geometria) {
    return {.nome = nome,
            .caption = caption,
            .geometria = geometria,
            .colorOff = aspetto::Rosso,
            .colorOn = aspetto::Lime,
            .colorActiveOff = aspetto::Acqua,
            .colorActiveOn = aspetto::VerdePrimavera,
            .pixel = 23,
            .coloreFont = aspetto::Rosso};
}

RisorsaRLabel ComandoFinestra(const char* nome, const char* caption, QRect geometria) {
    return {.nome = nome,
            .caption = caption,
            .geometria = geometria,
            .colorOff = aspetto::Rosso,
            .colorOn = aspetto::Lime,
            .colorActiveOff = aspetto::Giallo,
            .colorActiveOn = aspetto::Acqua,
            .pixel = 27,
            .grassetto = true,
            .coloreFont = aspetto::Rosso};
}

RisorsaRLabel ComandoPagina(const char* nome, const char* caption, QRect geometria) {
    return {.nome = nome,
            .caption = caption,
            .geometria = geometria,
            .colorOff = aspetto::Rosso,
            .colorOn = aspetto::Lime,
            .roll = true,
            .pixel = 18,
            .coloreFont = aspetto::Rosso};
}

TRLabel* CreaRLabel(QWidget* genitore, const RisorsaRLabel& risorsa) {
    auto* etichetta = new TRLabel(genitore);
    etichetta->setObjectName(risorsa.nome);
    etichetta->setGeometry(risorsa.geometria);
    etichetta->SetColorOff(risorsa.colorOff);
    etichetta->SetColorOn(risorsa.colorOn);
    etichetta->SetColorActiveOff(risorsa.colorActiveOff);
    etichetta->SetColorActiveOn(risorsa.colorActiveOn);
    if (risorsa.roll) {
        etichetta->SetRoll(true);
    }
    etichetta->setText(risorsa.caption);
    etichetta->setFont(aspetto::Carattere(risorsa.pixel, risorsa.grassetto));
    etichetta->SetColoreFont(risorsa.coloreFont);
    return etichetta;
}

bool TFinestra::eventFilter(QObject* oggetto, QEvent* evento) {
    if (sorgenti.contains(oggetto)) {
        if (evento->type() == QEvent::MouseButtonPress) {
            SfondoMouseDown(static_cast<QMouseEvent&>(*evento));
            return true;
        }
        if (evento->type() == QEvent::MouseMove) {
            SfondoMouseMove(static_cast<QMouseEvent&>(*evento));
            return true;
        }
    }
    return QWidget::eventFilter(oggetto, evento);
}

void TFinestra::SfondoMouseDown(const QMouseEvent& evento) {
    puntoPressione = evento.position().toPoint();
}

void TFinestra::SfondoMouseMove(const QMouseEvent& evento) {
    if (evento.buttons() & Qt::LeftButton) {
        move(pos() + evento.position().toPoint() - puntoPressione);
    }
}
