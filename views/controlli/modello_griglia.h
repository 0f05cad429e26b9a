// The cells of a TStringGrid: row 0 holds the headings, rows from 1 the data.
// Data cells are read on demand from a source function, so a grid of many thousand
// rows keeps no text per cell; only cells written one by one (headings, edits,
// texts put back after a refused rename) are stored.
#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QString>

#include <functional>

class ModelloGriglia : public QAbstractTableModel {
public:
    // Text of data cell (colonna, riga), riga from 1. It may be asked for any row
    // of the grid and answers an empty text where it has nothing.
    using Fonte = std::function<QString(int colonna, int riga)>;

    explicit ModelloGriglia(QObject* parent = nullptr);

    int Colonne() const { return colonne; }
    int Righe() const { return righe; } // heading row included
    void ImpostaColonne(int n);
    void ImpostaRighe(int n);

    QString Cella(int colonna, int riga) const;
    void ScriviCella(int colonna, int riga, const QString& testo);

    // Gives the grid n rows (heading included) whose data cells come from fonte;
    // every stored data cell is forgotten, the headings stay.
    void Riempi(int n, Fonte fonte);

    // The data row drawn marked (the file being listened to), 0 for none. A refill
    // clears it: the rows then show other entries.
    void SegnaRiga(int riga);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& indice, int ruolo) const override;
    bool setData(const QModelIndex& indice, const QVariant& valore, int ruolo) override;
    QVariant headerData(int sezione, Qt::Orientation verso, int ruolo) const override;
    Qt::ItemFlags flags(const QModelIndex& indice) const override;

private:
    static quint64 Chiave(int colonna, int riga);
    void Ridimensiona(int nuoveColonne, int nuoveRighe);

    int colonne = 5;
    int righe = 5;
    Fonte fonte;
    QHash<quint64, QString> scritte;
    int segnata = 0;
};
