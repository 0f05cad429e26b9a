// The program's button: a transparent label whose caption lights up while the
// mouse is over it ("roll") and that can be marked as the current choice of its
// group ("active"), such as the label of the page being shown.
//
// The group of a label placed directly on a window is every other TRLabel of
// that window, wherever it stands (on the window or on a page of its notebook);
// a label placed inside another control, such as a notebook page, has an empty
// group, although the window's own labels still reach it. Only TRLabel itself
// counts, not classes derived from it.
#pragma once

#include "tcustomlabel.h"

#include <QList>

class TRLabel : public TCustomLabel {
    Q_OBJECT
    Q_PROPERTY(QColor ColorOff READ ColorOff WRITE SetColorOff)
    Q_PROPERTY(QColor ColorOn READ ColorOn WRITE SetColorOn)
    Q_PROPERTY(QColor ColorActiveOff READ ColorActiveOff WRITE SetColorActiveOff)
    Q_PROPERTY(QColor ColorActiveOn READ ColorActiveOn WRITE SetColorActiveOn)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(bool Roll READ Roll WRITE SetRoll)

public:
    explicit TRLabel(QWidget* genitore = nullptr);

    // Colour of the caption when neither rolled nor active; writing it shows it
    // at once, whatever the state.
    QColor ColorOff() const { return coloreOff; }
    void SetColorOff(const QColor& colore);

    // The other three colours are only stored: they show at the next Roll write.
    QColor ColorOn() const { return coloreOn; }
    void SetColorOn(const QColor& colore) { coloreOn = colore; }
    QColor ColorActiveOff() const { return coloreActiveOff; }
    void SetColorActiveOff(const QColor& colore) { coloreActiveOff = colore; }
    QColor ColorActiveOn() const { return coloreActiveOn; }
    void SetColorActiveOn(const QColor& colore) { coloreActiveOn = colore; }

    // Writing true clears Active on the rest of the group; in every case the
    // label is then rolled (SetRoll(true)).
    bool Active() const { return attivo; }
    void SetActive(bool valore);

    // Writing true darkens the rest of the group; in every case the caption
    // takes the colour of the new (Roll, Active) pair.
    bool Roll() const { return acceso; }
    void SetRoll(bool valore);

protected:
    void mouseMoveEvent(QMouseEvent* evento) override;
    void leaveEvent(QEvent* evento) override;

private:
    QList<TRLabel*> Gruppo() const;

    QColor coloreOff{0, 0, 0};
    QColor coloreOn{0, 0, 0};
    QColor coloreActiveOff{0, 0, 0};
    QColor coloreActiveOn{0, 0, 0};
    bool attivo = false;
    bool acceso = false;
};
