// The main window: a 40-pixel strip with the page labels, minimise and close,
// and below it the notebook Sezioni with the pages 'Start', 'Analizza',
// 'Visualizza' and 'Salva' (indexes 0 to 3). The program starts on 'Start';
// no label leads back to it.
//
// The controls are public and carry their form names, so the parts of the
// program that work on a page reach them directly.
#pragma once

#include "dati.h"
#include "lista_file.h"
#include "tfinestra.h"
#include "tsavedialog.h"

#include <memory>
#include <string>

class Impostazioni;
class PaginaVisualizza;
class QCheckBox;
class QRadioButton;
class QStackedWidget;
class QTimer;
class Scansione;
class TDirectoryListBox;
class TDriveComboBox;
class TRapporto;

class TVelmora : public TFinestra {
    Q_OBJECT

public:
    // Builds the window and its controls, then runs FormCreate (the settings);
    // a failure there is shown by the general error handler and the window
    // opens all the same.
    TVelmora();
    ~TVelmora() override;

    // The web pages of the two link labels of page 'Start'.
    static const char* const PaginaWeb1;
    static const char* const PaginaWeb2;

    // Top strip. Sfondo holds the background picture that every other tile of
    // both windows copies.
    QLabel* Sfondo;
    TRLabel* Analizza;
    TRLabel* Visualizza;
    TRLabel* Salva;
    TRLabel* Minimizza;
    TRLabel* Chiudi;
    QStackedWidget* Sezioni;

    // Page 'Start': title, notice, headline, the two links, request, address.
    TCustomLabel* Label2;
    TCustomLabel* Label3;
    TCustomLabel* Label4;
    TCustomLabel* Label5;
    TCustomLabel* Label6;
    TCustomLabel* Label7;
    TCustomLabel* Label8;

    // Page 'Analizza'.
    TDirectoryListBox* Directory;
    TDriveComboBox* Drive;
    QCheckBox* CheckAnalisi;
    QCheckBox* CheckSub;
    TRLabel* Start;
    TCustomLabel* LabelStato;

    // Page 'Visualizza': the grid, its filters and counts, the report and renaming.
    PaginaVisualizza* Vista;

    // Page 'Salva'.
    QRadioButton* Radio1;
    QRadioButton* Radio2;
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

    // Never shown: the MIDI files of the current folder.
    ListaFile File;
    // The export's dialog: "File di Testo (*.txt)", default extension "txt".
    TSaveDialog SaveDialog1;
    // The closing step: 70 ms, stopped until Chiudi is clicked.
    QTimer* Timer1;

    // The report window, created by the program entry right after this one and
    // joined to this window with CollegaRapporto.
    TRapporto* Rapporto = nullptr;
    void CollegaRapporto(TRapporto& rapporto);

    // The one catalogue of the run, and the folder list's folder as DirectoryChange
    // last saw it.
    dati catalogo;
    std::string directoryCorrente;
    // A scan is running and has not been asked to stop.
    bool InAnalisi() const;

    // Reads the settings: position and last folder.
    void FormCreate();
    // Each time the window becomes active: UltimaRiga 0, grid headings, hand
    // cursor on the links.
    void FormActivate();
    void AnalizzaClick();
    void VisualizzaClick();
    void SalvaClick();
    // "Start" on page 'Analizza' and "Salva" on page 'Salva'.
    void Button1Click();
    void Button3Click();
    void MinimizzaClick();
    // Saves the settings (once) and starts the closing timer.
    void ChiudiClick();
    // Shrinks the window to an ellipse, hides and closes it.
    void Timer1Timer();
    // The two links: Label5 and Label6.
    void Label4Click();
    void Label6Click();
    // Page 'Analizza': the drive box and the folder list changed.
    void DriveChange();
    void DirectoryChange();

    // Writes the catalogue as the list file chosen in SaveDialog1.
    void StampaFile();

    // The folder tree's current folder (UTF-8), which is also the process's
    // current folder; setting it runs DirectoryChange.
    std::string CartellaDirectory() const;
    void ImpostaCartellaDirectory(const std::string& cartella);

protected:
    bool event(QEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    // Closing the main window ends the program, whatever other window is open.
    void closeEvent(QCloseEvent* evento) override;

private:
    void CreaStriscia(const QPixmap& immagine);
    // Adds the page to the notebook under its tiles, six in two rows of three named
    // prefisso1 to prefisso6.
    QWidget* AggiungiPagina(QWidget* pagina, const char* nome, const QString& prefisso);
    void CreaPaginaStart(QWidget* pagina);
    void CreaPaginaAnalizza(QWidget* pagina);
    void CreaPaginaSalva(QWidget* pagina);
    void CentraEtichette();
    void Collega();
    void CollegaPagine();
    // The scan engine, driving the folder list and the file list, with its hooks
    // on the window.
    void CreaScansione();

    std::unique_ptr<Impostazioni> registro;
    std::unique_ptr<Scansione> scansione;
    bool chiusura = false;
    int raggioOrizzontale = 0;
    int raggioVerticale = 0;
};
