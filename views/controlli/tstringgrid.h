// A string grid in the manner of the classic desktop grid control: a fixed heading
// row (row 0) over data rows numbered from 1, no fixed columns, 24-pixel rows, a
// horizontal scroll bar only (vertical paging is left to a separate scroll bar),
// in-place editing of every data cell with the editor's text copied into the cell
// at every keystroke, and cell, key, mouse and exit events raised in this order:
//   OnSelectCell(col, row)  before the current cell moves (mouse or keyboard);
//   OnClick                 after every move of the current cell and after every
//                           mouse press on a data cell (a press on the current cell
//                           opens its editor);
//   OnKeyDown(key)          before the grid, or its editor, acts on a key;
//   OnKeyUp(key)            after a key is released in the grid or its editor;
//   OnMouseUp               after every mouse button release over the grid;
//   OnExit                  when the focus leaves the grid (and its editor) for
//                           another control of the same window.
// Keys are Qt::Key values. A failure escaping a handler of these events goes to the
// general error handler and the grid goes on. Data cells can come from a source
// function (Riempi), so a grid of tens of thousands of rows stores no text per cell.
#pragma once

#include "modello_griglia.h"

#include <QPointer>
#include <QTableView>

class QLineEdit;
class SelezioneGriglia;
class DelegatoGriglia;
class IntestazioneGriglia;

class TStringGrid : public QTableView {
    Q_OBJECT
public:
    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    int ColCount() const { return modello->Colonne(); }
    void SetColCount(int n);
    int RowCount() const { return modello->Righe(); } // heading row included
    void SetRowCount(int n);
    int ColWidths(int colonna) const;
    void SetColWidths(int colonna, int larghezza);

    QString Cells(int colonna, int riga) const { return modello->Cella(colonna, riga); }
    void SetCells(int colonna, int riga, const QString& testo);
    // n rows (heading included) whose data cells are read from fonte on demand;
    // edited cells are forgotten, the current cell stays where it was when it can.
    void Riempi(int n, ModelloGriglia::Fonte fonte);

    // First visible data row (from 1) and the current cell.
    int TopRow() const;
    void SetTopRow(int riga);
    int Row() const;
    int Col() const;

    void SetFixedColor(const QColor& colore);
    // Marks one data row (0: none) until the next fill.
    void SegnaRiga(int riga) { modello->SegnaRiga(riga); }

    // The open in-place editor, or none.
    QLineEdit* InplaceEditor() const;

signals:
    void OnSelectCell(int colonna, int riga);
    void OnClick();
    void OnKeyDown(int tasto);
    void OnKeyUp(int tasto);
    void OnMouseUp();
    void OnExit();

protected:
    bool event(QEvent* evento) override;
    void keyPressEvent(QKeyEvent* evento) override;
    void keyReleaseEvent(QKeyEvent* evento) override;
    void mousePressEvent(QMouseEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;
    void mouseMoveEvent(QMouseEvent* evento) override;
    void mouseReleaseEvent(QMouseEvent* evento) override;
    void wheelEvent(QWheelEvent* evento) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    friend class SelezioneGriglia;
    friend class DelegatoGriglia;
    friend class IntestazioneGriglia;

    // Puts the current cell on (colonna, riga), clamped to the grid, raising no
    // event and scrolling nothing: what a resize of the grid does to it.
    void PosaCorrente(int colonna, int riga);
    template <typename Cambio> void CambiaConservandoCorrente(Cambio cambio);
    // A key the editor hands back to the grid (vertical moves).
    void MuoviDaEditor(QKeyEvent* evento);
    void EsciVerso(bool avanti);
    bool Contiene(const QWidget* w) const;
    // Puts the top row whole right under the heading.
    void AllineaInAlto();

    ModelloGriglia* modello;
    QPointer<QLineEdit> editor;
    // The watch on the application's focus that raises OnExit, cut when the grid goes:
    // its children's destruction still moves the focus.
    QMetaObject::Connection uscita;
    bool silenzioso = false;   // current cell moved by the grid itself: no events
    bool inoltroTasto = false; // a key the grid passes on to a new editor
};
