// The folder list control over a real temporary tree: the rows as a tree, opening a
// row by double-click and Enter, the change notification, and the drive box.
#include "tdirectorylistbox.h"
#include "tdrivecombobox.h"

#include "piattaforma.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestCartelle : public QObject {
    Q_OBJECT

private:
    QTemporaryDir radice;
    std::string base;

    QModelIndex Riga(const TDirectoryListBox& lista, int riga) const {
        return lista.model()->index(riga, 0);
    }

    // The first row: the root the path starts from ("/", "C:\\").
    static std::string Cima(std::string cartella) {
        for (std::string su; (su = velmora::CartellaSuperiore(cartella)) != cartella;) {
            cartella = su;
        }
        return cartella;
    }
    std::string M() const { return velmora::UnisciPercorso(base, "M"); }

    int Livello(const TDirectoryListBox& lista, int riga) const {
        return Riga(lista, riga).data(Qt::UserRole).toInt();
    }

private slots:
    void initTestCase() {
        QVERIFY(radice.isValid());
        base = velmora::NormalizzaCartella(
            QDir::toNativeSeparators(QDir(radice.path()).canonicalPath()).toStdString());
        QDir d(QString::fromStdString(base));
        QVERIFY(d.mkpath("M/beta/interna"));
        QVERIFY(d.mkpath("M/Alfa"));
        QVERIFY(d.mkpath("M/.nascosta"));
    }

    void righeComeAlbero() {
        TDirectoryListBox lista;
        lista.SetDirectory(M());
        const int corrente = lista.Lista().RigaSelezionata();
        QCOMPARE(lista.model()->rowCount(), corrente + 3); // Alfa and beta, not .nascosta
        QCOMPARE(Riga(lista, 0).data().toString().toStdString(), Cima(base));
        QCOMPARE(Riga(lista, corrente).data().toString(), QString("M"));
        QCOMPARE(Riga(lista, corrente + 1).data().toString(), QString("Alfa"));
        QCOMPARE(Riga(lista, corrente + 2).data().toString(), QString("beta"));
        // Each path row one level below the one above; sub-folders one below the current.
        for (int r = 0; r <= corrente; ++r) {
            QCOMPARE(Livello(lista, r), r);
        }
        QCOMPARE(Livello(lista, corrente + 1), corrente + 1);
        QCOMPARE(Livello(lista, corrente + 2), corrente + 1);
        QCOMPARE(lista.currentIndex().row(), corrente);
        // Open folders down to the current one, closed ones below it.
        const QIcon aperta = Riga(lista, corrente).data(Qt::DecorationRole).value<QIcon>();
        const QIcon chiusa = Riga(lista, corrente + 1).data(Qt::DecorationRole).value<QIcon>();
        QVERIFY(aperta.cacheKey() != chiusa.cacheKey());
    }

    void doppioClicEInvioApronoLaRiga() {
        TDirectoryListBox lista;
        lista.resize(241, 313);
        lista.SetDirectory(M());
        lista.show();
        int cambi = 0;
        connect(&lista, &TDirectoryListBox::OnChange, &lista, [&cambi] { ++cambi; });
        const int corrente = lista.Lista().RigaSelezionata();
        // A click only selects.
        const QRect beta = lista.visualRect(Riga(lista, corrente + 2));
        QTest::mouseClick(lista.viewport(), Qt::LeftButton, {}, beta.center());
        QCOMPARE(lista.Lista().RigaSelezionata(), corrente + 2);
        QCOMPARE(lista.Directory(), M());
        QCOMPARE(cambi, 0);
        QTest::mouseDClick(lista.viewport(), Qt::LeftButton, {}, beta.center());
        QCOMPARE(lista.Directory(), velmora::UnisciPercorso(M(), "beta"));
        QCOMPARE(cambi, 1);
        // Up to the parent with the arrow key and Enter.
        QTest::keyClick(&lista, Qt::Key_Up);
        QTest::keyClick(&lista, Qt::Key_Return);
        QCOMPARE(lista.Directory(), M());
        QCOMPARE(cambi, 2);
        QCOMPARE(lista.currentIndex().row(), corrente);
    }

    void lePosseDellaScansioneSiVedono() {
        TDirectoryListBox lista;
        lista.SetDirectory(M());
        int cambi = 0;
        connect(&lista, &TDirectoryListBox::OnChange, &lista, [&cambi] { ++cambi; });
        ListaCartelle& l = lista.Lista();
        l.SelezionaRiga(l.RigaSelezionata() + 1);
        l.ApriSelezionata();
        QCOMPARE(cambi, 1);
        QCOMPARE(lista.currentIndex().data().toString(), QString("Alfa"));
        lista.Update();
        QCOMPARE(cambi, 2);
        lista.SetDirectory(velmora::UnisciPercorso(M(), "Alfa")); // already current: no change
        QCOMPARE(cambi, 2);
    }

    void cartellaMancante() {
        TDirectoryListBox lista;
        QVERIFY_THROWS_EXCEPTION(ErroreCartella,
                                 lista.SetDirectory(velmora::UnisciPercorso(base, "nessuna")));
    }

    void unitaElencate() {
        TDriveComboBox unita;
        QVERIFY(unita.count() >= 1);
        QCOMPARE(unita.itemText(0).toStdString(), velmora::Radici().front());
        int cambi = 0;
        connect(&unita, &TDriveComboBox::OnChange, &unita, [&cambi] { ++cambi; });
        unita.MostraDrive("/altro");
        QCOMPARE(unita.Drive(), std::string("/altro"));
        QCOMPARE(cambi, 0);
        unita.MostraDrive(velmora::Radici().front());
        QCOMPARE(unita.currentIndex(), 0);
    }
};

QTEST_MAIN(TestCartelle)
#include "test_cartelle.moc"
