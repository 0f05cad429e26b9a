// Page 'Analizza' of the main window: the drive box and the folder list that choose
// the folder, the two options of the scan, the status line, and the scan itself
// behind "Start", which fills the catalogue.
//
// The controls are public and carry their form names, so the main window and the
// tests reach them directly.
#pragma once

#include "dati.h"
#include "lista_file.h"

#include <QWidget>

#include <memory>
#include <string>

class QCheckBox;
class Scansione;
class TCustomLabel;
class TDirectoryListBox;
class TDriveComboBox;
class TRLabel;
struct FiltriVisualizza;

class PaginaAnalizza : public QWidget {
    Q_OBJECT

public:
    // catalogo is the main window's, and outlives the page.
    explicit PaginaAnalizza(dati& catalogo, QWidget* genitore = nullptr);
    ~PaginaAnalizza() override;

    TDirectoryListBox* Directory;
    TDriveComboBox* Drive;
    QCheckBox* CheckAnalisi;
    QCheckBox* CheckSub;
    TRLabel* Start;
    TCustomLabel* LabelStato;
    // Never shown: the MIDI files of the folder list's folder.
    ListaFile File;

    // The folder list's folder as DirectoryChange last saw it.
    std::string directoryCorrente;

    // Opening the page: the folder list's rows rebuilt (which runs DirectoryChange)
    // and the file list read again.
    void Aggiorna();
    // "Start": starts a scan, or stops the running one.
    void Button1Click();
    // The drive box and the folder list changed.
    void DriveChange();
    void DirectoryChange();

    // A running scan stops at its next check (the window is closing).
    void Ferma();

    // The folder list's current folder (UTF-8), which is also the process's current
    // folder; setting it runs DirectoryChange.
    std::string CartellaDirectory() const;
    void ImpostaCartellaDirectory(const std::string& cartella);

signals:
    // A scan is about to empty the catalogue: whatever shows its entries lets go.
    void CatalogoDaSvuotare();
    // The scan starts: the page labels are disabled.
    void ScansioneIniziata();
    // The scan has ended, with the grid's filters it leaves enabled.
    void ScansioneFinita(const FiltriVisualizza& filtri);

private:
    void CreaControlli();
    // The scan engine, driving the folder list and the file list, with its hooks on
    // the page.
    void CreaScansione();

    dati& catalogo;
    std::unique_ptr<Scansione> scansione;
};
