// Page 'Visualizza': the catalogue grid with its filters, paging and counts, and the
// report of the selected row in the report window.
#include "tvelmora.h"

#include "formato.h"
#include "rapporto.h"
#include "trapporto.h"
#include "trichedit.h"
#include "tstringgrid.h"

#include "piattaforma.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>

#include <vector>

void TVelmora::VisualizzaClick() {
    Visualizza->SetActive(true);
    VisualizzaGriglia();
    Sezioni->setCurrentIndex(2);
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

Filtro TVelmora::FiltroAttivo() const {
    if (RadioVisualizza2->isChecked()) {
        return Filtro::ConTesto;
    }
    return RadioVisualizza3->isChecked() ? Filtro::Corrotti : Filtro::Tutti;
}

void TVelmora::VisualizzaGriglia() {
    RiempiGriglia(*Grid, *ScrollBar1, catalogo, FiltroAttivo());
}

void TVelmora::RadioVisualizza1Click() {
    VisualizzaGriglia();
}

void TVelmora::ScrollBar1Change() {
    Grid->SetTopRow(ScrollBar1->value());
}

void TVelmora::GridClick() {
    if (Grid->Row() != UltimaRiga) {
        EstraiInfo();
    }
    UltimaRiga = Grid->Row();
}

void TVelmora::GridKeyUp(int) {
    if (Grid->Row() != UltimaRiga) {
        EstraiInfo();
    }
    ScrollBar1->setValue(Grid->TopRow());
}

void TVelmora::GridMouseUp() {
    AdattaUltimaColonna();
}

void TVelmora::AdattaUltimaColonna() {
    std::vector<int> larghezze;
    for (int c = 0; c < Grid->ColCount(); ++c) {
        larghezze.push_back(Grid->ColWidths(c));
    }
    Grid->SetColWidths(Grid->ColCount() - 1, LarghezzaUltimaColonna(larghezze, Grid->width()));
}

void TVelmora::GridKeyDown(int tasto) {
    if (tasto == Qt::Key_Return || tasto == Qt::Key_Enter) {
        if (Grid->Col() == 1) {
            Rename();
        } else if (Grid->Col() == 0) {
            RenameDir();
        }
    }
    UltimaRiga = Grid->Row();
}

void TVelmora::GridSelectCell(int, int) {
    if (UltimaRiga != 0) {
        Rename();
        RenameDir();
    }
    UltimaRiga = 0;
}

void TVelmora::GridExit() {
    GridSelectCell(Grid->Col(), Grid->Row());
}

const dati::elemento* TVelmora::EntryCorrente() {
    return EntryDellaRiga(catalogo, FiltroAttivo(), Grid->Row());
}

void TVelmora::ScriviRTF(const QString& testo, int stile) {
    Rapporto->RichEdit1->ScriviRTF(testo, stile);
}

void TVelmora::EstraiInfo() {
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

void TVelmora::CheckRapportoClick() {
    if (CheckRapporto->isChecked()) {
        Rapporto->show();
        Rapporto->raise();
    } else {
        Rapporto->hide();
    }
}
