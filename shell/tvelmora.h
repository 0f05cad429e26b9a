// The main window: a 40-pixel strip with the page labels, minimise and close,
// and below it the notebook Sezioni with the pages 'Start', 'Analizza',
// 'Visualizza' and 'Salva' (indexes 0 to 3). The program starts on 'Start';
// no label leads back to it.
//
// The window keeps the frame, the page switching and the settings; each page holds
// its own controls and handlers. The controls are public and carry their form
// names, so the tests reach them directly.
#pragma once

#include "dati.h"
#include "tfinestra.h"

#include <memory>

class Impostazioni;
class PaginaAnalizza;
class PaginaSalva;
class PaginaStart;
class PaginaVisualizza;
class QStackedWidget;
class QTimer;
class TRapporto;

class TVelmora : public TFinestra {
    Q_OBJECT

public:
    // Builds the window and its pages, then runs FormCreate (the settings); a failure
    // there is shown by the general error handler and the window opens all the same.
    TVelmora();
    ~TVelmora() override;

    // Top strip. Sfondo holds the background picture that every other tile of
    // both windows copies.
    QLabel* Sfondo;
    TRLabel* Analizza;
    TRLabel* Visualizza;
    TRLabel* Salva;
    TRLabel* Minimizza;
    TRLabel* Chiudi;
    QStackedWidget* Sezioni;

    // The four pages.
    PaginaStart* Inizio;
    PaginaAnalizza* Analisi;
    PaginaVisualizza* Vista;
    PaginaSalva* Elenco;

    // The closing step: 70 ms, stopped until Chiudi is clicked.
    QTimer* Timer1;

    // The one catalogue of the run.
    dati catalogo;

    // The report window, created by the program entry right after this one and
    // joined to this window here, which also places it: where it was left
    // ("RapportoX" and "RapportoY" in the settings, written by Chiudi with the rest)
    // unless that covers this window or no screen shows it, else beside this window.
    void CollegaRapporto(TRapporto& rapporto);

    // The page labels.
    void AnalizzaClick();
    void VisualizzaClick();
    void SalvaClick();
    void MinimizzaClick();
    // Saves the settings (once) and starts the closing timer.
    void ChiudiClick();

protected:
    bool event(QEvent* evento) override;
    void changeEvent(QEvent* evento) override;
    // Closing the main window ends the program, whatever other window is open.
    void closeEvent(QCloseEvent* evento) override;

private:
    void CreaStriscia(const QPixmap& immagine);
    // Adds the page to the notebook under its tiles, six in two rows of three named
    // prefisso1 to prefisso6.
    void AggiungiPagina(QWidget* pagina, const char* nome, const QString& prefisso);
    void Collega();
    // Reads the settings: position and last folder.
    void FormCreate();
    // Each time the window becomes active: UltimaRiga 0, grid headings, hand
    // cursor on the links.
    void FormActivate();
    // Shrinks the window to an ellipse, hides and closes it.
    void Timer1Timer();
    void PosizionaRapporto();

    TRapporto* Rapporto = nullptr;
    std::unique_ptr<Impostazioni> registro;
    bool chiusura = false;
    int raggioOrizzontale = 0;
    int raggioVerticale = 0;
};
