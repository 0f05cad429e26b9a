#include "pagina_visualizza.h"

#include "ascolto.h"
#include "aspetto.h"
#include "caselle.h"
#include "errori.h"
#include "formato.h"
#include "menu_griglia.h"
#include "ordine_griglia.h"
#include "parole.h"
#include "rapporto.h"
#include "rapporto_doppioni.h"
#include "ricerca_griglia.h"
#include "rinomina.h"
#include "scansione.h"
#include "tdirectorylistbox.h"
#include "trapporto.h"
#include "trichedit.h"
#include "tstringgrid.h"

#include "piattaforma.h"

#include <QAction>
#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>

#include <vector>

using namespace aspetto;

PaginaVisualizza::PaginaVisualizza(dati& catalogo_, TDirectoryListBox& cartelle,
                                   TCustomLabel& stato, QWidget* genitore)
    : QWidget(genitore), catalogo(catalogo_), Directory(cartelle), LabelStato(stato) {
    CreaControlli();
    Collega();
    Riproduttore = new Ascolto(*Grid, stato, this);
    Menu = new MenuGriglia(
        *Grid, [this](int riga) { return PercorsoDellaRiga(riga); }, *Riproduttore);
    connect(Menu->MostraDoppioni, &QAction::triggered, this,
            [this] { Protetto([this] { MostraDoppioni(Menu->Riga()); }); });
    Ordine = new OrdineGriglia(*Grid, [this] { VisualizzaGriglia(); });
    Ricerca =
        new RicercaGriglia(*this, *Grid, catalogo, *Menu->Menu(), [this] { VisualizzaGriglia(); });
    // The report window follows the words of what plays; a file without them leaves
    // the report where it is.
    connect(Riproduttore, &Ascolto::Iniziato, this, [this](const QString& percorso) {
        std::optional<velmora::Parole> parole = velmora::ParoleDelFile(percorso.toStdString());
        if (Rapporto != nullptr && parole && !parole->empty()) {
            Rapporto->MostraParole(std::move(*parole),
                                   [this] { return Riproduttore->Posizione(); });
        }
    });
    connect(Riproduttore, &Ascolto::Finito, this, [this] {
        if (Rapporto != nullptr) {
            Rapporto->FineParole();
        }
    });
}

void PaginaVisualizza::CreaControlli() {
    Grid = new TStringGrid(this);
    Grid->setObjectName("Grid");
    Grid->setGeometry(16, 0, 593, 270);
    Grid->setFont(Carattere(13));
    QPalette tavolozza = Grid->palette();
    tavolozza.setColor(QPalette::Text, Rosso);
    tavolozza.setColor(QPalette::ButtonText, Rosso);
    Grid->setPalette(tavolozza);
    // The fixed row in the colour of an active window's border.
    Grid->SetFixedColor(QColor(212, 208, 200));
    PreparaGriglia(*Grid);

    ScrollBar1 = new QScrollBar(Qt::Vertical, this);
    ScrollBar1->setObjectName("ScrollBar1");
    ScrollBar1->setGeometry(608, 0, 20, 270);
    ScrollBar1->setRange(1, 10);
    ScrollBar1->setValue(1);
    ScrollBar1->setPageStep(10);
    ScrollBar1->setSingleStep(1);

    RadioVisualizza1 = CreaCasella<QRadioButton>(
        this, "RadioVisualizza1", "Visualizza tutti i file", {16, 288, 153, 17}, true);
    RadioVisualizza2 = CreaCasella<QRadioButton>(
        this, "RadioVisualizza2", "Visualizza basi con testo", {232, 288, 177, 17}, false);
    RadioVisualizza3 = CreaCasella<QRadioButton>(
        this, "RadioVisualizza3", "Visualizza file corrotti", {464, 288, 169, 17}, false);
    LabelRiepilogo = CreaEtichettaAuto(this, "LabelRiepilogo", "Basi totali:", {16, 312});
    LabelRiepilogo2 = CreaEtichettaAuto(this, "LabelRiepilogo2", "Basi con testo:", {240, 312});
    LabelRiepilogo3 = CreaEtichettaAuto(this, "LabelRiepilogo3", "Basi corrotte:", {464, 312});
    CheckRapporto =
        CreaCasella<QCheckBox>(this, "CheckRapporto", "Apri finestra di informazioni dettagliate",
                               {352, 336, 281, 17}, true);
}

