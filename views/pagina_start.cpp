#include "pagina_start.h"

#include "aspetto.h"
#include "caselle.h"

#include <QDesktopServices>
#include <QUrl>

using namespace aspetto;

const char* const PaginaStart::PaginaWeb1 = "https://www.midi.org/";
const char* const PaginaStart::PaginaWeb2 =
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

PaginaStart::PaginaStart(QWidget* genitore) : QWidget(genitore) {
    Label2 = CreaEtichetta(this, "Label2", QStringLiteral("Tarvo Midi Velmora 0.9b"),
                           {16, 332, 259, 21}, Carattere(15, true), Giallo);
    Label3 = CreaEtichetta(
        this, "Label3",
        QStringLiteral("Versione Preliminare - Ancora in fase di Realizzazione!!!!!!"),
        {0, 66, 474, 25}, Carattere(17, true), Giallo);
    Label4 = CreaEtichetta(this, "Label4",
                           QStringLiteral("Il catalogo completo delle tue basi MIDI e karaoke"),
                           {0, 122, 588, 31}, Carattere(22, true), Lime);
    QFont collegamento = Carattere(17);
    collegamento.setUnderline(true);
    Label5 = CreaEtichetta(this, "Label5", IndirizzoVisibile(PaginaWeb1), {0, 147, 208, 24},
                           collegamento, Rosso);
    Label6 = CreaEtichetta(this, "Label6", IndirizzoVisibile(PaginaWeb2), {0, 168, 443, 24},
                           collegamento, Rosso);
    Label7 = CreaEtichetta(
        this, "Label7",
        QStringLiteral("Segnalateci errori e suggerimenti: ci aiuterete a migliorarlo!"),
        {0, 207, 519, 24}, Carattere(17), Giallo);
    Label8 = CreaEtichetta(this, "Label8", QStringLiteral("Tarvo Software - Italia"),
                           {0, 236, 207, 24}, Carattere(17), Rosso);
    // The lines centred on the page also centre their text, so that any caption
    // sits in the middle of the window.
    for (TCustomLabel* riga : {Label3, Label4, Label5, Label6, Label7, Label8}) {
        riga->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }
    connect(Label5, &TCustomLabel::Click, this, &PaginaStart::Label4Click);
    connect(Label6, &TCustomLabel::Click, this, &PaginaStart::Label6Click);
}

void PaginaStart::CentraEtichette(int larghezza) {
    for (TCustomLabel* riga : {Label3, Label4, Label5, Label6, Label7, Label8}) {
        riga->move((larghezza - riga->width()) / 2, riga->y());
    }
}

void PaginaStart::ManoSuiCollegamenti() {
    Label5->setCursor(Qt::PointingHandCursor);
    Label6->setCursor(Qt::PointingHandCursor);
}

std::vector<QWidget*> PaginaStart::Trascinabili() const {
    return {Label2, Label3, Label4, Label7, Label8};
}

void PaginaStart::Label4Click() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(PaginaWeb1)));
}

void PaginaStart::Label6Click() {
    QDesktopServices::openUrl(QUrl(QString::fromLatin1(PaginaWeb2)));
}
