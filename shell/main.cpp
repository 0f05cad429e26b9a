// Program entry: the main window first, then the report window, which takes
// its background picture from the main window; the program ends when the main
// window closes.
#include "errori.h"
#include "finestre.h"

#include <QMessageBox>

int main(int argc, char** argv) {
    Applicazione applicazione(argc, argv);
    try {
        Finestre finestre;
        finestre.velmora.show();
        return applicazione.exec();
    } catch (const std::exception& errore) {
        MostraErrore(errore);
        return 1;
    }
}