void PaginaVisualizza::Collega() {
    connect(Grid, &TStringGrid::OnClick, this, &PaginaVisualizza::GridClick);
    connect(Grid, &TStringGrid::OnKeyDown, this, &PaginaVisualizza::GridKeyDown);
    connect(Grid, &TStringGrid::OnKeyUp, this, &PaginaVisualizza::GridKeyUp);
    connect(Grid, &TStringGrid::OnMouseUp, this, &PaginaVisualizza::GridMouseUp);
    connect(Grid, &TStringGrid::OnSelectCell, this, &PaginaVisualizza::GridSelectCell);
    connect(Grid, &TStringGrid::OnExit, this, &PaginaVisualizza::GridExit);
    // Qt's own controls: a failure of the handler goes to the general error handler
    // here, before it could reach the library.
    connect(ScrollBar1, &QScrollBar::valueChanged, this,
            [this] { Protetto([this] { ScrollBar1Change(); }); });
    for (QRadioButton* filtro : {RadioVisualizza1, RadioVisualizza2, RadioVisualizza3}) {
        connect(filtro, &QRadioButton::toggled, this, [this](bool scelto) {
            if (scelto) {
                Protetto([this] { RadioVisualizza1Click(); });
            }
        });
    }
    connect(CheckRapporto, &QCheckBox::toggled, this,
            [this] { Protetto([this] { CheckRapportoClick(); }); });
}

void PaginaVisualizza::CollegaRapporto(TRapporto& rapporto) {
    Rapporto = &rapporto;
    rapporto.CheckRapporto = CheckRapporto;
}

void PaginaVisualizza::Mostra() {
    const auto conta = [](const char* testo, std::int64_t n) {
        return QString::fromLatin1(testo) + QString::fromStdString(FormattaNumero(n));
    };
    LabelRiepilogo->setText(conta("Basi totali: ", catalogo.NumeroFile()));
    LabelRiepilogo2->setText(conta("Basi con testo: ", catalogo.NumeroConTesto()));
    LabelRiepilogo3->setText(conta("Basi corrotte: ", catalogo.NumeroCorrotti()));
    if (CheckRapporto->isChecked()) {
        Rapporto->show();
        Rapporto->raise();
    }
}

void PaginaVisualizza::AbilitaFiltri(const FiltriVisualizza& filtri) {
    QRadioButton* const filtro[] = {RadioVisualizza1, RadioVisualizza2, RadioVisualizza3};
    filtro[0]->setEnabled(filtri.tutti);
    filtro[1]->setEnabled(filtri.conTesto);
    filtro[2]->setEnabled(filtri.corrotti);
    filtro[filtri.Scelta(static_cast<int>(FiltroAttivo()) + 1) - 1]->setChecked(true);
}

void PaginaVisualizza::StaccaDalCatalogo() {
    Riproduttore->Ferma();
    Ricerca->Dimentica();
    righe.reset();
    StaccaGriglia(*Grid);
    // The file of the last report may not be in the new catalogue.
    if (Rapporto != nullptr) {
        Rapporto->MostraAiuto();
    }
}

void PaginaVisualizza::ImpostaSoundFont(const QString& file) {
    Riproduttore->ImpostaSoundFont(file);
}

void PaginaVisualizza::FermaAscolto() {
    Riproduttore->Ferma();
}

void PaginaVisualizza::ScriviIntestazione(int colonna, const QString& testo) {
    Grid->SetCells(colonna, 0, testo);
}

Filtro PaginaVisualizza::FiltroAttivo() const {
    if (RadioVisualizza2->isChecked()) {
        return Filtro::ConTesto;
    }
    return RadioVisualizza3->isChecked() ? Filtro::Corrotti : Filtro::Tutti;
}

