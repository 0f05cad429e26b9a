#include "menu_griglia.h"

#include "ascolto.h"
#include "errori.h"
#include "pagina_visualizza.h"
#include "tstringgrid.h"

#include "piattaforma.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMenu>
#include <QUrl>

namespace {

MenuGriglia::SceltaSoundFont& SceltaImpostata() {
    static MenuGriglia::SceltaSoundFont scelta;
    return scelta;
}

QString Qt8(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

void MenuGriglia::ImpostaSceltaSoundFont(SceltaSoundFont scelta) {
    SceltaImpostata() = std::move(scelta);
}

MenuGriglia::MenuGriglia(PaginaVisualizza& p, Ascolto& a)
    : QObject(&p), pagina(p), ascolto(a), menu(new QMenu(&p)) {
    Ascolta = menu->addAction("Ascolta");
    Ferma = menu->addAction("Ferma");
    ApriCartella = menu->addAction("Apri la cartella");
    CopiaPercorso = menu->addAction("Copia il percorso");
    MostraDoppioni = menu->addAction("Mostra i doppioni");
    menu->addSeparator();
    ScegliSoundFont = menu->addAction("Scegli SoundFont...");
    Ascolta->setShortcut(kTastoAscolto); // shown in the menu; the grid handles the key

    // Qt's own signals: a failure goes to the general error handler here.
    const auto comando = [this](QAction* voce, auto gestore) {
        connect(voce, &QAction::triggered, this, [gestore] { Protetto(gestore); });
    };
    comando(Ascolta, [this] { Suona(riga); });
    comando(Ferma, [this] { ascolto.Ferma(); });
    comando(ApriCartella, [this] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(Qt8(pagina.CartellaDellaRiga(riga))));
    });
    comando(CopiaPercorso,
            [this] { QGuiApplication::clipboard()->setText(Qt8(pagina.PercorsoDellaRiga(riga))); });
    comando(MostraDoppioni, [this] { pagina.MostraDoppioni(riga); });
    comando(ScegliSoundFont, [this] {
        const QString file =
            SceltaImpostata()
                ? SceltaImpostata()(&pagina)
                : QFileDialog::getOpenFileName(&pagina, "Scegli SoundFont", ascolto.SoundFont(),
                                               "SoundFont (*.sf2 *.sf3)");
        if (!file.isEmpty()) {
            ascolto.ImpostaSoundFont(file);
            emit SoundFontScelta(file);
        }
    });

    TStringGrid* griglia = pagina.Grid;
    griglia->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(griglia, &TStringGrid::customContextMenuRequested, this, &MenuGriglia::Apri);
    connect(griglia, &TStringGrid::OnKeyDown, this, &MenuGriglia::TastoPremuto);
}

void MenuGriglia::Apri(const QPoint& posizione) {
    const QModelIndex cella = pagina.Grid->indexAt(posizione);
    riga = cella.isValid() ? cella.row() + 1 : 0;
    const bool voce = !pagina.PercorsoDellaRiga(riga).empty();
    for (QAction* a : {Ascolta, ApriCartella, CopiaPercorso, MostraDoppioni}) {
        a->setEnabled(voce);
    }
    Ferma->setEnabled(ascolto.RigaInAscolto() != 0);
    menu->popup(pagina.Grid->viewport()->mapToGlobal(posizione));
}

void MenuGriglia::Suona(int r) {
    const std::string percorso = pagina.PercorsoDellaRiga(r);
    if (!percorso.empty()) {
        ascolto.Suona(percorso, r);
    }
}

void MenuGriglia::TastoPremuto(int tasto) {
    if (tasto != kTastoAscolto) {
        return;
    }
    const int corrente = pagina.Grid->Row();
    if (ascolto.RigaInAscolto() == corrente) {
        ascolto.Ferma();
    } else {
        Suona(corrente);
    }
}
