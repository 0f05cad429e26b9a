#include "trlabel.h"

#include <QMouseEvent>
#include <typeinfo>

TRLabel::TRLabel(QWidget* genitore) : TCustomLabel(genitore) {
    // Moves arrive without a pressed button too, so the label lights up under
    // the pointer.
    setMouseTracking(true);
}

void TRLabel::SetColorOff(const QColor& colore) {
    coloreOff = colore;
    SetColoreFont(colore);
}

void TRLabel::SetActive(bool valore) {
    attivo = valore;
    if (valore) {
        for (TRLabel* altro : Gruppo()) {
            altro->SetActive(false);
        }
    }
    SetRoll(true);
}

void TRLabel::SetRoll(bool valore) {
    acceso = valore;
    if (valore) {
        for (TRLabel* altro : Gruppo()) {
            altro->SetRoll(false);
        }
    }
    if (valore) {
        SetColoreFont(attivo ? coloreActiveOn : coloreOn);
    } else {
        SetColoreFont(attivo ? coloreActiveOff : coloreOff);
    }
}

void TRLabel::mouseMoveEvent(QMouseEvent* evento) {
    SetRoll(true);
    evento->accept();
}

void TRLabel::leaveEvent(QEvent* evento) {
    SetRoll(false);
    TCustomLabel::leaveEvent(evento);
}

QList<TRLabel*> TRLabel::Gruppo() const {
    QWidget* genitore = parentWidget();
    if (genitore == nullptr || !genitore->isWindow()) {
        return {};
    }
    QList<TRLabel*> gruppo;
    for (TRLabel* etichetta : genitore->findChildren<TRLabel*>()) {
        if (etichetta != this && typeid(*etichetta) == typeid(TRLabel) &&
            etichetta->window() == genitore) {
            gruppo.append(etichetta);
        }
    }
    return gruppo;
}
