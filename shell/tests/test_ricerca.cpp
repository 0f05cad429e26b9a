// Page 'Visualizza' searched and sorted: the find field narrows the grid as the user
// types, and the grid's commands follow the narrowed rows; a click on a heading sorts,
// reverses, and brings back the catalogue's order.
#include "pagine.h"

#include "ordine_griglia.h"
#include "ricerca_griglia.h"
#include "trapporto.h"
#include "trichedit.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

namespace {

TVelmora& Scansionata(Banco& banco) {
    TVelmora& velmora = ApriSu(banco.ambiente, banco.campioni.Radice());
    Clic(velmora.Analisi->Start);
    Clic(velmora.Visualizza);
    return velmora;
}

// The "Nome" cells of the grid's data rows, top to bottom, up to the first empty one.
QStringList Nomi(TVelmora& velmora) {
    QStringList nomi;
    for (int r = 1; r < velmora.Vista->Grid->RowCount(); ++r) {
        const QString nome = velmora.Vista->Grid->Cells(1, r);
        if (nome.isEmpty()) {
            break;
        }
        nomi << nome;
    }
    return nomi;
}

// Ctrl+F in the main window (the report window came up over it), then the text typed.
void Cerca(TVelmora& velmora, const QString& testo) {
    velmora.activateWindow();
    if (!QTest::qWaitForWindowActive(&velmora)) {
        qFatal("the main window did not become active");
    }
    QTest::keyClick(velmora.windowHandle(), Qt::Key_F, Qt::ControlModifier);
    QLineEdit* campo = velmora.Vista->Ricerca->Campo;
    if (!campo->hasFocus()) {
        qFatal("the find field did not take the keyboard");
    }
    campo->selectAll();
    QTest::keyClicks(campo, testo);
}

void ClicIntestazione(TVelmora& velmora, int colonna) {
    QHeaderView* h = velmora.Vista->Grid->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                      QPoint(h->sectionViewportPosition(colonna) + 5, h->height() / 2));
}

} // namespace

class TestRicerca : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Banco> banco;

