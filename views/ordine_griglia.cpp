#include "ordine_griglia.h"

#include "errori.h"
#include "griglia_catalogo.h"
#include "ordina.h"
#include "tstringgrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>

#include <algorithm>
#include <cstdint>
#include <optional>

// The triangle over the heading of the sorted column: a transparent layer on the
// heading's viewport, so that the heading itself draws as it always does.
class FrecciaOrdine : public QWidget {
public:
    explicit FrecciaOrdine(QHeaderView* intestazione)
        : QWidget(intestazione->viewport()), testata(intestazione) {
        setObjectName("FrecciaOrdine");
        setAttribute(Qt::WA_TransparentForMouseEvents);
        intestazione->viewport()->installEventFilter(this);
        setGeometry(intestazione->viewport()->rect());
    }

    void Mostra(const Ordine& o) {
        ordine = o;
        setVisible(o.Attivo());
        update();
    }

protected:
    bool eventFilter(QObject*, QEvent* evento) override {
        if (evento->type() == QEvent::Resize) {
            setGeometry(testata->viewport()->rect());
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        if (!ordine.Attivo()) {
            return;
        }
        const int x = testata->sectionViewportPosition(ordine.colonna) +
                      testata->sectionSize(ordine.colonna) - 10;
        const int y = height() / 2;
        QPolygon triangolo;
        if (ordine.verso == Ordine::Verso::Crescente) {
            triangolo << QPoint(x, y + 3) << QPoint(x + 6, y + 3) << QPoint(x + 3, y - 3);
        } else {
            triangolo << QPoint(x, y - 3) << QPoint(x + 6, y - 3) << QPoint(x + 3, y + 3);
        }
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(palette().color(QPalette::ButtonText));
        p.drawPolygon(triangolo);
    }

private:
    QHeaderView* testata;
    Ordine ordine;
};

namespace {

// The column's value as a number, for the columns that hold one.
std::optional<std::int64_t> Numero(const dati::elemento& e, int colonna) {
    switch (colonna) {
    case 2:
        return e.durata;
    case 3:
        return e.lunghezza;
    case 5:
        return e.bpm;
    case 6:
        return e.tracce;
    default:
        return std::nullopt;
    }
}

std::string Chiave(const dati::elemento& e, int colonna) {
    return colonna == 1 ? DatiSort(0, e.Nome()).chiave : MinuscoloAnsi(TestoColonna(e, colonna));
}

template <typename Valore>
void OrdinaPer(std::vector<const dati::elemento*>& righe, bool giu, Valore valore) {
    using Tipo = decltype(valore(*righe.front()));
    std::vector<std::pair<Tipo, const dati::elemento*>> chiavi;
    chiavi.reserve(righe.size());
    for (const dati::elemento* e : righe) {
        chiavi.emplace_back(valore(*e), e);
    }
    std::stable_sort(chiavi.begin(), chiavi.end(), [giu](const auto& a, const auto& b) {
        return giu ? b.first < a.first : a.first < b.first;
    });
    std::transform(chiavi.begin(), chiavi.end(), righe.begin(), [](auto& c) { return c.second; });
}

} // namespace

Ordine Ordine::Dopo(int colonnaCliccata) const {
    if (colonnaCliccata != colonna || verso == Verso::Nessuno) {
        return {colonnaCliccata, Verso::Crescente};
    }
    if (verso == Verso::Crescente) {
        return {colonna, Verso::Decrescente};
    }
    return {};
}

void Ordina(std::vector<const dati::elemento*>& righe, const Ordine& ordine) {
    if (!ordine.Attivo() || righe.empty()) {
        return;
    }
    const bool giu = ordine.verso == Ordine::Verso::Decrescente;
    const int c = ordine.colonna;
    if (Numero(*righe.front(), c)) {
        OrdinaPer(righe, giu, [c](const dati::elemento& e) { return *Numero(e, c); });
    } else {
        OrdinaPer(righe, giu, [c](const dati::elemento& e) { return Chiave(e, c); });
    }
}

OrdineGriglia::OrdineGriglia(TStringGrid& g, std::function<void()> r)
    : QObject(&g), griglia(g), riordina(std::move(r)) {
    QHeaderView* intestazione = griglia.horizontalHeader();
    intestazione->setSectionsClickable(true);
    // A press on a heading would select its column, moving the current cell (and so
    // committing a rename): a heading only sorts.
    disconnect(intestazione, &QHeaderView::sectionPressed, &griglia, nullptr);
    disconnect(intestazione, &QHeaderView::sectionEntered, &griglia, nullptr);
    freccia = new FrecciaOrdine(intestazione);
    freccia->Mostra(ordine);
    connect(intestazione, &QHeaderView::sectionClicked, this,
            [this](int colonna) { Protetto([&] { Clic(colonna); }); });
    connect(intestazione, &QHeaderView::sectionResized, freccia, qOverload<>(&QWidget::update));
    connect(griglia.horizontalScrollBar(), &QScrollBar::valueChanged, freccia,
            qOverload<>(&QWidget::update));
}

void OrdineGriglia::Clic(int colonna) {
    ordine = ordine.Dopo(colonna);
    freccia->Mostra(ordine);
    riordina();
}
