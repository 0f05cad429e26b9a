#include "trichedit.h"

#include <QColor>
#include <QFont>
#include <QTextCursor>

#include <array>

namespace {

struct Stile {
    QColor colore;
    bool grassetto;
};

const std::array<Stile, 4> stili{{
    {QColor(0, 0, 255), false},
    {QColor(255, 0, 0), true},
    {QColor(0, 128, 0), false},
    {QColor(0, 0, 0), false},
}};

} // namespace

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent) {
    setReadOnly(true);
    setAcceptRichText(false);
    setUndoRedoEnabled(false);
    setLineWrapMode(WidgetWidth);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void TRichEdit::ScriviRTF(const QString& testo, int stile) {
    if (stile >= 0 && stile < static_cast<int>(stili.size())) {
        stileAttuale = stile;
        formato.setForeground(stili[static_cast<std::size_t>(stile)].colore);
        formato.setFontWeight(stili[static_cast<std::size_t>(stile)].grassetto ? QFont::Bold
                                                                               : QFont::Normal);
    }
    // Always at the end, whatever the user clicked in the box meanwhile; the view and
    // the caret stay where they are, so a new report shows from its first line.
    QTextCursor fine(document());
    fine.movePosition(QTextCursor::End);
    fine.insertText(testo, formato);
    corse.push_back({testo.toStdString(), stileAttuale});
}

void TRichEdit::Svuota() {
    clear();
    formato = QTextCharFormat();
    stileAttuale = 3;
    corse.clear();
}
