#include "tstringgrid.h"

#include "errori.h"

#include <QApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int altezzaRiga = 24;
constexpr int larghezzaColonna = 64;

bool Invio(int tasto) {
    return tasto == Qt::Key_Return || tasto == Qt::Key_Enter;
}

} // namespace

// Moves of the current cell pass through here, so the grid can raise OnSelectCell
// before the move and OnClick after it.
class SelezioneGriglia : public QItemSelectionModel {
public:
    SelezioneGriglia(QAbstractItemModel* m, TStringGrid* g)
        : QItemSelectionModel(m, g), griglia(g) {}

    void setCurrentIndex(const QModelIndex& indice, SelectionFlags comando) override {
        if (griglia->silenzioso || !indice.isValid() || indice == currentIndex()) {
            QItemSelectionModel::setCurrentIndex(indice, comando);
            return;
        }
        const int riga = indice.row();
        const int colonna = indice.column();
        Protetto([&] { emit griglia->OnSelectCell(colonna, riga + 1); });
        // The handler may have refilled the grid: aim at the same place again.
        const int righe = model()->rowCount();
        if (righe > 0) {
            QItemSelectionModel::setCurrentIndex(model()->index(std::min(riga, righe - 1), colonna),
                                                 comando);
        }
        Protetto([&] { emit griglia->OnClick(); });
    }

private:
    TStringGrid* griglia;
};

// The in-place editor: a line edit that writes into its cell at every keystroke and
// reports its keys to the grid before acting on them.
class DelegatoGriglia : public QStyledItemDelegate {
public:
    explicit DelegatoGriglia(TStringGrid* g) : QStyledItemDelegate(g), griglia(g) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex& indice) const override {
        auto* riga = new QLineEdit(parent);
        riga->setFrame(false);
        riga->setProperty("originale", indice.data(Qt::EditRole));
        const QPersistentModelIndex cella(indice);
        QObject::connect(riga, &QLineEdit::textEdited, riga, [cella](const QString& testo) {
            if (cella.isValid()) {
                const_cast<QAbstractItemModel*>(cella.model())->setData(cella, testo);
            }
        });
        griglia->editor = riga;
        return riga;
    }

    void setEditorData(QWidget* editor, const QModelIndex& indice) const override {
        auto* riga = static_cast<QLineEdit*>(editor);
        const QString testo = indice.data(Qt::EditRole).toString();
        if (riga->text() != testo) { // not while the cell only follows the editor
            riga->setText(testo);
        }
    }

    void destroyEditor(QWidget* editor, const QModelIndex& indice) const override {
        if (griglia->editor == editor) {
            griglia->editor = nullptr;
        }
        QStyledItemDelegate::destroyEditor(editor, indice);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* m,
                      const QModelIndex& indice) const override {
        m->setData(indice, static_cast<QLineEdit*>(editor)->text());
    }

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override {
        auto* riga = qobject_cast<QLineEdit*>(oggetto);
        if (riga == nullptr) {
            return QStyledItemDelegate::eventFilter(oggetto, evento);
        }
        switch (evento->type()) {
        case QEvent::KeyPress:
            return TastoGiu(riga, static_cast<QKeyEvent*>(evento));
        case QEvent::KeyRelease: {
            auto* tasto = static_cast<QKeyEvent*>(evento);
            if (!tasto->isAutoRepeat()) {
                Protetto([&] { emit griglia->OnKeyUp(tasto->key()); });
            }
            return false;
        }
        case QEvent::MouseButtonRelease:
            Protetto([&] { emit griglia->OnMouseUp(); });
            return false;
        default:
            return QStyledItemDelegate::eventFilter(oggetto, evento);
        }
    }

