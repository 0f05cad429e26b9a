// The main window's life: settings read at start and written by the close
// label, closing, minimising, activation, pages and links.
#include "ambiente.h"
#include "aspetto.h"
#include "posizione_rapporto.h"
#include "trichedit.h"
#include "tstringgrid.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QStackedWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>

namespace {

// A folder of the program (native separators) in the form QDir gives.
QString Cartella(const std::string& utf8) {
    return QDir::fromNativeSeparators(QString::fromStdString(utf8));
}

} // namespace

class TestTVelmora : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> ambiente;
    QList<QUrl> aperti;

public slots:
    void Apri(const QUrl& pagina) { aperti.append(pagina); }

private slots:
    void init() {
        ambiente = std::make_unique<Ambiente>();
        aperti.clear();
        QDesktopServices::setUrlHandler("https", this, "Apri");
    }
    void cleanup() {
        QDesktopServices::unsetUrlHandler("https");
        ambiente.reset();
    }

    void FirstRunWritesThePositionButNotTheFolder() {
        TVelmora& velmora = ambiente->Apri();
        QVERIFY(ambiente->errori.isEmpty());
        QCOMPARE(velmora.pos(), QPoint(314, 218));
        const auto registro = ambiente->Registro();
        QCOMPARE(registro->value("X").toInt(), 314);
        QCOMPARE(registro->value("Y").toInt(), 218);
        QVERIFY(!registro->contains("Directory"));
        QCOMPARE(Cartella(velmora.Analisi->CartellaDirectory()), QDir::currentPath());
        QCOMPARE(velmora.Analisi->directoryCorrente, velmora.Analisi->CartellaDirectory());
    }

    void SavedPositionAndFolderAreRestored() {
        QVERIFY(QDir(ambiente->cartella.path()).mkdir("Basi"));
        const QString basi = ambiente->cartella.filePath("Basi");
        {
            const auto registro = ambiente->Registro();
            registro->setValue("X", 40);
            registro->setValue("Y", -12);
            registro->setValue("Directory", basi);
        }
        TVelmora& velmora = ambiente->Apri();
        QVERIFY(ambiente->errori.isEmpty());
        QCOMPARE(velmora.pos(), QPoint(40, -12));
        QCOMPARE(QFileInfo(Cartella(velmora.Analisi->CartellaDirectory())), QFileInfo(basi));
        QCOMPARE(QFileInfo(QDir::currentPath()), QFileInfo(basi));
        QCOMPARE(velmora.Analisi->directoryCorrente, velmora.Analisi->CartellaDirectory());
        QCOMPARE(velmora.Analisi->LabelStato->text(),
                 QString::fromStdString(velmora.Analisi->CartellaDirectory()));
        QCOMPARE(ambiente->Registro()->value("Directory").toString(), basi);
    }

    void ARemovedFolderIsReplacedAtOnceWithoutAMessage() {
        const QString sparita = ambiente->cartella.filePath("sparita");
        ambiente->Registro()->setValue("Directory", sparita);
        const QString iniziale = QDir::currentPath();
        TVelmora& velmora = ambiente->Apri();
        QVERIFY(ambiente->errori.isEmpty());
        QCOMPARE(QDir::currentPath(), iniziale);
        QCOMPARE(Cartella(velmora.Analisi->CartellaDirectory()), iniziale);
        QCOMPARE(Cartella(ambiente->Registro()->value("Directory").toString().toStdString()),
                 iniziale);
    }

    void ValuesOfTheWrongTypeAreReportedAndTheWindowStillOpens_data() {
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QVariant>("valore");
        QTest::addColumn<QString>("messaggio");
        QTest::addColumn<QPoint>("posizione");
        QTest::newRow("X text") << "X" << QVariant("trecento") << "Invalid data type for 'X'"
                                << QPoint(314, 218);
        QTest::newRow("X list") << "X" << QVariant(QStringList{"1", "2"})
                                << "Invalid data type for 'X'" << QPoint(314, 218);
        QTest::newRow("X too wide")
            << "X" << QVariant("99999999999") << "Failed to get data for 'X'" << QPoint(314, 218);
        QTest::newRow("Y text") << "Y" << QVariant("alto") << "Invalid data type for 'Y'"
                                << QPoint(70, 218);
        QTest::newRow("Directory point") << "Directory" << QVariant(QPoint(1, 2))
                                         << "Invalid data type for 'Directory'" << QPoint(70, 80);
    }
    void ValuesOfTheWrongTypeAreReportedAndTheWindowStillOpens() {
        QFETCH(QString, nome);
        QFETCH(QVariant, valore);
        QFETCH(QString, messaggio);
        QFETCH(QPoint, posizione);
        {
            // The values before the wrong one are good; those after it are absent.
            const auto registro = ambiente->Registro();
            if (nome != "X") {
                registro->setValue("X", 70);
            }
            if (nome == "Directory") {
                registro->setValue("Y", 80);
            }
            registro->setValue(nome, valore);
        }
        const QString iniziale = QDir::currentPath();
        TVelmora& velmora = ambiente->Apri();
        QCOMPARE(ambiente->errori, QStringList{messaggio});
        QCOMPARE(velmora.pos(), posizione);
        QCOMPARE(QDir::currentPath(), iniziale);
        // The wrong value stays, and the steps after the failure write nothing.
        const auto registro = ambiente->Registro();
        QCOMPARE(registro->value(nome), valore);
        QCOMPARE(registro->contains("Y"), nome != "X");
        QCOMPARE(registro->contains("Directory"), nome == "Directory");
    }

    // The native store on Windows: the registry key, whose values keep their types. The
    // values found there before are put back.
    void OnWindowsTheRegistryKeyHoldsTypedValues() {
#ifndef Q_OS_WIN
        QSKIP("the registry exists on Windows only; elsewhere the settings are a file");
#else
        QSettings chiave("HKEY_CURRENT_USER\\software\\Tarvo Software\\Tarvo Midi Velmora",
                         QSettings::NativeFormat);
        QVariantMap prima;
        for (const QString& nome : chiave.childKeys()) {
            prima[nome] = chiave.value(nome);
        }
        Impostazioni::UsaFile({});
        QString errore;
        {
            Impostazioni registro;
            registro.ScriviIntero("X", -12);
            registro.ScriviStringa("Directory", "C:\\Basi \u00e8 \u03a9");
            QCOMPARE(registro.LeggiIntero("X"), -12);
            QCOMPARE(registro.LeggiStringa("Directory"), "C:\\Basi \u00e8 \u03a9");
            chiave.sync();
            QCOMPARE(chiave.value("X").typeId(), QMetaType::Int); // REG_DWORD
            // A number written as text (REG_SZ) is not an integer in the registry.
            chiave.setValue("Y", "80");
            chiave.sync();
            try {
                registro.LeggiIntero("Y");
            } catch (const ErroreVelmora& e) {
                errore = e.what();
            }
        }
        chiave.remove("");
        for (auto v = prima.cbegin(); v != prima.cend(); ++v) {
            chiave.setValue(v.key(), v.value());
        }
        QCOMPARE(errore, "Invalid data type for 'Y'");
#endif
    }

    void AKeyThatCannotBeCreatedIsReportedAtTheFirstWrite() {
        ambiente->BloccaRegistro();
        TVelmora& velmora = ambiente->Apri();
        QCOMPARE(ambiente->errori, QStringList{"Failed to set data for 'X'"});
        QCOMPARE(velmora.pos(), QPoint(314, 218));
        QCOMPARE(Cartella(velmora.Analisi->CartellaDirectory()), QDir::currentPath());
    }

    void TheReportWindowOpensWhereItWasLeftOrBesideTheMainWindow() {
        const QList<QRect> schermo{QRect(0, 0, 1920, 1080)};
        const QSize r(512, 256);
        const QPoint propria(483, 205);
        const QRect principale(314, 218, 640, 400);
        QCOMPARE(PosizioneRapporto(principale, std::nullopt, r, schermo, propria),
                 QPoint(954, 218));
        QCOMPARE(PosizioneRapporto(principale, QPoint(0, 700), r, schermo, propria),
                 QPoint(0, 700));
        // Over the main window, or off every screen: beside it again.
        for (const QPoint salvata : {QPoint(400, 300), QPoint(5000, 5000), QPoint(-600, 0)}) {
            QCOMPARE(PosizioneRapporto(principale, salvata, r, schermo, propria), QPoint(954, 218));
        }
        // No room on the right: below; no room below either: the window's own place.
        QCOMPARE(PosizioneRapporto({1300, 100, 640, 400}, std::nullopt, r, schermo, propria),
                 QPoint(1300, 500));
        QCOMPARE(PosizioneRapporto({1300, 700, 640, 400}, std::nullopt, r, schermo, propria),
                 propria);
        // A second screen on the right has room.
        QCOMPARE(PosizioneRapporto({1300, 700, 640, 400}, std::nullopt, r,
                                   {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1920, 1080)}, propria),
                 QPoint(1940, 700));
    }

    void TheReportWindowsPlaceIsSavedAndRestored() {
        {
            const auto registro = ambiente->Registro();
            registro->setValue("X", 0);
            registro->setValue("Y", 0);
            registro->setValue("RapportoX", 100);
            registro->setValue("RapportoY", 420);
        }
        TVelmora& velmora = ambiente->Apri();
        QCOMPARE(ambiente->Rapporto().pos(), QPoint(100, 420));
        velmora.show();
        ambiente->Rapporto().move(150, 410);
        velmora.ChiudiClick();
        QCOMPARE(ambiente->Registro()->value("RapportoX").toInt(), 150);
        QCOMPARE(ambiente->Registro()->value("RapportoY").toInt(), 410);
        QTRY_VERIFY(!velmora.isVisible());
        QVERIFY(ambiente->errori.isEmpty());
    }

    void AReportPlaceOfTheWrongTypeIsReported() {
        ambiente->Registro()->setValue("RapportoX", "destra");
        ambiente->Registro()->setValue("RapportoY", 10);
        ambiente->Apri();
        QCOMPARE(ambiente->errori, QStringList{"Invalid data type for 'RapportoX'"});
    }

    void CloseSavesTheSettingsAndHidesTheWindowAtTheFirstTick() {
        QVERIFY(QDir(ambiente->cartella.path()).mkdir("Basi"));
        TVelmora& velmora = ambiente->Apri();
        velmora.show();
        velmora.Analisi->ImpostaCartellaDirectory(
            ambiente->cartella.filePath("Basi").toStdString());
        velmora.move(100, 120);

        QTest::mouseClick(velmora.Chiudi, Qt::LeftButton, {}, QPoint(8, 20));
        const auto registro = ambiente->Registro();
        QCOMPARE(registro->value("X").toInt(), 100);
        QCOMPARE(registro->value("Y").toInt(), 120);
        QCOMPARE(QFileInfo(registro->value("Directory").toString()),
                 QFileInfo(ambiente->cartella.filePath("Basi")));
        QVERIFY(velmora.isVisible());
        QVERIFY(velmora.Timer1->isActive());
        QCOMPARE(velmora.Timer1->interval(), 70);

        QTRY_VERIFY(!velmora.isVisible());
        QVERIFY(!velmora.Timer1->isActive());
        // 16 by 8 pixels around the centre of the client area.
        QCOMPARE(velmora.mask().boundingRect(), QRect(312, 196, 16, 8));
        QVERIFY(ambiente->errori.isEmpty());
    }

    void ClosingEndsTheProgramAlsoWithTheReportOpen() {
        TVelmora& velmora = ambiente->Apri();
        velmora.show();
        ambiente->Rapporto().show();
        QTimer::singleShot(0, &velmora, [&] {
            QTest::mouseClick(velmora.Chiudi, Qt::LeftButton, {}, QPoint(8, 20));
        });
        QTimer scaduto;
        scaduto.setSingleShot(true);
        connect(&scaduto, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        scaduto.start(10000);
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!velmora.isVisible());
    }

    void ASecondClickBeforeTheTickDoesNotWriteAgain() {
        TVelmora& velmora = ambiente->Apri();
        velmora.show();
        velmora.ChiudiClick();
        ambiente->Registro()->setValue("X", 1);
        velmora.move(500, 500);
        velmora.ChiudiClick();
        QCOMPARE(ambiente->Registro()->value("X").toInt(), 1);
        QTRY_VERIFY(!velmora.isVisible());
    }

    void AFailedSaveKeepsTheWindowOpenAndTheNextClickRetries() {
        TVelmora& velmora = ambiente->Apri();
        velmora.show();
        ambiente->BloccaRegistro();
        QTest::mouseClick(velmora.Chiudi, Qt::LeftButton, {}, QPoint(8, 20));
        QCOMPARE(ambiente->errori, QStringList{"Failed to set data for 'X'"});
        QVERIFY(!velmora.Timer1->isActive());
        QTest::qWait(150);
        QVERIFY(velmora.isVisible());

        ambiente->SbloccaRegistro();
        velmora.move(33, 44);
        QTest::mouseClick(velmora.Chiudi, Qt::LeftButton, {}, QPoint(8, 20));
        QCOMPARE(ambiente->errori.size(), 1);
        QVERIFY(velmora.Timer1->isActive());
        QCOMPARE(ambiente->Registro()->value("X").toInt(), 33);
        QCOMPARE(ambiente->Registro()->value("Y").toInt(), 44);
        QTRY_VERIFY(!velmora.isVisible());
    }

    void MinimiseTakesTheOpenReportWindowAlong() {
        TVelmora& velmora = ambiente->Apri();
        TRapporto& rapporto = ambiente->Rapporto();
        velmora.show();
        rapporto.show();
        QTest::mouseClick(velmora.Minimizza, Qt::LeftButton, {}, QPoint(8, 20));
        QTRY_VERIFY(velmora.isMinimized());
        QVERIFY(rapporto.isMinimized());

        velmora.showNormal();
        QTRY_VERIFY(!velmora.isMinimized());
        QVERIFY(!rapporto.isMinimized());
        QVERIFY(rapporto.isVisible());
    }

    void MinimiseLeavesAHiddenReportWindowHidden() {
        TVelmora& velmora = ambiente->Apri();
        velmora.show();
        velmora.MinimizzaClick();
        QTRY_VERIFY(velmora.isMinimized());
        velmora.showNormal();
        QTRY_VERIFY(!velmora.isMinimized());
        QVERIFY(!ambiente->Rapporto().isVisible());
    }

    void ActivationClearsTheRowAndRewritesTheHeadings() {
        TVelmora& velmora = ambiente->Apri();
        TRapporto& rapporto = ambiente->Rapporto();
        velmora.show();
        rapporto.show();
        velmora.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&velmora));
        const QStringList intestazioni{"Directory", "Nome",   "Durata", "Lunghezza", "Tempo",
                                       "BPM",       "Tracce", "Tipo",   "Testo",     "Copyright"};
        for (int colonna = 0; colonna < 10; ++colonna) {
            QCOMPARE(velmora.Vista->Grid->Cells(colonna, 0), intestazioni[colonna]);
        }
        QCOMPARE(velmora.Inizio->Label5->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(velmora.Inizio->Label6->cursor().shape(), Qt::PointingHandCursor);

        // Back from the report window.
        velmora.Vista->UltimaRiga = 7;
        velmora.Vista->ScriviIntestazione(3, "cambiata");
        rapporto.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rapporto));
        QCOMPARE(velmora.Vista->UltimaRiga, 7);
        velmora.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&velmora));
        QCOMPARE(velmora.Vista->UltimaRiga, 0);
        QCOMPARE(velmora.Vista->Grid->Cells(3, 0), QString("Lunghezza"));
    }

    void PageLabelsSwitchPagesAndNeverLeadBackToStart() {
        TVelmora& velmora = ambiente->Apri();
        QVERIFY(!velmora.Visualizza->isEnabled());
        QVERIFY(!velmora.Salva->isEnabled());
        QTest::mouseClick(velmora.Analizza, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(velmora.Sezioni->currentIndex(), 1);
        QVERIFY(velmora.Analizza->Active());
        QCOMPARE(velmora.Analizza->ColoreFont(), aspetto::VerdePrimavera);
        QCOMPARE(velmora.Analisi->LabelStato->text(),
                 QString::fromStdString(velmora.Analisi->CartellaDirectory()));

        velmora.Visualizza->setEnabled(true);
        velmora.Salva->setEnabled(true);
        QTest::mouseClick(velmora.Visualizza, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(velmora.Sezioni->currentIndex(), 2);
        QVERIFY(!velmora.Analizza->Active());
        QCOMPARE(velmora.Analizza->ColoreFont(), aspetto::Rosso);
        QVERIFY(ambiente->Rapporto().isVisible());

        QTest::mouseClick(velmora.Salva, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(velmora.Sezioni->currentIndex(), 3);
        QVERIFY(velmora.Salva->Active());
        QVERIFY(!velmora.Visualizza->Active());
    }

    void TheReportWindowStaysHiddenWhenItsBoxIsUnchecked() {
        TVelmora& velmora = ambiente->Apri();
        velmora.Vista->CheckRapporto->setChecked(false);
        velmora.VisualizzaClick();
        QCOMPARE(velmora.Sezioni->currentIndex(), 2);
        QVERIFY(!ambiente->Rapporto().isVisible());
    }

    void LinksOpenTheirPagesOnRelease() {
        TVelmora& velmora = ambiente->Apri();
        QTest::mouseClick(velmora.Inizio->Label5, Qt::LeftButton, {}, QPoint(100, 10));
        QTest::mouseClick(velmora.Inizio->Label6, Qt::LeftButton, {}, QPoint(100, 10));
        QCOMPARE(aperti,
                 (QList<QUrl>{QUrl(PaginaStart::PaginaWeb1), QUrl(PaginaStart::PaginaWeb2)}));
        QTest::mouseClick(velmora.Inizio->Label5, Qt::RightButton, {}, QPoint(100, 10));
        QCOMPARE(aperti.size(), 2);
    }

    void TheReportWindowCloseLabelHidesIt() {
        ambiente->Apri();
        TRapporto& rapporto = ambiente->Rapporto();
        rapporto.show();
        QTest::mouseClick(rapporto.Chiudi, Qt::LeftButton, {}, QPoint(8, 20));
        QVERIFY(!rapporto.isVisible());
        QVERIFY(rapporto.RichEdit1->isReadOnly());
        QVERIFY(rapporto.RichEdit1->toPlainText().startsWith("In questa finestra"));
    }
};

QTEST_MAIN(TestTVelmora)
#include "test_tvelmora.moc"
