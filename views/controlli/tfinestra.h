// A skinned window: borderless, navy, of a fixed client size, covered with
// 256 by 256 tiles of one background picture, and moved by pressing the left
// mouse button on its background (or on a plain text label) and dragging.
#pragma once

#include "aspetto.h"
#include "trlabel.h"

#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QWidget>

class QLabel;
class QMouseEvent;

// A roll-over label as the window's resource stores it.
struct RisorsaRLabel {
    const char* nome;
    const char* caption;
    QRect geometria;
    QColor colorOff;
    QColor colorOn;
    QColor colorActiveOff = aspetto::Nero;
    QColor colorActiveOn = aspetto::Nero;
    bool roll = false;
    int pixel = 13;
    bool grassetto = false;
    QColor coloreFont = aspetto::Nero;
};

// The three kinds of roll-over label of the windows, red and lit lime:
// a page label (active aqua and spring green, 23 pixels),
RisorsaRLabel EtichettaPagina(const char* nome, const char* caption, QRect geometria);
// a window command "-" or "x" (active yellow and aqua, bold 27 pixels),
RisorsaRLabel ComandoFinestra(const char* nome, const char* caption, QRect geometria);
// and a command on a page, stored rolled (18 pixels).
RisorsaRLabel ComandoPagina(const char* nome, const char* caption, QRect geometria);

// Creates the label and writes its properties in the order a window resource loads
// them: the colours, Roll, then caption and font, whose colour is the one the label
// shows when the window opens.
TRLabel* CreaRLabel(QWidget* genitore, const RisorsaRLabel& risorsa);

class TFinestra : public QWidget {
    Q_OBJECT

public:
    // nomeForm is the window's object name, titolo its caption in the taskbar.
    TFinestra(const char* nomeForm, const QString& titolo, QSize area, QPoint posizione,
              const QFont& carattere);

protected:
    // A tile showing the picture at its natural size from its top-left corner;
    // the parent clips it.
    static QLabel* Piastrella(QWidget* genitore, const char* nome, QPoint posizione,
                              const QPixmap& immagine);

    // Pressing on the control and moving with the left button held drags the
    // window.
    void Trascina(QWidget* sorgente);

    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    // Any button: remembers the press point, in the control's coordinates.
    void SfondoMouseDown(const QMouseEvent& evento);
    // Left button held: shifts the window by the pointer's travel from the
    // press point, which so stays under the pointer.
    void SfondoMouseMove(const QMouseEvent& evento);

    QSet<const QObject*> sorgenti;
    QPoint puntoPressione;
};
