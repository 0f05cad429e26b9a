#include "griglia_catalogo.h"

#include "testo.h"
#include "tstringgrid.h"

#include <QScrollBar>

#include <memory>

const std::array<const char*, colonneGriglia> intestazioniGriglia{
    "Directory", "Nome",   "Durata", "Lunghezza", "Tempo",
    "BPM",       "Tracce", "Tipo",   "Testo",     "Copyright"};
const std::array<int, colonneGriglia> larghezzeGriglia{150, 180, 47, 70, 45, 34, 51, 39, 118, 180};

namespace {

constexpr int righeVuote = 10;
constexpr int righeVisibili = 9;

// Each filter's count and its pair of cursor moves, in the order of Filtro.
struct Cammino {
    std::int32_t (dati::*conta)() const;
    void (dati::*primo)();
    void (dati::*prossimo)();
};

const Cammino& CamminoDi(Filtro filtro) {
    static const std::array<Cammino, 3> cammini{{
        {&dati::NumeroFile, &dati::Primo, &dati::Prossimo},
        {&dati::NumeroConTesto, &dati::PrimoConTesto, &dati::ProssimoConTesto},
        {&dati::NumeroCorrotti, &dati::PrimoCorrotto, &dati::ProssimoCorrotto},
    }};
    return cammini[static_cast<std::size_t>(filtro)];
}

} // namespace

std::int32_t Conta(const dati& catalogo, Filtro filtro) {
    return (catalogo.*CamminoDi(filtro).conta)();
}

const dati::elemento* EntryDellaRiga(dati& catalogo, Filtro filtro, int riga) {
    const Cammino& cammino = CamminoDi(filtro);
    (catalogo.*cammino.primo)();
    for (int i = 1; i < riga && catalogo.Corrente() != nullptr; ++i) {
        (catalogo.*cammino.prossimo)();
    }
    return riga >= 1 ? catalogo.Corrente() : nullptr;
}

std::string TestoColonna(const dati::elemento& voce, int colonna) {
    switch (colonna) {
    case 0:
        return voce.Directory();
    case 1:
        return velmora::SenzaUltimiCaratteri(voce.Nome(), 4); // without ".mid"
    case 2:
        return voce.Durata();
    case 3:
        return voce.Lunghezza();
    case 4:
        return voce.Tempo();
    case 5:
        return voce.Bpm();
    case 6:
        return voce.Tracce();
    case 7:
        return voce.Tipo();
    case 8:
        return voce.Testo();
    case 9:
        return voce.Copyright();
    default:
        return {};
    }
}

void PreparaGriglia(TStringGrid& griglia) {
    griglia.SetColCount(colonneGriglia);
    griglia.SetRowCount(righeVuote);
    for (int c = 0; c < colonneGriglia; ++c) {
        griglia.SetColWidths(c, larghezzeGriglia[static_cast<std::size_t>(c)]);
    }
}

bool NelFiltro(const dati::elemento& voce, Filtro filtro) {
    switch (filtro) {
    case Filtro::ConTesto:
        return voce.ConTesto();
    case Filtro::Corrotti:
        return voce.Corrotto();
    default:
        return true;
    }
}

std::vector<const dati::elemento*> VociDelFiltro(dati& catalogo, Filtro filtro) {
    const std::int32_t n = Conta(catalogo, filtro);
    std::vector<const dati::elemento*> voci;
    voci.reserve(static_cast<std::size_t>(n));
    const Cammino& cammino = CamminoDi(filtro);
    (catalogo.*cammino.primo)();
    for (std::int32_t r = 0; r < n && catalogo.Corrente() != nullptr; ++r) {
        voci.push_back(catalogo.Corrente());
        (catalogo.*cammino.prossimo)();
    }
    return voci;
}

void RiempiGriglia(TStringGrid& griglia, QScrollBar& barra, dati& catalogo, Filtro filtro) {
    if (catalogo.NumeroFile() == 0) {
        griglia.Riempi(righeVuote, {});
        barra.setMaximum(righeVuote);
        return;
    }
    RiempiGriglia(griglia, barra, VociDelFiltro(catalogo, filtro));
}

void RiempiGriglia(TStringGrid& griglia, QScrollBar& barra,
                   std::vector<const dati::elemento*> elenco) {
    if (elenco.empty()) {
        griglia.Riempi(righeVuote, {});
        barra.setMaximum(1);
        barra.setValue(1);
        return;
    }
    const auto n = static_cast<std::int32_t>(elenco.size());
    auto voci = std::make_shared<std::vector<const dati::elemento*>>(std::move(elenco));
    griglia.Riempi(n + 1, [voci](int colonna, int riga) {
        const auto i = static_cast<std::size_t>(riga - 1);
        return i < voci->size() ? QString::fromStdString(TestoColonna(*(*voci)[i], colonna))
                                : QString();
    });
    barra.setMaximum(n > righeVisibili - 1 ? n - (righeVisibili - 1) : 1);
    barra.setValue(1);
    griglia.SetTopRow(barra.value());
}

void StaccaGriglia(TStringGrid& griglia) {
    griglia.Riempi(griglia.RowCount(), {});
}

int LarghezzaUltimaColonna(const std::vector<int>& larghezze, int larghezzaGriglia) {
    if (larghezze.empty()) {
        return 0;
    }
    // A last column as wide as the grid on its own already ends flush when scrolled
    // fully right; widening it again would make it grow at every mouse release.
    if (larghezze.back() >= larghezzaGriglia) {
        return larghezze.back();
    }
    // T: the widths after the column at which the sum from the right reaches the
    // grid's width (all of them when it never does).
    int somma = 0;
    int dopo = 0;
    for (auto c = larghezze.rbegin(); c != larghezze.rend(); ++c) {
        dopo = somma;
        somma += *c;
        if (somma >= larghezzaGriglia) {
            break;
        }
        dopo = somma;
    }
    return larghezze.back() + larghezzaGriglia - dopo - 8;
}
