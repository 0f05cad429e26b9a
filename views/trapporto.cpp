#include "trapporto.h"

#include "aspetto.h"
#include "errori.h"
#include "rtf.h"
#include "scrittura.h"
#include "trichedit.h"
#include "vista_parole.h"

#include <QCheckBox>
#include <QLabel>

using namespace aspetto;

TRapporto::TRapporto(const QPixmap& sfondo)
    : TFinestra("Rapporto", QStringLiteral("Rapporto"), QSize(512, 256), QPoint(483, 205),
                Carattere(13, false, SansSerif)) {
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    Trascina(Piastrella(this, "Sfondo1", QPoint(0, 0), sfondo));
    Trascina(Piastrella(this, "Sfondo2", QPoint(256, 0), sfondo));

    Salva = CreaRLabel(this, EtichettaPagina("Salva", "Salva", {16, 0, 57, 31}));
    Chiudi = CreaRLabel(this, ComandoFinestra("Chiudi", "x", {480, -6, 16, 38}));

    RichEdit1 = new TRichEdit(this);
    RichEdit1->setObjectName("RichEdit1");
    RichEdit1->setGeometry(16, 32, 481, 201);
    RichEdit1->setFont(Carattere(13));
    QPalette tavolozza = RichEdit1->palette();
    tavolozza.setColor(QPalette::Text, Nero);
    RichEdit1->setPalette(tavolozza);
    MostraAiuto();
    Parole = new VistaParole(this);
    Parole->setGeometry(RichEdit1->geometry());
    Parole->setFont(RichEdit1->font());

    SaveDialog1.Filtri = QStringList{QStringLiteral("File Rich Text Format (*.rtf)"),
                                     QStringLiteral("File di Testo (*.txt)")};
    SaveDialog1.DefaultExt = QStringLiteral("txt");

    connect(Chiudi, &TCustomLabel::Click, this, &TRapporto::ChiudiClick);
    connect(Salva, &TCustomLabel::Click, this, &TRapporto::SalvaClick);
}

void TRapporto::MostraAiuto() {
    RichEdit1->Svuota();
    RichEdit1->ScriviRTF(
        "In questa finestra potete trovare tutte le informazioni di un singolo midi.\r\n"
        "Basta selezionare un midi sulla griglia e verranno visualizzate tutte le\r\n"
        "caratteristiche della base.\r\n",
        3);
}

void TRapporto::MostraParole(velmora::Parole parole, std::function<double()> posizione) {
    RichEdit1->hide();
    Parole->Segui(std::move(parole), std::move(posizione));
}

void TRapporto::FineParole() {
    Parole->Ferma();
    RichEdit1->show();
}

void TRapporto::ChiudiClick() {
    if (CheckRapporto != nullptr) {
        CheckRapporto->setChecked(false);
    }
    hide();
}

void TRapporto::SalvaClick() {
    SaveDialog1.FileName = QStringLiteral("Analisi del midi");
    if (!SaveDialog1.Execute(this)) {
        return;
    }
    const Rapporto& contenuto = RichEdit1->Contenuto();
    Riuscito(ScriviFile(SaveDialog1.FileName.toStdString(), SaveDialog1.FilterIndex == 1
                                                                ? DocumentoRtf(contenuto)
                                                                : TestoSemplice(contenuto)));
}
