// Page 'Salva' of the main window: the catalogue written as a text list, in the
// layout and with the columns chosen on the page, or for spreadsheets and scripts as
// CSV or JSON (the dialog's filter decides).
//
// The controls are public and carry their form names, so the main window and the
// tests reach them directly.
#pragma once

#include "dati.h"
#include "tsavedialog.h"

#include <QWidget>

class QCheckBox;
class QRadioButton;
class TRLabel;

class PaginaSalva : public QWidget {
    Q_OBJECT

public:
    // catalogo is the main window's, and outlives the page.
    explicit PaginaSalva(dati& catalogo, QWidget* genitore = nullptr);

    // The layout: "Modo A" or "Modo B".
    QRadioButton* Radio1;
    QRadioButton* Radio2;
    // The columns, in the order of their numbers.
    QCheckBox* CheckPerc;
    QCheckBox* CheckDir;
    QCheckBox* CheckNome;
    QCheckBox* CheckDurata;
    QCheckBox* CheckLunghezza;
    QCheckBox* CheckTempo;
    QCheckBox* CheckBPM;
    QCheckBox* CheckTracce;
    QCheckBox* CheckTipo;
    QCheckBox* CheckTesto;
    QCheckBox* CheckCopy;
    TRLabel* SalvaLista;

    // The export's dialog: "File di Testo (*.txt)", default extension "txt".
    TSaveDialog SaveDialog1;

    // "Salva": asks for the file, then writes it.
    void Button3Click();
    // Writes the catalogue as the list file chosen in SaveDialog1.
    void StampaFile();

private:
    void CreaControlli();

    dati& catalogo;
};
