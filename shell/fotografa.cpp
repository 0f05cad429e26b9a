// Saves a picture of the main window, as it opens, to the PNG file named on
// the command line (scripts/screenshot.sh runs it under a virtual X server).
// An optional second argument, 1 to 3, shows that page of the notebook first.
// The settings go to a temporary file, so the user's own are never touched.
#include "errori.h"
#include "impostazioni.h"
#include "trapporto.h"
#include "tvelmora.h"

#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    Applicazione applicazione(argc, argv);
    const int pagina = argc == 3 ? QString::fromLocal8Bit(argv[2]).toInt() : 0;
    if (argc < 2 || argc > 3 || pagina < 0 || pagina > 3) {
        std::fprintf(stderr, "uso: velmora_foto FILE.png [PAGINA]\n");
        return 2;
    }
    QTemporaryDir cartella;
    Impostazioni::UsaFile(cartella.filePath("impostazioni.ini"));
    TVelmora velmora;
    TRapporto rapporto(velmora.Sfondo->pixmap());
    velmora.CollegaRapporto(rapporto);
    velmora.Sezioni->setCurrentIndex(pagina);
    velmora.show();
    int esito = 1;
    // Once the window has been shown and painted.
    QTimer::singleShot(500, &velmora, [&] {
        esito = velmora.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
        QCoreApplication::quit();
    });
    applicazione.exec();
    if (esito != 0) {
        std::fprintf(stderr, "impossibile scrivere %s\n", argv[1]);
    }
    return esito;
}
