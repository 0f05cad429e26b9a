// Saves pictures of the program's windows as PNG files; scripts/screenshot.sh and
// scripts/screenshots.sh run it under a virtual X server.
//   velmora_foto FILE.png [PAGINA]  the main window as it opens, on page 0 to 3;
//   velmora_foto --tutte CARTELLA   after a scan of the working folder: every page of
//                                   the main window and the report window of one file,
//                                   as velmora-start.png, velmora-analizza.png,
//                                   velmora-visualizza.png, velmora-salva.png and
//                                   rapporto.png in CARTELLA.
// The settings go to a temporary file, so the user's own are never touched.
#include "errori.h"
#include "impostazioni.h"
#include "trapporto.h"
#include "tstringgrid.h"
#include "tvelmora.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

bool Foto(QWidget& finestra, const QString& file) {
    QCoreApplication::processEvents();
    return finestra.grab().save(file, "PNG");
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

// Every page after a scan of the working folder, and the report of its third file.
bool FotoDiTutto(TVelmora& velmora, TRapporto& rapporto, const QDir& cartella) {
    bool riuscito = Foto(velmora, cartella.filePath("velmora-start.png"));
    velmora.AnalizzaClick();
    velmora.Button1Click();
    riuscito = Foto(velmora, cartella.filePath("velmora-analizza.png")) && riuscito;
    velmora.VisualizzaClick();
    ClicCella(*velmora.Grid, 1, 3);
    riuscito = Foto(velmora, cartella.filePath("velmora-visualizza.png")) && riuscito;
    riuscito = Foto(rapporto, cartella.filePath("rapporto.png")) && riuscito;
    velmora.SalvaClick();
    return Foto(velmora, cartella.filePath("velmora-salva.png")) && riuscito;
}

} // namespace

int main(int argc, char** argv) {
    Applicazione applicazione(argc, argv);
    const QStringList argomenti = QCoreApplication::arguments().mid(1);
    const bool tutte = argomenti.size() == 2 && argomenti[0] == "--tutte";
    const int pagina = !tutte && argomenti.size() == 2 ? argomenti[1].toInt() : 0;
    if (argomenti.isEmpty() || argomenti.size() > 2 || pagina < 0 || pagina > 3) {
        std::fprintf(stderr, "uso: velmora_foto FILE.png [PAGINA] | --tutte CARTELLA\n");
        return 2;
    }
    QTemporaryDir cartella;
    Impostazioni::UsaFile(cartella.filePath("impostazioni.ini"));
    TVelmora velmora;
    TRapporto rapporto(velmora.Sfondo->pixmap());
    velmora.CollegaRapporto(rapporto);
    velmora.Sezioni->setCurrentIndex(pagina);
    velmora.show();
    // Activation writes the grid's headings, as when the user brings the window up.
    velmora.activateWindow();
    int esito = 1;
    // Once the window has been shown and painted.
    QTimer::singleShot(500, &velmora, [&] {
        const bool riuscito = tutte ? FotoDiTutto(velmora, rapporto, QDir(argomenti[1]))
                                    : Foto(velmora, argomenti[0]);
        esito = riuscito ? 0 : 1;
        QCoreApplication::quit();
    });
    applicazione.exec();
    if (esito != 0) {
        std::fprintf(stderr, "impossibile scrivere %s\n", qPrintable(argomenti.back()));
    }
    return esito;
}
