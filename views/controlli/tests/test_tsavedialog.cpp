// The save dialog: the real dialog's default extension, filter choice and overwrite
// prompt, and the replaceable answer the other tests use.
#include "tsavedialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs azione on the modal window that opens next.
void QuandoSiApre(std::function<void(QWidget*)> azione) {
    QTimer::singleShot(0, [azione] {
        QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
        azione(QApplication::activeModalWidget());
    });
}

TSaveDialog Dialogo(const QString& cartella) {
    TSaveDialog d;
    d.FileName = cartella + "/Analisi del midi";
    d.Filtri = QStringList{"File Rich Text Format (*.rtf)", "File di Testo (*.txt)"};
    d.DefaultExt = "txt";
    return d;
}

class Risposta : public EsecutoreDialogo {
public:
    std::optional<SceltaFile> scelta;
    QString proposto;
    std::optional<SceltaFile> Esegui(const TSaveDialog& d, QWidget*) override {
        proposto = d.FileName;
        return scelta;
    }
};

} // namespace

class TestTSaveDialog : public QObject {
    Q_OBJECT

private slots:
    void estensionePredefinitaEFiltroScelto() {
        QTemporaryDir cartella;
        TSaveDialog d = Dialogo(cartella.path());
        QuandoSiApre([](QWidget* w) {
            auto* finestra = qobject_cast<QFileDialog*>(w);
            QVERIFY(finestra != nullptr);
            QCOMPARE(finestra->nameFilters().size(), 2);
            QCOMPARE(finestra->selectedNameFilter(), QString("File Rich Text Format (*.rtf)"));
            finestra->selectNameFilter("File di Testo (*.txt)");
            QMetaObject::invokeMethod(finestra, "accept");
        });
        QVERIFY(d.Execute(nullptr));
        QCOMPARE(d.FileName, cartella.path() + "/Analisi del midi.txt");
        QCOMPARE(d.FilterIndex, 2);
    }

    void lEstensioneSegueIlFiltro() {
        QTemporaryDir cartella;
        TSaveDialog d = Dialogo(cartella.path());
        QuandoSiApre([](QWidget* w) { QMetaObject::invokeMethod(w, "accept"); });
        QVERIFY(d.Execute(nullptr));
        QCOMPARE(d.FileName, cartella.path() + "/Analisi del midi.rtf");
        QCOMPARE(d.FilterIndex, 1);
        // Back to the first filter after the second one was chosen.
        d.FileName = cartella.path() + "/Analisi del midi";
        QuandoSiApre([](QWidget* w) {
            auto* finestra = qobject_cast<QFileDialog*>(w);
            finestra->selectNameFilter("File di Testo (*.txt)");
            finestra->selectNameFilter("File Rich Text Format (*.rtf)");
            QMetaObject::invokeMethod(finestra, "accept");
        });
        QVERIFY(d.Execute(nullptr));
        QCOMPARE(d.FileName, cartella.path() + "/Analisi del midi.rtf");
    }

    void estensioneDalFiltroScelto() {
        QTemporaryDir cartella;
        TSaveDialog d = Dialogo(cartella.path());
        d.Filtri = QStringList{"File di Testo (*.txt)", "CSV UTF-8 (*.csv)", "JSON (*.json)"};
        d.FilterIndex = 3;
        QuandoSiApre([](QWidget* w) {
            auto* finestra = qobject_cast<QFileDialog*>(w);
            QCOMPARE(finestra->defaultSuffix(), QString("json"));
            finestra->selectNameFilter("CSV UTF-8 (*.csv)");
            QMetaObject::invokeMethod(finestra, "accept");
        });
        QVERIFY(d.Execute(nullptr));
        QCOMPARE(d.FileName, cartella.path() + "/Analisi del midi.csv");
        QCOMPARE(d.FilterIndex, 2);
        QCOMPARE(d.DefaultExt, QString("csv"));
    }

    void annullatoNonCambiaNulla() {
        QTemporaryDir cartella;
        TSaveDialog d = Dialogo(cartella.path());
        QuandoSiApre([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QVERIFY(!d.Execute(nullptr));
        QCOMPARE(d.FileName, cartella.path() + "/Analisi del midi");
        QCOMPARE(d.FilterIndex, 1);
    }

    void chiedePrimaDiSostituire() {
        QTemporaryDir cartella;
        QFile esistente(cartella.filePath("Analisi del midi.txt"));
        QVERIFY(esistente.open(QIODevice::WriteOnly));
        esistente.close();
        TSaveDialog d = Dialogo(cartella.path());
        d.FilterIndex = 2;
        bool chiesto = false;
        QuandoSiApre([&chiesto](QWidget* w) {
            QuandoSiApre([&chiesto](QWidget* domanda) {
                chiesto = qobject_cast<QMessageBox*>(domanda) != nullptr;
                qobject_cast<QMessageBox*>(domanda)->button(QMessageBox::Yes)->click();
            });
            QMetaObject::invokeMethod(w, "accept");
        });
        QVERIFY(d.Execute(nullptr));
        QVERIFY(chiesto);
        QCOMPARE(d.FileName, cartella.path() + "/Analisi del midi.txt");
    }

    void rispostaSostituita() {
        Risposta risposta;
        TSaveDialog::ImpostaEsecutore(&risposta);
        TSaveDialog d = Dialogo("/tmp");
        QVERIFY(!d.Execute(nullptr));
        QCOMPARE(risposta.proposto, QString("/tmp/Analisi del midi"));
        risposta.scelta = SceltaFile{"/tmp/x.rtf", 1};
        d.FilterIndex = 2;
        QVERIFY(d.Execute(nullptr));
        QCOMPARE(d.FileName, QString("/tmp/x.rtf"));
        QCOMPARE(d.FilterIndex, 1);
        TSaveDialog::ImpostaEsecutore(nullptr);
    }
};

QTEST_MAIN(TestTSaveDialog)
#include "test_tsavedialog.moc"
