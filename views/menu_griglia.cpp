#include "menu_griglia.h"

#include "ascolto.h"
#include "errori.h"
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

MenuGriglia::MenuGriglia(TStringGrid& g, PercorsoDellaRiga p, Ascolto& a)
    : QObject(&g), griglia(g), percorsoDellaRiga(std::move(p)), ascolto(a), menu(new QMenu(&g)) {
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
        const std::string percorso = percorsoDellaRiga(riga);
        if (!percorso.empty()) {
            QDesktopServices::openUrl(
                QUrl::fromLocalFile(Qt8(velmora::CartellaSuperiore(percorso))));
        }
    });
    comando(CopiaPercorso,
            [this] { QGuiApplication::clipboard()->setText(Qt8(percorsoDellaRiga(riga))); });
    comando(ScegliSoundFont, [this] {
        const QString file =
            SceltaImpostata()
                ? SceltaImpostata()(&griglia)
                : QFileDialog::getOpenFileName(&griglia, "Scegli SoundFont", ascolto.SoundFont(),
                                               "SoundFont (*.sf2 *.sf3)");
        if (!file.isEmpty()) {
            ascolto.ImpostaSoundFont(file);
            emit SoundFontScelta(file);
        }
    });

    griglia.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&griglia, &TStringGrid::customContextMenuRequested, this, &MenuGriglia::Apri);
    connect(&griglia, &TStringGrid::OnKeyDown, this, &MenuGriglia::TastoPremuto);
}

void MenuGriglia::Apri(const QPoint& posizione) {
    const QModelIndex cella = griglia.indexAt(posizione);
    riga = cella.isValid() ? cella.row() + 1 : 0;
    const bool voce = !percorsoDellaRiga(riga).empty();
    for (QAction* a : {Ascolta, ApriCartella, CopiaPercorso, MostraDoppioni}) {
        a->setEnabled(voce);
    }
    Ferma->setEnabled(ascolto.RigaInAscolto() != 0);
    menu->popup(griglia.viewport()->mapToGlobal(posizione));
}

void MenuGriglia::Suona(int r) {
    const std::string percorso = percorsoDellaRiga(r);
    if (!percorso.empty()) {
        ascolto.Suona(percorso, r);
    }
}

void MenuGriglia::TastoPremuto(int tasto) {
    if (tasto != kTastoAscolto) {
        return;
    }
    const int corrente = griglia.Row();
    if (ascolto.RigaInAscolto() == corrente) {
        ascolto.Ferma();
    } else {
        Suona(corrente);
    }
}