private:
    bool TastoGiu(QLineEdit* riga, QKeyEvent* tasto) {
        if (griglia->inoltroTasto) {
            return false; // the key that opened the editor: already reported
        }
        Protetto([&] { emit griglia->OnKeyDown(tasto->key()); });
        if (griglia->editor != riga) {
            return true; // the handler refilled the grid, which closed the editor
        }
        switch (tasto->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            Chiudi(riga);
            return true;
        case Qt::Key_Escape: {
            const QModelIndex cella = griglia->currentIndex();
            griglia->model()->setData(cella, riga->property("originale"));
            emit closeEditor(riga, RevertModelCache);
            return true;
        }
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            Chiudi(riga);
            griglia->EsciVerso(tasto->key() == Qt::Key_Tab &&
                               !(tasto->modifiers() & Qt::ShiftModifier));
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            Chiudi(riga);
            griglia->MuoviDaEditor(tasto);
            return true;
        default:
            return false;
        }
    }

    void Chiudi(QLineEdit* riga) {
        emit commitData(riga);
        emit closeEditor(riga, NoHint);
    }

    TStringGrid* griglia;
};

// The heading row; a mouse release on it (after a column was sized) is a release
// over the grid.
class IntestazioneGriglia : public QHeaderView {
public:
    explicit IntestazioneGriglia(TStringGrid* g) : QHeaderView(Qt::Horizontal, g), griglia(g) {}

protected:
    void mouseReleaseEvent(QMouseEvent* evento) override {
        QHeaderView::mouseReleaseEvent(evento);
        Protetto([&] { emit griglia->OnMouseUp(); });
    }

private:
    TStringGrid* griglia;
};

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent), modello(new ModelloGriglia(this)) {
    setModel(modello);
    QItemSelectionModel* predefinita = selectionModel();
    setSelectionModel(new SelezioneGriglia(modello, this));
    delete predefinita;
    setItemDelegate(new DelegatoGriglia(this));

    auto* intestazione = new IntestazioneGriglia(this);
    setHorizontalHeader(intestazione);
    intestazione->setFixedHeight(altezzaRiga);
    intestazione->setDefaultSectionSize(larghezzaColonna);
    intestazione->setMinimumSectionSize(1);
    intestazione->setSectionResizeMode(QHeaderView::Interactive);
    intestazione->setSectionsClickable(false);
    intestazione->setHighlightSections(false);
    intestazione->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(altezzaRiga);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollMode(ScrollPerPixel);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setEditTriggers(EditKeyPressed | AnyKeyPressed);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    PosaCorrente(0, 1);

    uscita =
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget* prima, QWidget* dopo) {
            if (Contiene(prima) && dopo != nullptr && !Contiene(dopo) &&
                dopo->window() == window()) {
                Protetto([&] { emit OnExit(); });
            }
        });
}

TStringGrid::~TStringGrid() {
    disconnect(uscita);
}

template <typename Cambio> void TStringGrid::CambiaConservandoCorrente(Cambio cambio) {
    const int riga = Row();
    const int colonna = Col();
    // The change closes an open editor: the focus stays with the grid rather than
    // moving on to the next control of the window.
    if (editor != nullptr && editor->hasFocus()) {
        setFocus(Qt::OtherFocusReason);
    }
    cambio();
    PosaCorrente(colonna, riga);
}

void TStringGrid::SetColCount(int n) {
    CambiaConservandoCorrente([&] { modello->ImpostaColonne(n); });
}

void TStringGrid::SetRowCount(int n) {
    CambiaConservandoCorrente([&] { modello->ImpostaRighe(n); });
}

void TStringGrid::Riempi(int n, ModelloGriglia::Fonte fonte) {
    CambiaConservandoCorrente([&] { modello->Riempi(n, std::move(fonte)); });
}

int TStringGrid::ColWidths(int colonna) const {
    return horizontalHeader()->sectionSize(colonna);
}

void TStringGrid::SetColWidths(int colonna, int larghezza) {
    horizontalHeader()->resizeSection(colonna, larghezza);
}

void TStringGrid::SetCells(int colonna, int riga, const QString& testo) {
    modello->ScriviCella(colonna, riga, testo);
}

int TStringGrid::TopRow() const {
    return verticalScrollBar()->value() + 1;
}

void TStringGrid::SetTopRow(int riga) {
    executeDelayedItemsLayout(); // the scroll range must know the current row count
    verticalScrollBar()->setValue(riga - 1);
}

int TStringGrid::Row() const {
    const QModelIndex cella = currentIndex();
    return cella.isValid() ? cella.row() + 1 : 1;
}

int TStringGrid::Col() const {
    const QModelIndex cella = currentIndex();
    return cella.isValid() ? cella.column() : 0;
}

