#include "tdirectorylistbox.h"

#include "errori.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {

constexpr int rientro = 12; // pixels of indentation per level of the tree
constexpr int ruoloLivello = Qt::UserRole;

// Paints each row moved right by its level in the tree.
class DelegatoCartelle : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pittore, const QStyleOptionViewItem& opzione,
               const QModelIndex& indice) const override {
        QStyleOptionViewItem spostata(opzione);
        spostata.rect.setLeft(opzione.rect.left() + indice.data(ruoloLivello).toInt() * rientro);
        QStyledItemDelegate::paint(pittore, spostata, indice);
    }

    QSize sizeHint(const QStyleOptionViewItem& opzione, const QModelIndex& indice) const override {
        QSize misura = QStyledItemDelegate::sizeHint(opzione, indice);
        misura.rwidth() += indice.data(ruoloLivello).toInt() * rientro;
        return misura;
    }
};

} // namespace

// The rows of the list as the view shows them. The current folder's row is taken at
// every change notification, when it is the selected row: the rows up to it form
// the path (open folders, one level each), the rows after it its sub-folders.
class ModelloCartelle : public QAbstractListModel {
public:
    ModelloCartelle(const ListaCartelle& l, QObject* parent)
        : QAbstractListModel(parent), lista(l),
          aperta(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon)),
          chiusa(QApplication::style()->standardIcon(QStyle::SP_DirClosedIcon)) {}

    // The current folder's row, as the rows were last built.
    int Corrente() const { return corrente; }

    void Ricostruisci() {
        beginResetModel();
        corrente = lista.RigaSelezionata();
        endResetModel();
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() ? 0 : lista.Righe();
    }

    QVariant data(const QModelIndex& indice, int ruolo) const override {
        const int riga = indice.row();
        switch (ruolo) {
        case Qt::DisplayRole:
            return QString::fromStdString(lista.TestoRiga(riga));
        case Qt::ToolTipRole:
            return QString::fromStdString(lista.PercorsoRiga(riga));
        case Qt::DecorationRole:
            return riga <= corrente ? aperta : chiusa;
        case ruoloLivello:
            return riga <= corrente ? riga : corrente + 1;
        default:
            return {};
        }
    }

private:
    const ListaCartelle& lista;
    QIcon aperta;
    QIcon chiusa;
    int corrente = -1;
};

TDirectoryListBox::TDirectoryListBox(QWidget* parent)
    : QListView(parent), modello(new ModelloCartelle(lista, this)) {
    setModel(modello);
    setItemDelegate(new DelegatoCartelle(this));
    setSelectionMode(SingleSelection);
    setEditTriggers(NoEditTriggers);
    setUniformItemSizes(true);
    lista.AlCambio([this] { Cambiata(); });
    modello->Ricostruisci();
    setCurrentIndex(modello->index(lista.RigaSelezionata(), 0));
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& indice) { lista.SelezionaRiga(indice.row()); });
}

void TDirectoryListBox::Cambiata() {
    modello->Ricostruisci();
    const QModelIndex selezionata = modello->index(lista.RigaSelezionata(), 0);
    {
        const QSignalBlocker muto(selectionModel());
        selectionModel()->setCurrentIndex(selezionata, QItemSelectionModel::ClearAndSelect);
    }
    if (isVisible()) {
        scrollTo(selezionata);
    }
    Protetto([this] { emit OnChange(); });
}

void TDirectoryListBox::SelezionaCorrente() {
    setCurrentIndex(modello->index(modello->Corrente(), 0));
    lista.SelezionaRiga(modello->Corrente());
}

void TDirectoryListBox::Apri() {
    Protetto([this] { lista.ApriSelezionata(); }); // a folder gone meanwhile
}

void TDirectoryListBox::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_Return || evento->key() == Qt::Key_Enter) {
        Apri();
        return;
    }
    QListView::keyPressEvent(evento);
}

void TDirectoryListBox::mouseDoubleClickEvent(QMouseEvent* evento) {
    if (evento->button() == Qt::LeftButton && indexAt(evento->position().toPoint()).isValid()) {
        Apri();
        return;
    }
    QListView::mouseDoubleClickEvent(evento);
}
