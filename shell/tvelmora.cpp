// The main window's frame, laid out pixel for pixel, and its pages joined together.
#include "tvelmora.h"

#include "aspetto.h"
#include "caselle.h"
#include "errori.h"
#include "impostazioni.h"
#include "menu_griglia.h"
#include "pagina_analizza.h"
#include "pagina_salva.h"
#include "pagina_start.h"
#include "pagina_visualizza.h"
#include "scansione.h"
#include "tdirectorylistbox.h"
#include "trapporto.h"

#include <QStackedWidget>
#include <QTimer>

using namespace aspetto;

TVelmora::TVelmora()
    : TFinestra("Velmora", QStringLiteral("Velmora"), QSize(640, 400), QPoint(314, 218),
                Carattere(13)) {
    Q_INIT_RESOURCE(sfondo);
    const QPixmap immagine(QStringLiteral(":/velmora/sfondo.png"));
    CreaStriscia(immagine);

    Sezioni = new QStackedWidget(this);
    Sezioni->setObjectName("Sezioni");
    Sezioni->setGeometry(0, 40, LatoPagina, 361);
    Sezioni->setAutoFillBackground(true);
    Inizio = new PaginaStart;
    AggiungiPagina(Inizio, "PaginaStart", "Sfondo");
    Analisi = new PaginaAnalizza(catalogo);
    AggiungiPagina(Analisi, "PaginaAnalizza", "Sfondo1");
    Vista = new PaginaVisualizza(catalogo, *Analisi->Directory, *Analisi->LabelStato);
    AggiungiPagina(Vista, "PaginaVisualizza", "Sfondo2");
    Elenco = new PaginaSalva(catalogo);
    AggiungiPagina(Elenco, "PaginaSalva", "Sfondo3");
    Sezioni->setCurrentIndex(0);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(70);

    Inizio->CentraEtichette(width());
    for (QWidget* testo : Inizio->Trascinabili()) {
        Trascina(testo);
    }
    Collega();
    Protetto([this] { FormCreate(); });
}

TVelmora::~TVelmora() = default;

void TVelmora::CreaStriscia(const QPixmap& immagine) {
    Sfondo = Piastrella(this, "Sfondo", QPoint(0, -216), immagine);
    Trascina(Sfondo);
    Trascina(Piastrella(this, "Sfondo02", QPoint(256, -216), Sfondo->pixmap()));
    Trascina(Piastrella(this, "Sfondo03", QPoint(512, -216), Sfondo->pixmap()));

    Analizza = CreaRLabel(this, EtichettaPagina("Analizza", "Analizza", {16, 0, 89, 31}));
    RisorsaRLabel visualizza = EtichettaPagina("Visualizza", "Visualizza", {120, 0, 104, 31});
    visualizza.roll = true;
    visualizza.coloreFont = Lime;
    Visualizza = CreaRLabel(this, visualizza);
    Salva = CreaRLabel(this, EtichettaPagina("Salva", "Salva", {232, 0, 57, 31}));
    Minimizza = CreaRLabel(this, ComandoFinestra("Minimizza", "-", {584, 2, 16, 38}));
    Chiudi = CreaRLabel(this, ComandoFinestra("Chiudi", "x", {608, -6, 16, 38}));
    Visualizza->setEnabled(false);
    Salva->setEnabled(false);
}

void TVelmora::AggiungiPagina(QWidget* pagina, const char* nome, const QString& prefisso) {
    pagina->setObjectName(nome);
    Sezioni->addWidget(pagina);
    // The page built its controls already: its tiles go behind them.
    for (int i = 0; i < 6; ++i) {
        const QByteArray piastrella = (prefisso + QString::number(i + 1)).toLatin1();
        QLabel* sfondo = Piastrella(pagina, piastrella.constData(),
                                    QPoint(256 * (i % 3), 256 * (i / 3)), Sfondo->pixmap());
        sfondo->lower();
        Trascina(sfondo);
    }
}

void TVelmora::Collega() {
    connect(Analizza, &TCustomLabel::Click, this, &TVelmora::AnalizzaClick);
    connect(Visualizza, &TCustomLabel::Click, this, &TVelmora::VisualizzaClick);
    connect(Salva, &TCustomLabel::Click, this, &TVelmora::SalvaClick);
    connect(Minimizza, &TCustomLabel::Click, this, &TVelmora::MinimizzaClick);
    connect(Chiudi, &TCustomLabel::Click, this, &TVelmora::ChiudiClick);
    connect(Timer1, &QTimer::timeout, this, &TVelmora::Timer1Timer);
    // A scan empties the catalogue that page 'Visualizza' shows, and while it runs
    // no page can be opened.
    connect(Analisi, &PaginaAnalizza::CatalogoDaSvuotare, Vista,
            &PaginaVisualizza::StaccaDalCatalogo);
    connect(Analisi, &PaginaAnalizza::ScansioneIniziata, this, [this] {
        for (QWidget* etichetta : {Analizza, Visualizza, Salva}) {
            etichetta->setEnabled(false);
        }
    });
    connect(Analisi, &PaginaAnalizza::ScansioneFinita, this,
            [this](const FiltriVisualizza& filtri) {
                Visualizza->SetColoreFont(Rosso);
                Salva->SetColoreFont(Rosso);
                for (QWidget* etichetta : {Analizza, Visualizza, Salva}) {
                    etichetta->setEnabled(true);
                }
                Vista->AbilitaFiltri(filtri);
            });
    // The SoundFont chosen from the grid's menu is remembered at once.
    connect(Vista->Menu, &MenuGriglia::SoundFontScelta, this,
            [](const QString& file) { Impostazioni().ScriviStringa("SoundFont", file); });
}

void TVelmora::CollegaRapporto(TRapporto& rapporto) {
    Rapporto = &rapporto;
    Vista->CollegaRapporto(rapporto);
    Protetto([this] { PosizionaRapporto(); });
}
