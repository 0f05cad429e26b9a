// Program entry: the main window first, then the report window, which takes
// its background picture from the main window; the program ends when the main
// window closes.
#include "errori.h"
#include "finestre.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    Applicazione applicazione(argc, argv);
    // Qt's own dialogs (the save dialogs and their overwrite prompt) in Italian too,
    // where Qt's translations are installed.
    QTranslator traduzioni;
    if (traduzioni.load(QLocale(QLocale::Italian), "qtbase", "_",
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&traduzioni);
    }
    try {
        Finestre finestre;
        finestre.velmora.show();
        return applicazione.exec();
    } catch (const std::exception& errore) {
        MostraErrore(errore);
        return 1;
    }
}