void PaginaVisualizza::VisualizzaGriglia() {
    const bool ristretta = Ricerca->Attiva();
    if (catalogo.NumeroFile() == 0 || (!ristretta && !Ordine->Attuale().Attivo())) {
        righe.reset();
        RiempiGriglia(*Grid, *ScrollBar1, catalogo, FiltroAttivo());
        return;
    }
    std::vector<const dati::elemento*> voci =
        ristretta ? Ricerca->Righe(FiltroAttivo()) : VociDelFiltro(catalogo, FiltroAttivo());
    ::Ordina(voci, Ordine->Attuale());
    righe = voci;
    RiempiGriglia(*Grid, *ScrollBar1, std::move(voci));
}

void PaginaVisualizza::RadioVisualizza1Click() {
    VisualizzaGriglia();
}

void PaginaVisualizza::ScrollBar1Change() {
    Grid->SetTopRow(ScrollBar1->value());
}

void PaginaVisualizza::GridClick() {
    if (Grid->Row() != UltimaRiga) {
        EstraiInfo();
    }
    UltimaRiga = Grid->Row();
}

void PaginaVisualizza::GridKeyUp(int) {
    if (Grid->Row() != UltimaRiga) {
        EstraiInfo();
    }
    ScrollBar1->setValue(Grid->TopRow());
}

void PaginaVisualizza::GridMouseUp() {
    AdattaUltimaColonna();
}

void PaginaVisualizza::AdattaUltimaColonna() {
    std::vector<int> larghezze;
    for (int c = 0; c < Grid->ColCount(); ++c) {
        larghezze.push_back(Grid->ColWidths(c));
    }
    Grid->SetColWidths(Grid->ColCount() - 1, LarghezzaUltimaColonna(larghezze, Grid->width()));
}

void PaginaVisualizza::GridKeyDown(int tasto) {
    if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
        if (Grid->Col() == 1) {
            Rename();
        } else if (Grid->Col() == 0) {
            RenameDir();
        }
    }
    UltimaRiga = Grid->Row();
}

void PaginaVisualizza::GridSelectCell(int, int) {
    if (UltimaRiga != 0) {
        Rename();
        RenameDir();
    }
    UltimaRiga = 0;
}

void PaginaVisualizza::GridExit() {
    GridSelectCell(Grid->Col(), Grid->Row());
}

const dati::elemento* PaginaVisualizza::VoceDellaRiga(int riga) {
    if (!righe) {
        return EntryDellaRiga(catalogo, FiltroAttivo(), riga);
    }
    if (riga < 1 || static_cast<std::size_t>(riga) > righe->size()) {
        return nullptr;
    }
    const dati::elemento* voce = (*righe)[static_cast<std::size_t>(riga) - 1];
    catalogo.Posiziona(voce);
    return voce;
}

std::string PaginaVisualizza::PercorsoDellaRiga(int riga) {
    const dati::elemento* voce = VoceDellaRiga(riga);
    return voce ? velmora::UnisciPercorso(voce->Percorso(), voce->Nome()) : std::string();
}

void PaginaVisualizza::MostraDoppioni(int riga) {
    const dati::elemento* voce = VoceDellaRiga(riga);
    if (voce == nullptr) {
        return;
    }
    // Asked for by name: the window comes up as its check box brings it, and the list
    // takes the place of the words of a file playing.
    CheckRapporto->setChecked(true);
    Rapporto->FineParole();
    Rapporto->RichEdit1->Svuota();
    for (const Frammento& corsa : RapportoDoppioni(catalogo, *voce)) {
        ScriviRTF(QString::fromStdString(corsa.testo), corsa.stile);
    }
    Rapporto->show();
    Rapporto->raise();
}

const dati::elemento* PaginaVisualizza::EntryCorrente() {
    return VoceDellaRiga(Grid->Row());
}

void PaginaVisualizza::ScriviRTF(const QString& testo, int stile) {
    Rapporto->RichEdit1->ScriviRTF(testo, stile);
}

