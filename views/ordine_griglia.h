// Sorting the grid by a column: a click on a heading sorts by that column, a second
// click reverses the order, a third brings back the catalogue's order. The heading
// keeps its text; a small triangle drawn at its right end shows the direction.
#pragma once

#include "dati.h"

#include <QObject>

#include <functional>
#include <vector>

class FrecciaOrdine;
class TStringGrid;

struct Ordine {
    enum class Verso { Nessuno, Crescente, Decrescente };
    int colonna = -1;
    Verso verso = Verso::Nessuno;

    bool Attivo() const { return verso != Verso::Nessuno; }
    // The order after a click on the heading of colonna.
    Ordine Dopo(int colonnaCliccata) const;
};

// Sorts the rows by the order's column, stably (equal values keep the catalogue's
// order, in both directions): numbers as numbers, the duration by its seconds, texts
// by the key the scan sorts names with (lowered as Windows' ANSI lowering does).
void Ordina(std::vector<const dati::elemento*>& righe, const Ordine& ordine);

class OrdineGriglia : public QObject {
    Q_OBJECT

public:
    // riordina: refills the grid after the order changed.
    OrdineGriglia(TStringGrid& griglia, std::function<void()> riordina);

    const Ordine& Attuale() const { return ordine; }
    // A click on the heading of colonna.
    void Clic(int colonna);

private:
    TStringGrid& griglia;
    std::function<void()> riordina;
    FrecciaOrdine* freccia;
    Ordine ordine;
};
