// The main window's controls, laid out pixel for pixel.
#include "tvelmora.h"

#include "aspetto.h"
#include "caselle.h"
#include "errori.h"
#include "impostazioni.h"
#include "menu_griglia.h"
#include "pagina_visualizza.h"
#include "scansione.h"
#include "tdirectorylistbox.h"
#include "tdrivecombobox.h"
#include "trapporto.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>

using namespace aspetto;

const char* const TVelmora::PaginaWeb1 = "https://www.midi.org/";
const char* const TVelmora::PaginaWeb2 =
    "https://it.wikipedia.org/wiki/MIDI#Struttura_del_file_MIDI";

namespace {

// The address as the link shows it: without the scheme and the final "/".
QString IndirizzoVisibile(const char* pagina) {
    QString testo = QString::fromLatin1(pagina);
    testo.remove(QStringLiteral("https://"));
    if (testo.endsWith('/')) {
        testo.chop(1);
    }
    return testo;
}

} // namespace

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
    CreaPaginaStart(AggiungiPagina(new QWidget, "PaginaStart", "Sfondo"));
    CreaPaginaAnalizza(AggiungiPagina(new QWidget, "PaginaAnalizza", "Sfondo1"));
    Vista = new PaginaVisualizza(catalogo, *Directory, *LabelStato);
    AggiungiPagina(Vista, "PaginaVisualizza", "Sfondo2");
    CreaPaginaSalva(AggiungiPagina(new QWidget, "PaginaSalva", "Sfondo3"));
    Sezioni->setCurrentIndex(0);

    SaveDialog1.Filtri =
        QStringList{QStringLiteral("File di Testo (*.txt)"), QStringLiteral("CSV UTF-8 (*.csv)"),
                    QStringLiteral("JSON (*.json)")};
    SaveDialog1.DefaultExt = QStringLiteral("txt");
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(70);

    CentraEtichette();
    Collega();
    CollegaPagine();
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

QWidget* TVelmora::AggiungiPagina(QWidget* pagina, const char* nome, const QString& prefisso) {
    pagina->setObjectName(nome);
    Sezioni->addWidget(pagina);
    // A page that built its controls already gets its tiles behind them.
    for (int i = 0; i < 6; ++i) {
        const QByteArray piastrella = (prefisso + QString::number(i + 1)).toLatin1();
        QLabel* sfondo = Piastrella(pagina, piastrella.constData(),
                                    QPoint(256 * (i % 3), 256 * (i / 3)), Sfondo->pixmap());
        sfondo->lower();
        Trascina(sfondo);
    }
    return pagina;
}

