// Page 'Visualizza' over a large catalogue, in the real main window on the offscreen
// platform: scans FOLDER through "Start" (sub-folders and detailed analysis on), then
// opens the page and pages through the grid. Prints the scan's time, the opening's
// time and their ratio (goal: opening at most a third of the scan), and the time of
// one page of the grid. scripts/bench_visualizza.sh measures its peak memory.
//   bench_visualizza FOLDER
#include "errori.h"
#include "finestre.h"
#include "impostazioni.h"
#include "pagina_analizza.h"
#include "pagina_visualizza.h"
#include "tstringgrid.h"

#include <QScrollBar>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>

namespace {

double Secondi(std::chrono::steady_clock::time_point da) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - da).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "uso: bench_visualizza CARTELLA\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    Applicazione applicazione(argc, argv);
    QTemporaryDir impostazioni;
    Impostazioni::UsaFile(impostazioni.filePath("impostazioni.ini"));
    Finestre finestre;
    TVelmora& velmora = finestre.velmora;
    velmora.show();
    velmora.Analisi->ImpostaCartellaDirectory(argv[1]);
    velmora.AnalizzaClick();

    auto inizio = std::chrono::steady_clock::now();
    velmora.Analisi->Button1Click();
    const double scansione = Secondi(inizio);

    inizio = std::chrono::steady_clock::now();
    velmora.VisualizzaClick();
    velmora.repaint();
    const double apertura = Secondi(inizio);

    constexpr int pagine = 200;
    inizio = std::chrono::steady_clock::now();
    for (int i = 0; i < pagine; ++i) {
        velmora.Vista->ScrollBar1->triggerAction(QAbstractSlider::SliderPageStepAdd);
        velmora.Vista->Grid->viewport()->repaint();
    }
    const double pagina = Secondi(inizio) / pagine;

    std::printf("files catalogued:              %d\n", velmora.catalogo.NumeroFile());
    std::printf("scan through Start:            %.3f s\n", scansione);
    std::printf("opening page Visualizza:       %.4f s\n", apertura);
    std::printf("ratio opening / scan:          %.4f (goal <= 0.333)\n", apertura / scansione);
    std::printf("one page of the grid:          %.2f ms\n", pagina * 1000);
    return velmora.catalogo.NumeroFile() > 0 ? 0 : 1;
}
