// A read-only rich-text box with a vertical scroll bar only, written run by run in
// the four report styles: 0 blue, 1 bold red, 2 green, 3 black. A style number
// outside 0..3 writes with the attributes of the previous run.
#pragma once

#include "rapporto.h"

#include <QTextCharFormat>
#include <QTextEdit>

class TRichEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TRichEdit(QWidget* parent = nullptr);

    // Appends testo in the given style. The box is always written from empty, so
    // this is where the caret of a freshly emptied box would put it.
    void ScriviRTF(const QString& testo, int stile);
    // Empties the box; the next run starts from the box's own attributes.
    void Svuota();

    // The box's contents as the runs written since it was last emptied, each with
    // the style it shows (3 for the box's own black).
    const Rapporto& Contenuto() const { return corse; }

private:
    QTextCharFormat formato;
    int stileAttuale = 3;
    Rapporto corse;
};
