// The main window: a 40-pixel strip with the page labels, minimise and close,
// and below it the notebook Sezioni with the pages 'Start', 'Analizza',
// 'Visualizza' and 'Salva' (indexes 0 to 3). The program starts on 'Start';
// no label leads back to it.
//
// The controls are public and carry their form names, so the parts of the
// program that work on a page reach them directly.
#pragma once

#include "dati.h"
#include "tfinestra.h"

#include <memory>
#include <string>

class Impostazioni;
class QCheckBox;
class QComboBox;
class QListWidget;
class QRadioButton;
class QScrollBar;
class QStackedWidget;
class QTableWidget;
class QTimer;
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
    QListWidget* Directory;
    QComboBox* Drive;
    QCheckBox* CheckAnalisi;
    QCheckBox* CheckSub;
    TRLabel* Start;
    TCustomLabel* LabelStato;

    // Page 'Visualizza'.
    QTableWidget* Grid;
    QScrollBar* ScrollBar1;
    QRadioButton* RadioVisualizza1;
    QRadioButton* RadioVisualizza2;
    QRadioButton* RadioVisualizza3;
    TCustomLabel* LabelRiepilogo;
    TCustomLabel* LabelRiepilogo2;
    TCustomLabel* LabelRiepilogo3;
    QCheckBox* CheckRapporto;

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
    QListWidget* File;
    // The closing step: 70 ms, stopped until Chiudi is clicked.
    QTimer* Timer1;

    // The report window, created by the program entry right after this one.
    TRapporto* Rapporto = nullptr;

    // The one catalogue of the run, and the shared state of the pages.
    dati catalogo;
    int UltimaRiga = 0;
    bool inAnalisi = false;
    std::string directoryIniziale;
    std::string directoryCorrente;

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
    // The folder tree's current folder changed.
    void DirectoryChange();

    // Writes the heading of one grid column.
    void ScriviIntestazione(int colonna, const QString& testo);
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
    // The six tiles of a page, in two rows of three, named prefisso1 to prefisso6.
    void CreaPiastrelle(QWidget* pagina, const QString& prefisso);
    void CreaPaginaStart(QWidget* pagina);
    void CreaPaginaAnalizza(QWidget* pagina);
    void CreaPaginaVisualizza(QWidget* pagina);
    void CreaPaginaSalva(QWidget* pagina);
    void CentraEtichette();
    void Collega();

    std::unique_ptr<Impostazioni> registro;
    bool chiusura = false;
    int raggioOrizzontale = 0;
    int raggioVerticale = 0;
    std::string cartellaAlbero;
};
