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

#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

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
        Indicizza();
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

// The catalogue's entries in order, and where each stored file stands among them.
void RicercaGriglia::Indicizza() {
    voci.clear();
    posizioni.clear();
    const auto indice = archivio->Indicizza();
    if (!indice) {
        NonDisponibile(archivio->Motivo());
        return;
    }
    // The entries by folder and name; the views into them serve only here.
    using Chiave = std::pair<std::string_view, std::string_view>;
    const auto hash = [](const Chiave& k) {
        return std::hash<std::string_view>{}(k.first) * 31 +
               std::hash<std::string_view>{}(k.second);
    };
    std::unordered_map<Chiave, std::int32_t, decltype(hash)> perNome(
        static_cast<std::size_t>(catalogo.NumeroFile()), hash);
    for (const dati::elemento* e = catalogo.PrimoElemento(); e != nullptr; e = e->successivo) {
        perNome.emplace(Chiave(e->Percorso(), e->nome), static_cast<std::int32_t>(voci.size()));
        voci.push_back(e);
    }
    posizioni.reserve(indice->file.size());
    for (const auto& f : indice->file) {
        const auto cartella = indice->cartelle.find(f.cartella);
        if (cartella == indice->cartelle.end()) {
            continue;
        }
        if (const auto e = perNome.find(Chiave(cartella->second, f.nome)); e != perNome.end()) {
            posizioni.emplace(f.id, e->second);
        }
    }
    Campo->setReadOnly(false);
    Campo->setPlaceholderText("Cerca: nome, cartella, copyright, testo...");
}

void RicercaGriglia::Chiudi() {
    const bool ristretta = Attiva();
    Dimentica();
    griglia.setFocus(Qt::OtherFocusReason);
    if (ristretta) {
        cambiata();
    }
}

void RicercaGriglia::Dimentica() {
    trovate.clear();
    voci.clear();
    posizioni.clear();
    archivio.reset();
    const QSignalBlocker silenzio(Campo);
    Campo->clear();
    Campo->hide();
}

std::vector<const dati::elemento*> RicercaGriglia::Righe(Filtro filtro) const {
    std::vector<const dati::elemento*> righe;
    for (std::size_t i = 0; i < trovate.size(); ++i) {
        if (trovate[i] && NelFiltro(*voci[i], filtro)) {
            righe.push_back(voci[i]);
        }
    }
    return righe;
}

void RicercaGriglia::Digitato(const QString& testo) {
    if (!archivio || !archivio->Disponibile()) {
        return;
    }
    const auto trovati = archivio->IdTrovati(testo.toStdString());
    trovate.clear();
    if (!trovati) {
        NonDisponibile(archivio->Motivo());
    } else if (trovati->parole) {
        trovate.assign(voci.size(), 0);
        for (const std::int64_t id : trovati->id) {
            if (const auto p = posizioni.find(id); p != posizioni.end()) {
                trovate[static_cast<std::size_t>(p->second)] = 1;
            }
        }
    } // no word to look for: the whole filter
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
