#include "modello_griglia.h"

#include <QColor>

#include <algorithm>

ModelloGriglia::ModelloGriglia(QObject* parent) : QAbstractTableModel(parent) {}

quint64 ModelloGriglia::Chiave(int colonna, int riga) {
    return (static_cast<quint64>(static_cast<quint32>(riga)) << 32) | static_cast<quint32>(colonna);
}

void ModelloGriglia::Ridimensiona(int nuoveColonne, int nuoveRighe) {
    beginResetModel();
    colonne = std::max(nuoveColonne, 1);
    righe = std::max(nuoveRighe, 1);
    for (auto i = scritte.begin(); i != scritte.end();) {
        const int riga = static_cast<int>(i.key() >> 32);
        const int colonna = static_cast<int>(i.key() & 0xFFFFFFFFu);
        i = (riga >= righe || colonna >= colonne) ? scritte.erase(i) : std::next(i);
    }
    endResetModel();
}

void ModelloGriglia::ImpostaColonne(int n) {
    if (n != colonne) {
        Ridimensiona(n, righe);
    }
}

void ModelloGriglia::ImpostaRighe(int n) {
    if (n != righe) {
        Ridimensiona(colonne, n);
    }
}

QString ModelloGriglia::Cella(int colonna, int riga) const {
    if (colonna < 0 || colonna >= colonne || riga < 0 || riga >= righe) {
        return {};
    }
    const auto scritta = scritte.constFind(Chiave(colonna, riga));
    if (scritta != scritte.constEnd()) {
        return *scritta;
    }
    return riga > 0 && fonte ? fonte(colonna, riga) : QString();
}

void ModelloGriglia::ScriviCella(int colonna, int riga, const QString& testo) {
    if (colonna < 0 || colonna >= colonne || riga < 0 || riga >= righe) {
        return;
    }
    scritte.insert(Chiave(colonna, riga), testo);
    if (riga == 0) {
        emit headerDataChanged(Qt::Horizontal, colonna, colonna);
    } else {
        const QModelIndex cella = index(riga - 1, colonna);
        emit dataChanged(cella, cella);
    }
}

void ModelloGriglia::Riempi(int n, Fonte nuovaFonte) {
    beginResetModel();
    righe = std::max(n, 1);
    fonte = std::move(nuovaFonte);
    segnata = 0;
    for (auto i = scritte.begin(); i != scritte.end();) {
        i = (i.key() >> 32) != 0 ? scritte.erase(i) : std::next(i);
    }
    endResetModel();
}

int ModelloGriglia::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : righe - 1;
}

int ModelloGriglia::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : colonne;
}

void ModelloGriglia::SegnaRiga(int riga) {
    const int prima = segnata;
    segnata = riga;
    for (int r : {prima, riga}) {
        if (r > 0 && r < righe) {
            emit dataChanged(index(r - 1, 0), index(r - 1, colonne - 1), {Qt::BackgroundRole});
        }
    }
}

QVariant ModelloGriglia::data(const QModelIndex& indice, int ruolo) const {
    if (ruolo == Qt::BackgroundRole && indice.isValid() && indice.row() + 1 == segnata) {
        return QColor(255, 255, 160);
    }
    if (!indice.isValid() || (ruolo != Qt::DisplayRole && ruolo != Qt::EditRole)) {
        return {};
    }
    return Cella(indice.column(), indice.row() + 1);
}

bool ModelloGriglia::setData(const QModelIndex& indice, const QVariant& valore, int ruolo) {
    if (!indice.isValid() || ruolo != Qt::EditRole) {
        return false;
    }
    const QString testo = valore.toString();
    if (testo != Cella(indice.column(), indice.row() + 1)) {
        ScriviCella(indice.column(), indice.row() + 1, testo);
    }
    return true;
}

QVariant ModelloGriglia::headerData(int sezione, Qt::Orientation verso, int ruolo) const {
    if (verso != Qt::Horizontal || ruolo != Qt::DisplayRole) {
        return {};
    }
    return Cella(sezione, 0);
}

Qt::ItemFlags ModelloGriglia::flags(const QModelIndex& indice) const {
    if (!indice.isValid()) {
        return Qt::NoItemFlags;
    }
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}
