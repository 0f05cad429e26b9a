// The grid of page 'Visualizza' over a catalogue: cell texts, filters, paging
// ranges and the fitting of the last column.
#include "griglia_catalogo.h"
#include "tstringgrid.h"

#include <QScrollBar>
#include <QTest>

namespace {

void Aggiungi(dati& d, const std::string& nome, std::int32_t durata, std::int32_t byte = 1000,
              const std::string& testo = "") {
    if (durata == 0) {
        d.ContaCorrotto();
    }
    d.Aggiungi("pop", nome, "/midi/pop", durata, byte, "4/4", 120, 9, "Ed. 1997", "1", testo);
}

// n entries; every third has text, every fifth is corrupt.
void Riempi(dati& d, int n) {
    for (int i = 1; i <= n; ++i) {
        Aggiungi(d, "f" + std::to_string(i) + ".mid", i % 5 == 0 ? 0 : i, 1000,
                 i % 3 == 0 ? "Midi con testo" : "");
    }
}

std::vector<int> Larghezze(std::initializer_list<int> l) {
    return std::vector<int>(l);
}

} // namespace

class TestGrigliaCatalogo : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> pagina;
    TStringGrid* griglia = nullptr;
    QScrollBar* barra = nullptr;

private slots:
    void init() {
        pagina = std::make_unique<QWidget>();
        pagina->resize(641, 361);
        griglia = new TStringGrid(pagina.get());
        griglia->setGeometry(16, 0, 593, 270);
        PreparaGriglia(*griglia);
        barra = new QScrollBar(Qt::Vertical, pagina.get());
        barra->setGeometry(608, 0, 20, 270);
        barra->setRange(1, 10);
        barra->setPageStep(10);
        QObject::connect(barra, &QScrollBar::valueChanged, griglia, &TStringGrid::SetTopRow);
        pagina->show();
    }

    void cleanup() { pagina.reset(); }

    void testiDelleColonne() {
        dati d;
        Aggiungi(d, "Estate.mid", 205, 1234567, "Midi con testo");
        Aggiungi(d, "ab.mid", 59);
        Aggiungi(d, "a.mi", 0);
        Aggiungi(d, "Perché.mid", 3);
        RiempiGriglia(*griglia, *barra, d, Filtro::Tutti);
        const QStringList attesa{"pop", "Estate", " 3:25", "1.234.567",      "4/4",
                                 "120", "9",      "1",     "Midi con testo", "Ed. 1997"};
        for (int c = 0; c < colonneGriglia; ++c) {
            QCOMPARE(griglia->Cells(c, 1), attesa[c]);
        }
        QCOMPARE(griglia->Cells(1, 2), QString("ab"));
        QCOMPARE(griglia->Cells(2, 2), QString(" 0:59"));
        QCOMPARE(griglia->Cells(1, 3), QString());
        QCOMPARE(griglia->Cells(1, 4), QString::fromUtf8("Perché"));
        QCOMPARE(griglia->Cells(8, 2), QString());
    }

    void catalogoVuoto() {
        dati d;
        barra->setValue(5);
        griglia->SetCells(3, 4, "vecchio");
        RiempiGriglia(*griglia, *barra, d, Filtro::Tutti);
        QCOMPARE(griglia->RowCount(), 10);
        QCOMPARE(barra->maximum(), 10);
        QCOMPARE(barra->value(), 5);
        for (int r = 1; r < 10; ++r) {
            for (int c = 0; c < colonneGriglia; ++c) {
                QVERIFY(griglia->Cells(c, r).isEmpty());
            }
        }
    }

    void intervalliDiScorrimento_data() {
        QTest::addColumn<int>("voci");
        QTest::addColumn<int>("massimo");
        QTest::newRow("otto") << 8 << 1;
        QTest::newRow("nove") << 9 << 1;
        QTest::newRow("venti") << 20 << 12;
        QTest::newRow("una") << 1 << 1;
    }

    void intervalliDiScorrimento() {
        QFETCH(int, voci);
        QFETCH(int, massimo);
        dati d;
        for (int i = 0; i < voci; ++i) {
            Aggiungi(d, "f.mid", 10);
        }
        RiempiGriglia(*griglia, *barra, d, Filtro::Tutti);
        QCOMPARE(barra->minimum(), 1);
        QCOMPARE(barra->maximum(), massimo);
        QCOMPARE(griglia->RowCount(), voci + 1);
        // The last position shows the last entry in the bottom row.
        barra->setValue(barra->maximum());
        QCOMPARE(griglia->TopRow(), massimo);
    }

    void cambioDiFiltroTornaInCima() {
        dati d;
        Riempi(d, 100);
        RiempiGriglia(*griglia, *barra, d, Filtro::Tutti);
        barra->setValue(50);
        QCOMPARE(griglia->TopRow(), 50);
        RiempiGriglia(*griglia, *barra, d, Filtro::Corrotti);
        QCOMPARE(d.NumeroCorrotti(), 20);
        QCOMPARE(barra->value(), 1);
        QCOMPARE(griglia->TopRow(), 1);
        QCOMPARE(griglia->RowCount(), 21);
        QCOMPARE(griglia->Cells(1, 20), QString("f100"));
    }

    void rigaEVoceSottoIlFiltro() {
        dati d;
        Riempi(d, 30);
        const dati::elemento* voce = EntryDellaRiga(d, Filtro::ConTesto, 4);
        QVERIFY(voce != nullptr);
        QCOMPARE(voce->Nome(), std::string("f12.mid"));
        QCOMPARE(d.Corrente(), voce);
        QCOMPARE(EntryDellaRiga(d, Filtro::Corrotti, 6)->Nome(), std::string("f30.mid"));
        QVERIFY(EntryDellaRiga(d, Filtro::Corrotti, 7) == nullptr);
        QVERIFY(EntryDellaRiga(d, Filtro::Tutti, 0) == nullptr);
    }

    void staccataNonLeggePiuLeVoci() {
        dati d;
        Riempi(d, 12);
        RiempiGriglia(*griglia, *barra, d, Filtro::Tutti);
        StaccaGriglia(*griglia);
        d.Svuota();
        QCOMPARE(griglia->RowCount(), 13);
        QVERIFY(griglia->Cells(1, 5).isEmpty());
        griglia->grab(); // paints without touching the emptied catalogue
    }

    void ultimaColonnaAdattata() {
        const int w = 593;
        auto iniziali = Larghezze({150, 180, 47, 70, 45, 34, 51, 39, 118, 180});
        QCOMPARE(LarghezzaUltimaColonna(iniziali, w), 181);
        auto adattate = Larghezze({150, 180, 47, 70, 45, 34, 51, 39, 118, 181});
        QCOMPARE(LarghezzaUltimaColonna(adattate, w), 181); // a second run changes nothing
        QCOMPARE(LarghezzaUltimaColonna(Larghezze({150, 180, 47, 70, 45, 34, 51, 39, 68, 181}), w),
                 231);
        QCOMPARE(LarghezzaUltimaColonna(Larghezze({150, 230, 47, 70, 45, 34, 51, 39, 118, 181}), w),
                 181);
        // Columns narrower than the grid altogether: the last one takes up the rest.
        QCOMPARE(LarghezzaUltimaColonna(Larghezze({100, 100, 100}), w), 100 + 593 - 300 - 8);
        // A last column as wide as the grid on its own is left alone, not widened
        // again at every release.
        QCOMPARE(LarghezzaUltimaColonna(Larghezze({50, 700}), w), 700);
        QCOMPARE(LarghezzaUltimaColonna(Larghezze({50, 593}), w), 593);
    }
};

QTEST_MAIN(TestGrigliaCatalogo)
#include "test_griglia_catalogo.moc"