void TStringGrid::SetFixedColor(const QColor& colore) {
    QPalette tavolozza = horizontalHeader()->palette();
    tavolozza.setColor(QPalette::Button, colore);
    tavolozza.setColor(QPalette::Window, colore);
    horizontalHeader()->setPalette(tavolozza);
}

QLineEdit* TStringGrid::InplaceEditor() const {
    return editor;
}

void TStringGrid::PosaCorrente(int colonna, int riga) {
    const int righe = modello->rowCount();
    const int colonne = modello->columnCount();
    if (righe == 0 || colonne == 0) {
        return;
    }
    const QModelIndex cella =
        modello->index(std::clamp(riga - 1, 0, righe - 1), std::clamp(colonna, 0, colonne - 1));
    const bool scorri = hasAutoScroll();
    silenzioso = true;
    setAutoScroll(false);
    selectionModel()->setCurrentIndex(cella, QItemSelectionModel::ClearAndSelect);
    setAutoScroll(scorri);
    silenzioso = false;
}

bool TStringGrid::Contiene(const QWidget* w) const {
    return w != nullptr && (w == this || isAncestorOf(w));
}

bool TStringGrid::event(QEvent* evento) {
    // Every key pressed in the grid itself, Tab included (which moves the focus on
    // before keyPressEvent would see it).
    if (evento->type() == QEvent::KeyPress) {
        Protetto([&] { emit OnKeyDown(static_cast<QKeyEvent*>(evento)->key()); });
    }
    return QTableView::event(evento);
}

void TStringGrid::keyPressEvent(QKeyEvent* evento) {
    if (Invio(evento->key())) {
        // Enter opens the editor of the current cell (the editor closes on Enter).
        if (currentIndex().isValid()) {
            edit(currentIndex());
        }
        evento->accept();
        return;
    }
    inoltroTasto = true;
    QTableView::keyPressEvent(evento);
    inoltroTasto = false;
}

void TStringGrid::keyReleaseEvent(QKeyEvent* evento) {
    QTableView::keyReleaseEvent(evento);
    if (!evento->isAutoRepeat()) {
        Protetto([&] { emit OnKeyUp(evento->key()); });
    }
}

void TStringGrid::mousePressEvent(QMouseEvent* evento) {
    if (evento->button() != Qt::LeftButton) {
        evento->accept();
        return;
    }
    const QModelIndex cella = indexAt(evento->position().toPoint());
    if (cella.isValid() && cella == currentIndex()) {
        setFocus(Qt::MouseFocusReason);
        edit(cella);
        Protetto([&] { emit OnClick(); });
        return;
    }
    QTableView::mousePressEvent(evento);
}

void TStringGrid::mouseDoubleClickEvent(QMouseEvent* evento) {
    mousePressEvent(evento);
}

void TStringGrid::mouseMoveEvent(QMouseEvent* evento) {
    // Dragging with a button held neither moves the current cell nor selects.
    if (evento->buttons() == Qt::NoButton) {
        QTableView::mouseMoveEvent(evento);
    }
}

void TStringGrid::mouseReleaseEvent(QMouseEvent* evento) {
    QTableView::mouseReleaseEvent(evento);
    Protetto([&] { emit OnMouseUp(); });
}

void TStringGrid::wheelEvent(QWheelEvent* evento) {
    // Vertical movement belongs to the paging scroll bar beside the grid.
    evento->ignore();
}

void TStringGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    AllineaInAlto();
}

void TStringGrid::updateGeometries() {
    QTableView::updateGeometries();
    AllineaInAlto();
}

void TStringGrid::AllineaInAlto() {
    // At the end of its range the table lines the last row up with the bottom edge,
    // which leaves the top row half hidden under the heading; here every page starts
    // with a whole row, and the last one ends with the last row whole above the edge.
    const int inizio = verticalHeader()->sectionPosition(verticalScrollBar()->value());
    if (inizio >= 0 && verticalHeader()->offset() != inizio) {
        verticalHeader()->setOffset(inizio);
        viewport()->update();
    }
}

void TStringGrid::MuoviDaEditor(QKeyEvent* evento) {
    QTableView::keyPressEvent(evento);
}

void TStringGrid::EsciVerso(bool avanti) {
    QTableView::focusNextPrevChild(avanti);
}
