// The grid's right-click menu on page 'Visualizza': actions on the file of the grid's
// current row (a right click does not move it). Each action is one row of the table.
#include "pagina_visualizza.h"

#include "errori.h"
#include "rapporto_doppioni.h"
#include "trapporto.h"
#include "trichedit.h"
#include "tstringgrid.h"

#include <QAction>
#include <QCheckBox>

void PaginaVisualizza::CreaMenuGriglia() {
    struct Voce {
        const char* nome; // object name, for the tests
        const char* testo;
        void (PaginaVisualizza::*azione)();
    };
    static constexpr Voce kVoci[] = {
        {"AzioneDoppioni", "Mostra i doppioni", &PaginaVisualizza::MostraDoppioni},
    };
    Grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    for (const Voce& v : kVoci) {
        auto* azione = new QAction(QString::fromUtf8(v.testo), Grid);
        azione->setObjectName(v.nome);
        connect(azione, &QAction::triggered, this,
                [this, f = v.azione] { Protetto([this, f] { (this->*f)(); }); });
        Grid->addAction(azione);
    }
}

void PaginaVisualizza::MostraDoppioni() {
    const dati::elemento* voce = EntryCorrente();
    if (voce == nullptr) {
        return;
    }
    // Asked for by name: the window comes up as its check box brings it.
    CheckRapporto->setChecked(true);
    Rapporto->RichEdit1->Svuota();
    for (const Frammento& corsa : RapportoDoppioni(catalogo, *voce)) {
        ScriviRTF(QString::fromStdString(corsa.testo), corsa.stile);
    }
    Rapporto->show();
    Rapporto->raise();
}
