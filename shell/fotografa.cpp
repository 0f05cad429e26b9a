// Saves pictures of the program's windows as PNG files in the folder named on the
// command line (scripts/screenshots.sh runs it under a virtual X server): the main
// window as it opens (velmora.png), then, after a scan of the working folder, its
// pages 'Analizza', 'Visualizza' and 'Salva' (velmora-analizza.png,
// velmora-visualizza.png, velmora-salva.png), the report window showing one file
// (rapporto.png), the grid's listening menu (velmora-ascolto.png) and the report window
// following the words of the karaoke sample (velmora-karaoke.png), its position given as
// the player would give it, so that no sound is needed. The settings go to a temporary
// file, so the user's own are never touched.
#include "errori.h"
#include "finestre.h"
#include "impostazioni.h"
#include "menu_griglia.h"
#include "pagina_analizza.h"
#include "pagina_visualizza.h"
#include "parole.h"
#include "tstringgrid.h"
#include "vista_parole.h"

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

bool Foto(QWidget& finestra, const QString& file) {
    QCoreApplication::processEvents();
    return finestra.grab().save(file, "PNG");
}

// The screen over the window: what grab() leaves out, such as an open menu.
bool FotoSchermo(QWidget& finestra, const QString& file) {
    QCoreApplication::processEvents();
    const QRect area = finestra.frameGeometry();
    return finestra.screen()
        ->grabWindow(0, area.x(), area.y(), area.width(), area.height())
        .save(file, "PNG");
}

// A left click on a cell of the grid, as the user makes it.
void ClicCella(TStringGrid& griglia, int colonna, int riga) {
    const QPointF punto = griglia.visualRect(griglia.model()->index(riga - 1, colonna)).center();
    for (const QEvent::Type tipo : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent evento(tipo, punto, griglia.viewport()->mapToGlobal(punto), Qt::LeftButton,
                           tipo == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                           Qt::NoModifier);
        QApplication::sendEvent(griglia.viewport(), &evento);
    }
}

// The window as it opens, every page after a scan of the working folder, and the
// report of its third file.
bool FotoDiTutto(TVelmora& velmora, TRapporto& rapporto, const QDir& cartella) {
    bool riuscito = Foto(velmora, cartella.filePath("velmora.png"));
    velmora.AnalizzaClick();
    velmora.Analisi->Button1Click();
    riuscito = Foto(velmora, cartella.filePath("velmora-analizza.png")) && riuscito;
    velmora.VisualizzaClick();
    ClicCella(*velmora.Vista->Grid, 1, 3);
    riuscito = Foto(velmora, cartella.filePath("velmora-visualizza.png")) && riuscito;
    riuscito = Foto(rapporto, cartella.filePath("rapporto.png")) && riuscito;
    // The listening menu opened on a row of the grid.
    TStringGrid& griglia = *velmora.Vista->Grid;
    MenuGriglia& menu = *velmora.Vista->Menu;
    rapporto.hide();
    menu.Apri(griglia.visualRect(griglia.model()->index(4, 1)).center());
    riuscito = FotoSchermo(velmora, cartella.filePath("velmora-ascolto.png")) && riuscito;
    menu.Menu()->hide();
    // Halfway through the second line of the song.
    if (std::optional<velmora::Parole> parole =
            velmora::ParoleDelFile("Canzone del mare (karaoke).mid")) {
        const double secondi = (*parole)[1].sillabe[3].secondi;
        rapporto.show();
        rapporto.MostraParole(std::move(*parole), [secondi] { return secondi; });
        riuscito = Foto(rapporto, cartella.filePath("velmora-karaoke.png")) && riuscito;
        rapporto.FineParole();
        rapporto.hide();
    } else {
        riuscito = false;
    }
    velmora.SalvaClick();
    return Foto(velmora, cartella.filePath("velmora-salva.png")) && riuscito;
}

} // namespace

int main(int argc, char** argv) {
    Applicazione applicazione(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: velmora_foto CARTELLA\n");
        return 2;
    }
    const QDir uscita(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir cartella;
    Impostazioni::UsaFile(cartella.filePath("impostazioni.ini"));
    Finestre finestre;
    TVelmora& velmora = finestre.velmora;
    velmora.show();
    // Activation writes the grid's headings, as when the user brings the window up.
    velmora.activateWindow();
    int esito = 1;
    // Once the window has been shown and painted.
    QTimer::singleShot(500, &velmora, [&] {
        esito = FotoDiTutto(velmora, finestre.rapporto, uscita) ? 0 : 1;
        QCoreApplication::quit();
    });
    applicazione.exec();
    if (esito != 0) {
        std::fprintf(stderr, "impossibile scrivere le immagini in %s\n", argv[1]);
    }
    return esito;
}