void TVelmora::CreaPaginaStart(QWidget* pagina) {
    Label2 = CreaEtichetta(pagina, "Label2", QStringLiteral("Tarvo Midi Velmora 0.9b"),
                           {16, 332, 259, 21}, Carattere(15, true), Giallo);
    Label3 = CreaEtichetta(
        pagina, "Label3",
        QStringLiteral("Versione Preliminare - Ancora in fase di Realizzazione!!!!!!"),
        {0, 66, 474, 25}, Carattere(17, true), Giallo);
    Label4 = CreaEtichetta(pagina, "Label4",
                           QStringLiteral("Il catalogo completo delle tue basi MIDI e karaoke"),
                           {0, 122, 588, 31}, Carattere(22, true), Lime);
    QFont collegamento = Carattere(17);
    collegamento.setUnderline(true);
    Label5 = CreaEtichetta(pagina, "Label5", IndirizzoVisibile(PaginaWeb1), {0, 147, 208, 24},
                           collegamento, Rosso);
    Label6 = CreaEtichetta(pagina, "Label6", IndirizzoVisibile(PaginaWeb2), {0, 168, 443, 24},
                           collegamento, Rosso);
    Label7 = CreaEtichetta(
        pagina, "Label7",
        QStringLiteral("Segnalateci errori e suggerimenti: ci aiuterete a migliorarlo!"),
        {0, 207, 519, 24}, Carattere(17), Giallo);
    Label8 = CreaEtichetta(pagina, "Label8", QStringLiteral("Tarvo Software - Italia"),
                           {0, 236, 207, 24}, Carattere(17), Rosso);
    // The lines centred on the page also centre their text, so that any caption
    // sits in the middle of the window.
    for (TCustomLabel* riga : {Label3, Label4, Label5, Label6, Label7, Label8}) {
        riga->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    for (QWidget* testo : {Label2, Label3, Label4, Label7, Label8}) {
        Trascina(testo);
    }
}

void TVelmora::CreaPaginaAnalizza(QWidget* pagina) {
    Directory = new TDirectoryListBox(pagina);
    Directory->setObjectName("Directory");
    Directory->setGeometry(16, 0, 241, 313);
    Drive = new TDriveComboBox(pagina);
    Drive->setObjectName("Drive");
    Drive->setGeometry(16, 312, 241, 24);
    CheckAnalisi = CreaCasella<QCheckBox>(pagina, "CheckAnalisi", "Analisi dettagliata",
                                          {264, 232, 137, 17}, true);
    CheckSub = CreaCasella<QCheckBox>(pagina, "CheckSub", "Analizza le sotto cartelle",
                                      {264, 320, 185, 17}, true);
    Start = CreaRLabel(pagina, ComandoPagina("Start", "Start", {576, 312, 46, 24}));
    LabelStato = CreaEtichettaAuto(pagina, "LabelStato", QString(), {16, 336});
}

void TVelmora::CreaPaginaSalva(QWidget* pagina) {
    Radio1 = CreaCasella<QRadioButton>(pagina, "Radio1", "Modo A", {560, 56, 73, 17}, false);
    Radio2 = CreaCasella<QRadioButton>(pagina, "Radio2", "Modo B", {560, 80, 73, 17}, true);
    struct Colonna {
        QCheckBox*& casella;
        const char* nome;
        const char* caption;
        int sinistra;
        int larghezza;
    };
    const Colonna colonne[] = {
        {CheckPerc, "CheckPerc", "Percorso", 8, 73},
        {CheckDir, "CheckDir", "Directory", 88, 81},
        {CheckNome, "CheckNome", "Nome", 168, 57},
        {CheckDurata, "CheckDurata", "Durata", 224, 65},
        {CheckLunghezza, "CheckLunghezza", "Byte", 288, 49},
        {CheckTempo, "CheckTempo", "Tempo", 336, 65},
        {CheckBPM, "CheckBPM", "BPM", 400, 49},
        {CheckTracce, "CheckTracce", "Tracce", 456, 65},
        {CheckTipo, "CheckTipo", "Tipo", 520, 49},
        {CheckTesto, "CheckTesto", "Testo", 576, 57},
    };
    for (const Colonna& c : colonne) {
        c.casella = CreaCasella<QCheckBox>(pagina, c.nome, c.caption,
                                           {c.sinistra, 128, c.larghezza, 17}, true);
    }
    CheckCopy = CreaCasella<QCheckBox>(pagina, "CheckCopy", "Copyright", {552, 152, 81, 17}, true);
    SalvaLista = CreaRLabel(pagina, ComandoPagina("SalvaLista", "Salva", {584, 320, 44, 24}));
}

void TVelmora::CentraEtichette() {
    for (TCustomLabel* riga : {Label3, Label4, Label5, Label6, Label7, Label8}) {
        riga->move((width() - riga->width()) / 2, riga->y());
    }
}

void TVelmora::Collega() {
    connect(Analizza, &TCustomLabel::Click, this, &TVelmora::AnalizzaClick);
    connect(Visualizza, &TCustomLabel::Click, this, &TVelmora::VisualizzaClick);
    connect(Salva, &TCustomLabel::Click, this, &TVelmora::SalvaClick);
    connect(Minimizza, &TCustomLabel::Click, this, &TVelmora::MinimizzaClick);
    connect(Chiudi, &TCustomLabel::Click, this, &TVelmora::ChiudiClick);
    connect(Start, &TCustomLabel::Click, this, &TVelmora::Button1Click);
    connect(SalvaLista, &TCustomLabel::Click, this, &TVelmora::Button3Click);
    connect(Label5, &TCustomLabel::Click, this, &TVelmora::Label4Click);
    connect(Label6, &TCustomLabel::Click, this, &TVelmora::Label6Click);
    connect(Timer1, &QTimer::timeout, this, &TVelmora::Timer1Timer);
    // The SoundFont chosen from the grid's menu is remembered at once.
    connect(Vista->Menu, &MenuGriglia::SoundFontScelta, this,
            [](const QString& file) { Impostazioni().ScriviStringa("SoundFont", file); });
}

void TVelmora::CollegaPagine() {
    CreaScansione();
    connect(Drive, &TDriveComboBox::OnChange, this, &TVelmora::DriveChange);
    connect(Directory, &TDirectoryListBox::OnChange, this, &TVelmora::DirectoryChange);
}

void TVelmora::CollegaRapporto(TRapporto& rapporto) {
    Rapporto = &rapporto;
    Vista->CollegaRapporto(rapporto);
    Protetto([this] { PosizionaRapporto(); });
}