private slots:
    void init() { banco = std::make_unique<Banco>(); }
    void cleanup() { banco.reset(); }

    void LaRicercaRestringeLaGrigliaMentreSiScrive() {
        TVelmora& velmora = Scansionata(*banco);
        const QStringList tutti = Nomi(velmora);
        QCOMPARE(tutti.size(), velmora.catalogo.NumeroFile());
        const QString riepilogo = velmora.Vista->LabelRiepilogo->text();
        // The name of one, the text of the other; without the accent of "Caffè".
        Cerca(velmora, "MATTINO");
        QCOMPARE(Nomi(velmora), QStringList({"Caffè al mattino", "Canzone del mare (karaoke)"}));
        QCOMPARE(velmora.Vista->Grid->RowCount(), 3);
        QCOMPARE(velmora.Vista->ScrollBar1->maximum(), 1);
        QTest::keyClicks(velmora.Vista->Ricerca->Campo, " caffe");
        QCOMPARE(Nomi(velmora), QStringList({"Caffè al mattino"}));
        // The lyrics, and "città" found without its accent.
        velmora.Vista->Ricerca->Campo->clear();
        QCOMPARE(Nomi(velmora), tutti); // an empty field: the whole filter
        QTest::keyClicks(velmora.Vista->Ricerca->Campo, "citta verra");
        QCOMPARE(Nomi(velmora), QStringList({"Canzone del mare (karaoke)"}));
        QTest::keyClicks(velmora.Vista->Ricerca->Campo, " nessuno");
        QCOMPARE(Nomi(velmora), QStringList());
        QCOMPARE(velmora.Vista->Grid->RowCount(), 10);
        // The filters narrow what the words find; the counts stay.
        velmora.Vista->Ricerca->Campo->setText("luna");
        QCOMPARE(Nomi(velmora).size(), 2);
        velmora.Vista->RadioVisualizza2->setChecked(true);
        QCOMPARE(Nomi(velmora).size(), 2);
        velmora.Vista->RadioVisualizza3->setChecked(true);
        QCOMPARE(Nomi(velmora), QStringList());
        velmora.Vista->RadioVisualizza1->setChecked(true);
        QCOMPARE(velmora.Vista->LabelRiepilogo->text(), riepilogo);
        // Esc closes the field and gives the whole filter back.
        QTest::keyClick(velmora.Vista->Ricerca->Campo, Qt::Key_Escape);
        QVERIFY(!velmora.Vista->Ricerca->Campo->isVisible());
        QCOMPARE(Nomi(velmora), tutti);
    }

    void IlMenuApreLaRicercaEIComandiSeguonoLeRigheTrovate() {
        TVelmora& velmora = Scansionata(*banco);
        MenuGriglia& menu = MenuSu(velmora, 1);
        QAction* cerca = nullptr;
        for (QAction* a : menu.Menu()->actions()) {
            if (a->text() == "Cerca...") {
                cerca = a;
            }
        }
        QVERIFY(cerca != nullptr);
        cerca->trigger();
        QVERIFY(velmora.Vista->Ricerca->Campo->isVisible());
        QTest::keyClicks(velmora.Vista->Ricerca->Campo, "ninna");
        QCOMPARE(Nomi(velmora), QStringList({"Ninna nanna della sera"}));
        // The report and the path of row 1 are those of the file found.
        ClicCella(velmora, 2, 1);
        QVERIFY(banco->ambiente.Rapporto().RichEdit1->toPlainText().contains(
            "Ninna nanna della sera.mid"));
        QCOMPARE(velmora.Vista->PercorsoDellaRiga(1),
                 banco->campioni.Percorso("Ninna nanna della sera.mid"));
        // Renaming the row found renames that file, and search finds the new name.
        ScriviCella(velmora, 1, 1, "Berceuse");
        QVERIFY(banco->campioni.Esiste("Berceuse.mid"));
        QVERIFY(!banco->campioni.Esiste("Ninna nanna della sera.mid"));
        velmora.Vista->Ricerca->Campo->setText("berceuse");
        QCOMPARE(Nomi(velmora), QStringList({"Berceuse"}));
    }

    void SenzaCatalogoSalvatoLaScansioneELaRicercaLoDicono() {
        // A file stands where the database's folder should be.
        QFile blocco(banco->ambiente.cartella.filePath("blocco"));
        QVERIFY(blocco.open(QIODevice::WriteOnly));
        qputenv("VELMORA_DB", QDir::toNativeSeparators(
                                  banco->ambiente.cartella.filePath("blocco/catalogo.sqlite"))
                                  .toUtf8());
        TVelmora& velmora = ApriSu(banco->ambiente, banco->campioni.Radice());
        Clic(velmora.Analisi->Start);
        QCOMPARE(velmora.Analisi->LabelStato->text(),
                 QString("Analisi senza catalogo salvato: il database non si può aprire"));
        QCOMPARE(velmora.catalogo.NumeroFile(), 11);
        Clic(velmora.Visualizza);
        const QStringList tutti = Nomi(velmora);
        Cerca(velmora, "mattino");
        QLineEdit* campo = velmora.Vista->Ricerca->Campo;
        QVERIFY(campo->isReadOnly());
        QVERIFY(campo->placeholderText().startsWith("Ricerca non disponibile: "));
        QCOMPARE(Nomi(velmora), tutti);
    }

    void UnClicSullIntestazioneOrdinaInverteERipristina() {
        TVelmora& velmora = Scansionata(*banco);
        // The list page 'Salva' writes.
        const auto salvata = [&](const char* nome) {
            Clic(velmora.Salva);
            banco->dialogo.Rispondi(banco->campioni.Percorso(nome));
            Clic(velmora.Elenco->SalvaLista);
            Clic(velmora.Visualizza);
            return Leggi(banco->campioni.Percorso(nome));
        };
        const std::string lista = salvata("lista.txt");
        QVERIFY(lista.find("Ninna nanna della sera") != std::string::npos);
        const QStringList catalogo = Nomi(velmora);
        QHeaderView* h = velmora.Vista->Grid->horizontalHeader();
        const QString titolo = velmora.Vista->Grid->Cells(2, 0);
        const auto durate = [&] { // seconds of the "Durata" cells, " m:ss"
            std::vector<int> d;
            for (int r = 1; r <= catalogo.size(); ++r) {
                const QStringList ms = velmora.Vista->Grid->Cells(2, r).trimmed().split(':');
                d.push_back(ms[0].toInt() * 60 + ms[1].toInt());
            }
            return d;
        };
        ClicIntestazione(velmora, 2); // "Durata"
        QCOMPARE(velmora.Vista->Ordine->Attuale().verso, Ordine::Verso::Crescente);
        std::vector<int> d = durate();
        QVERIFY(std::is_sorted(d.begin(), d.end()));
        QCOMPARE(velmora.Vista->Grid->Cells(2, 0), titolo); // the heading keeps its text
        QWidget* freccia = h->viewport()->findChild<QWidget*>("FrecciaOrdine");
        QVERIFY(freccia != nullptr && freccia->isVisible());
        // The report follows the sorted rows.
        ClicCella(velmora, 2, 1);
        QVERIFY(banco->ambiente.Rapporto().RichEdit1->toPlainText().contains(
            "Nome: " + velmora.Vista->Grid->Cells(1, 1) + "."));
        ClicIntestazione(velmora, 2);
        d = durate();
        QVERIFY(std::is_sorted(d.rbegin(), d.rend()));
        QVERIFY(d.front() > d.back());
        ClicIntestazione(velmora, 2);
        QCOMPARE(Nomi(velmora), catalogo);
        QVERIFY(!freccia->isVisible());
        // Names by the scan's own key: case left aside.
        ClicIntestazione(velmora, 1);
        QStringList nomi = Nomi(velmora);
        QStringList attesi = catalogo;
        std::sort(attesi.begin(), attesi.end(),
                  [](const QString& a, const QString& b) { return a.toLower() < b.toLower(); });
        QCOMPARE(nomi, attesi);
        // A search narrows the sorted grid and keeps its order.
        Cerca(velmora, "la");
        nomi = Nomi(velmora);
        QVERIFY(nomi.size() >= 2 && nomi.size() < catalogo.size());
        QVERIFY(std::is_sorted(nomi.begin(), nomi.end(), [](const QString& a, const QString& b) {
            return a.toLower() < b.toLower();
        }));
        // The list keeps the catalogue's order, and every file.
        QCOMPARE(salvata("ordinata.txt"), lista);
    }
};

QTEST_MAIN(TestRicerca)
#include "test_ricerca.moc"
