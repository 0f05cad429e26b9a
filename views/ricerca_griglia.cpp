#include "ricerca_griglia.h"

#include "aspetto.h"
#include "errori.h"
#include "tstringgrid.h"

#include "piattaforma.h"

#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>

#include <string>

namespace {

// The grid's window must not wait long for a database another program is writing.
constexpr int kAttesaGriglia = 300;

constexpr int kLarghezzaCampo = 240;
constexpr int kAltezzaCampo = 24;

const QKeySequence kTasto(Qt::CTRL | Qt::Key_F);

} // namespace

RicercaGriglia::RicercaGriglia(QWidget& p, TStringGrid& g, dati& c, QMenu& menu,
                               std::function<void()> cambio)
    : QObject(&p), pagina(p), griglia(g), catalogo(c), cambiata(std::move(cambio)) {
    Campo = new QLineEdit(&pagina);
    Campo->setObjectName("CampoRicerca");
    Campo->setFont(aspetto::Carattere(13));
    Campo->setClearButtonEnabled(true);
    Campo->hide();
    Campo->installEventFilter(this);
    connect(Campo, &QLineEdit::textChanged, this,
            [this](const QString& testo) { Protetto([&] { Digitato(testo); }); });

    menu.addSeparator();
    Cerca = menu.addAction("Cerca...");
    Cerca->setShortcut(kTasto); // shown in the menu; the page's shortcut does the work
    connect(Cerca, &QAction::triggered, this, [this] { Protetto([this] { Apri(); }); });
    // Anywhere in the window while the page is shown (a hidden page's shortcut sleeps).
    auto* scorciatoia = new QShortcut(kTasto, &pagina);
    scorciatoia->setContext(Qt::WindowShortcut);
    connect(scorciatoia, &QShortcut::activated, this, [this] { Protetto([this] { Apri(); }); });
}

RicercaGriglia::~RicercaGriglia() = default;

void RicercaGriglia::Apri() {
    if (!Campo->isVisible()) {
        archivio = std::make_unique<velmora::archivio::Archivio>(velmora::PercorsoCatalogo(),
                                                                 kAttesaGriglia);
        perId.clear();
        const auto indice = archivio->Indice();
        if (!indice) {
            NonDisponibile(archivio->Motivo());
        } else {
            // The catalogue's entries by full path, then the stored ids of those paths.
            std::unordered_map<std::string, const dati::elemento*> perPercorso;
            perPercorso.reserve(static_cast<std::size_t>(catalogo.NumeroFile()));
            for (const dati::elemento* e = catalogo.PrimoElemento(); e != nullptr;
                 e = e->successivo) {
                perPercorso.emplace(velmora::UnisciPercorso(e->percorso, e->nome), e);
            }
            for (const velmora::archivio::Archivio::Voce& v : *indice) {
                const auto e = perPercorso.find(velmora::UnisciPercorso(v.cartella, v.nome));
                if (e != perPercorso.end()) {
                    perId.emplace(v.id, e->second);
                }
            }
            Campo->setReadOnly(false);
            Campo->setPlaceholderText("Cerca: nome, cartella, copyright, testo...");
        }
        const QRect area = griglia.geometry();
        const int basso = area.top() + griglia.viewport()->geometry().bottom();
        Campo->setGeometry(area.right() - kLarghezzaCampo - 1, basso - kAltezzaCampo,
                           kLarghezzaCampo, kAltezzaCampo);
        Campo->show();
        Campo->raise();
    }
    Campo->setFocus(Qt::ShortcutFocusReason);
    Campo->selectAll();
}

void RicercaGriglia::Chiudi() {
    const bool ristretta = trovate.has_value();
    Dimentica();
    griglia.setFocus(Qt::OtherFocusReason);
    if (ristretta) {
        cambiata();
    }
}

void RicercaGriglia::Dimentica() {
    trovate.reset();
    perId.clear();
    archivio.reset();
    const QSignalBlocker silenzio(Campo);
    Campo->clear();
    Campo->hide();
}

void RicercaGriglia::Digitato(const QString& testo) {
    if (!archivio || !archivio->Disponibile()) {
        return;
    }
    const std::string domanda = testo.toStdString();
    const std::optional<bool> parole = archivio->HaParole(domanda);
    std::optional<std::vector<std::int64_t>> id;
    if (parole.value_or(false)) {
        id = archivio->IdTrovati(domanda);
    }
    if (!archivio->Disponibile()) {
        NonDisponibile(archivio->Motivo());
        trovate.reset();
    } else if (!parole.value_or(false)) {
        trovate.reset(); // nothing to look for: the whole filter
    } else {
        Trovate nuove;
        nuove.reserve(id->size());
        for (const std::int64_t i : *id) {
            if (const auto e = perId.find(i); e != perId.end()) {
                nuove.insert(e->second);
            }
        }
        trovate = std::move(nuove);
    }
    cambiata();
}

void RicercaGriglia::NonDisponibile(const std::string& motivo) {
    Campo->setReadOnly(true);
    const QSignalBlocker silenzio(Campo);
    Campo->clear();
    Campo->setPlaceholderText("Ricerca non disponibile: " + QString::fromStdString(motivo));
}

bool RicercaGriglia::eventFilter(QObject*, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress) {
        return false;
    }
    switch (static_cast<QKeyEvent*>(evento)->key()) {
    case Qt::Key_Escape:
        Protetto([this] { Chiudi(); });
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
        griglia.setFocus(Qt::OtherFocusReason); // the field stays open
        return true;
    default:
        return false;
    }
}
