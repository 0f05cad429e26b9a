// Page 'Visualizza' over a large catalogue, in the real main window on the offscreen
// platform: scans FOLDER through "Start" (sub-folders and detailed analysis on), then
// opens the page and pages through the grid. Prints the scan's time, the opening's
// time and their ratio (goal: opening at most a third of the scan), and the time of
// one page of the grid. scripts/bench_visualizza.sh measures its peak memory. With
// WORDS, it then types them in the grid's find field one character at a time and
// prints the time of each keystroke until the grid shows what they find (goal: under
// 100 ms), and the time of a sort by name. The stored catalogue is VELMORA_DB's.
//   bench_visualizza FOLDER [WORDS]
#include "errori.h"
#include "finestre.h"
#include "impostazioni.h"
#include "ordine_griglia.h"
#include "pagina_analizza.h"
#include "pagina_visualizza.h"
#include "ricerca_griglia.h"
#include "tstringgrid.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

double Secondi(std::chrono::steady_clock::time_point da) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - da).count();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "uso: bench_visualizza CARTELLA [PAROLE]\n");
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

    if (argc == 3) {
        inizio = std::chrono::steady_clock::now();
        velmora.Vista->Ricerca->Apri();
        std::printf("opening the find field:        %.1f ms\n", Secondi(inizio) * 1000);
        const QString parole = QString::fromUtf8(argv[2]);
        double peggiore = 0;
        double somma = 0;
        double peggioreCpu = 0; // the process's processor time, less swayed by other programs
        for (int n = 1; n <= parole.size(); ++n) {
            inizio = std::chrono::steady_clock::now();
            const std::clock_t cpu = std::clock();
            velmora.Vista->Ricerca->Campo->setText(parole.left(n));
            velmora.Vista->Grid->viewport()->repaint();
            const double tasto = Secondi(inizio);
            peggioreCpu = std::max(peggioreCpu, double(std::clock() - cpu) / CLOCKS_PER_SEC);
            peggiore = std::max(peggiore, tasto);
            somma += tasto;
        }
        std::printf("keystrokes in the find field:  %lld, rows found %d\n",
                    static_cast<long long>(parole.size()), velmora.Vista->Grid->RowCount() - 1);
        std::printf("keystroke, mean:               %.1f ms\n", somma / parole.size() * 1000);
        std::printf("keystroke, slowest:            %.1f ms, CPU %.1f ms (goal < 100)\n",
                    peggiore * 1000, peggioreCpu * 1000);
        velmora.Vista->Ricerca->Chiudi();
        inizio = std::chrono::steady_clock::now();
        velmora.Vista->Ordine->Clic(1);
        velmora.Vista->Grid->viewport()->repaint();
        std::printf("sort of every row by name:     %.1f ms\n", Secondi(inizio) * 1000);
    }
    return velmora.catalogo.NumeroFile() > 0 ? 0 : 1;
}