void PaginaVisualizza::EstraiInfo() {
    if (!CheckRapporto->isChecked()) {
        return;
    }
    const dati::elemento* voce = EntryCorrente();
    if (voce == nullptr) {
        return;
    }
    // The same runs as velmora-cli analyze, from a fresh analysis of the file.
    const ::Rapporto rapporto =
        CostruisciRapporto(voce->Nome(), voce->Directory(), voce->Percorso());
    Rapporto->RichEdit1->Svuota();
    for (const Frammento& corsa : rapporto) {
        ScriviRTF(QString::fromStdString(corsa.testo), corsa.stile);
    }
}

void PaginaVisualizza::CheckRapportoClick() {
    if (CheckRapporto->isChecked()) {
        Rapporto->show();
        Rapporto->raise();
    } else {
        Rapporto->hide();
    }
}

void PaginaVisualizza::Rename() {
    const dati::elemento* voce = EntryCorrente();
    if (voce == nullptr) {
        return;
    }
    const std::string testo = Grid->Cells(1, Grid->Row()).toStdString();
    const std::string mostrato = TestoColonna(*voce, 1);
    if (testo == mostrato) {
        return; // not edited: the file is left alone
    }
    // The extension stays as it is on disk ("SONG.MID" stays upper case). Full paths:
    // the file stays in its folder and the folder list where it is. The text typed
    // must be a name by itself (an empty one would leave a bare extension).
    const std::string nuovo = testo + voce->Nome().substr(mostrato.size());
    Esito esito = ControllaNome(testo);
    if (esito) {
        esito = RinominaInCartella(voce->Percorso(), voce->Nome(), nuovo);
    }
    if (esito) {
        Riproduttore->Ferma(); // the player must not hold a name that is gone
        RinominaNelCatalogoSalvato(voce->Percorso(), voce->Nome(), nuovo);
        catalogo.CambiaNome(nuovo);
    } else {
        Grid->SetCells(1, Grid->Row(), QString::fromStdString(mostrato));
        Rifiutata(esito);
    }
}

void PaginaVisualizza::RenameDir() {
    const dati::elemento* voce = EntryCorrente();
    if (voce == nullptr) {
        return;
    }
    const std::string nuovoNome = Grid->Cells(0, Grid->Row()).toStdString();
    if (nuovoNome == voce->Directory()) {
        return;
    }
    const std::string vecchio = voce->Percorso();
    const std::string sopra = velmora::CartellaSuperiore(vecchio);
    const std::string nuovo = velmora::UnisciPercorso(sopra, nuovoNome);
    // The folder list leaves the folder it shows for the one above, so that the
    // process's current folder does not lie inside a folder being renamed. A root
    // has none above: there the rename is refused and the folder list stays.
    const std::string mostrata = Directory.Directory();
    const QString comeEra = QString::fromStdString(TestoColonna(*voce, 0));
    if (velmora::ERadice(mostrata)) {
        Grid->SetCells(0, Grid->Row(), comeEra);
        Rifiutata({"Impossibile rinominare: la cartella aperta è una radice"});
        return;
    }
    Directory.SetDirectory(velmora::CartellaSuperiore(mostrata));
    const Esito esito = RinominaInCartella(sopra, velmora::NomeCartella(vecchio), nuovoNome);
    if (!esito) {
        Grid->SetCells(0, Grid->Row(), comeEra);
        try {
            Directory.SetDirectory(vecchio);
        } catch (const ErroreCartella&) {
            // The folder is gone: the list goes back to the folder that was open, or
            // the nearest one still there, before the error is shown.
            Directory.SetDirectory(CartellaEsistente(mostrata));
            throw;
        }
        Rifiutata(esito);
        return;
    }
    // The main window's directoryCorrente follows the folder list through its
    // change handler.
    Riproduttore->Ferma();
    CartellaRinominataNelCatalogoSalvato(vecchio, nuovo);
    CartellaRinominata(catalogo, vecchio, nuovo);
    VisualizzaGriglia();
    Directory.SetDirectory(nuovo);
}

void PaginaVisualizza::Rifiutata(const Esito& esito) {
    LabelStato.setText(QString::fromStdString(esito.errore));
}
