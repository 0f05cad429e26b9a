// Order of the grid's events for mouse, keys, editor and focus, its paging, and the
// on-demand cells of a large grid.
#include "tstringgrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <memory>

namespace {

QString Testo(int colonna, int riga) {
    return QStringLiteral("c%1r%2").arg(colonna).arg(riga);
}

} // namespace

class TestTStringGrid : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QWidget> finestra;
    TStringGrid* griglia = nullptr;
    QLineEdit* altro = nullptr;
    QStringList eventi;

    QPoint Centro(int colonna, int riga) const {
        return griglia->visualRect(griglia->model()->index(riga - 1, colonna)).center();
    }

    // Keys go through the window, to whichever widget has the focus when each of
    // the press and the release arrives, as typed keys do.
    void Tasto(Qt::Key tasto) { QTest::keyClick(finestra->windowHandle(), tasto); }
    void Tasti(const QString& testo) {
        for (const QChar c : testo) {
            QTest::keyClick(finestra->windowHandle(), c.toLatin1());
        }
    }

    void Clic(int colonna, int riga) {
        QTest::mouseClick(griglia->viewport(), Qt::LeftButton, {}, Centro(colonna, riga));
    }

    static QString NomeTasto(int tasto) {
        switch (tasto) {
        case Qt::Key_Down:
            return QStringLiteral("Giu");
        case Qt::Key_Return:
            return QStringLiteral("Invio");
        case Qt::Key_Tab:
            return QStringLiteral("Tab");
        case Qt::Key_Escape:
            return QStringLiteral("Esc");
        default:
            return QKeySequence(tasto).toString();
        }
    }

private slots:
    void init() {
        finestra = std::make_unique<QWidget>();
        finestra->resize(640, 360);
        griglia = new TStringGrid(finestra.get());
        griglia->setGeometry(16, 0, 593, 270);
        griglia->SetColCount(10);
        griglia->Riempi(21, Testo);
        altro = new QLineEdit(finestra.get());
        altro->setGeometry(16, 300, 100, 20);
        eventi.clear();
        connect(griglia, &TStringGrid::OnSelectCell, this, [this](int c, int r) {
            eventi << QStringLiteral("select %1 %2 da %3").arg(c).arg(r).arg(griglia->Row());
        });
        connect(griglia, &TStringGrid::OnClick, this,
                [this] { eventi << QStringLiteral("click %1").arg(griglia->Row()); });
        connect(griglia, &TStringGrid::OnKeyDown, this,
                [this](int t) { eventi << QStringLiteral("keydown ") + NomeTasto(t); });
        connect(griglia, &TStringGrid::OnKeyUp, this,
                [this](int t) { eventi << QStringLiteral("keyup ") + NomeTasto(t); });
        connect(griglia, &TStringGrid::OnMouseUp, this, [this] { eventi << "mouseup"; });
        connect(griglia, &TStringGrid::OnExit, this, [this] { eventi << "exit"; });
        finestra->show();
        finestra->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(finestra.get()));
        griglia->setFocus();
        QTRY_VERIFY(griglia->hasFocus());
    }

    void cleanup() { finestra.reset(); }

    void struttura() {
        QCOMPARE(griglia->RowCount(), 21);
        QCOMPARE(griglia->ColCount(), 10);
        QCOMPARE(griglia->model()->rowCount(), 20);
        griglia->SetCells(1, 0, "Nome");
        QCOMPARE(griglia->model()->headerData(1, Qt::Horizontal).toString(), QString("Nome"));
        QCOMPARE(griglia->Cells(1, 0), QString("Nome"));
        QCOMPARE(griglia->Cells(3, 7), QString("c3r7"));
        QCOMPARE(griglia->rowHeight(4), 24);
        QCOMPARE(griglia->horizontalHeader()->height(), 24);
        griglia->SetColWidths(2, 47);
        QCOMPARE(griglia->ColWidths(2), 47);
        QCOMPARE(griglia->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(griglia->horizontalScrollBar()->isVisible());
        QCOMPARE(griglia->Row(), 1);
        QCOMPARE(griglia->Col(), 0);
    }

    void scrittureDimenticateAlRiempimento() {
        griglia->SetCells(4, 2, "scritta");
        griglia->SetCells(0, 0, "Directory");
        QCOMPARE(griglia->Cells(4, 2), QString("scritta"));
        griglia->Riempi(21, Testo);
        QCOMPARE(griglia->Cells(4, 2), QString("c4r2"));
        QCOMPARE(griglia->Cells(0, 0), QString("Directory"));
        griglia->Riempi(10, {});
        QCOMPARE(griglia->Cells(4, 2), QString());
        QCOMPARE(griglia->Cells(0, 0), QString("Directory"));
        QCOMPARE(griglia->Cells(4, 10), QString());
    }

    void grandeGrigliaLeggeSoloLeCelleVisibili() {
        int letture = 0;
        griglia->Riempi(20001, [&letture](int c, int r) {
            ++letture;
            return Testo(c, r);
        });
        griglia->grab();
        QVERIFY2(letture > 0 && letture < 1000, qPrintable(QString::number(letture)));
        // Nine whole data rows show, so the last top row shows the last row at the bottom.
        griglia->SetTopRow(15000);
        QCOMPARE(griglia->TopRow(), 15000);
        griglia->SetTopRow(99999);
        QCOMPARE(griglia->TopRow(), 20000 - 8);
        letture = 0;
        griglia->grab();
        QVERIFY(letture < 1000);
        QCOMPARE(griglia->Cells(9, 20000), QString("c9r20000"));
    }

    void lUltimaPaginaMostraRigheIntere() {
        // 20 data rows: top row 12 shows rows 12 to 20, each whole, the first one right
        // under the heading and the last one above the bottom edge.
        griglia->SetTopRow(12);
        griglia->grab();
        QCOMPARE(griglia->TopRow(), 12);
        QCOMPARE(griglia->visualRect(griglia->model()->index(11, 0)).top(), 0);
        QVERIFY(griglia->visualRect(griglia->model()->index(19, 0)).bottom() <
                griglia->viewport()->height());
        griglia->SetTopRow(3);
        QCOMPARE(griglia->visualRect(griglia->model()->index(2, 0)).top(), 0);
    }

    void riempimentoConservaLaCellaCorrente() {
        Clic(3, 15);
        eventi.clear();
        griglia->Riempi(10, Testo);
        QCOMPARE(griglia->Row(), 9);
        QCOMPARE(griglia->Col(), 3);
        griglia->SetRowCount(30);
        QCOMPARE(griglia->Row(), 9);
        QVERIFY(eventi.isEmpty());
    }

    void clicSuUnAltraCella() {
        Clic(2, 3);
        QCOMPARE(eventi, QStringList({"select 2 3 da 1", "click 3", "mouseup"}));
        QCOMPARE(griglia->Col(), 2);
        QVERIFY(griglia->InplaceEditor() == nullptr);
    }

    void clicSullaCellaCorrenteApreLEditor() {
        Clic(0, 1);
        QCOMPARE(eventi, QStringList({"click 1", "mouseup"}));
        QVERIFY(griglia->InplaceEditor() != nullptr);
        QCOMPARE(griglia->InplaceEditor()->text(), QString("c0r1"));
    }

    void clicDestroNonMuove() {
        QTest::mouseClick(griglia->viewport(), Qt::RightButton, {}, Centro(4, 4));
        QCOMPARE(eventi, QStringList({"mouseup"}));
        QCOMPARE(griglia->Row(), 1);
    }

    void tastoGiu() {
        Tasto(Qt::Key_Down);
        QCOMPARE(eventi, QStringList({"keydown Giu", "select 0 2 da 1", "click 2", "keyup Giu"}));
    }

    void lEditorCopiaOgniTastoNellaCella() {
        Tasto(Qt::Key_F2);
        QLineEdit* editor = griglia->InplaceEditor();
        QVERIFY(editor != nullptr);
        editor->clear();
        Tasto(Qt::Key_N);
        QCOMPARE(griglia->Cells(0, 1), QString("n"));
        Tasti("uovo");
        QCOMPARE(griglia->Cells(0, 1), QString("nuovo"));
        QString vistoAllInvio;
        connect(griglia, &TStringGrid::OnKeyDown, this, [&](int tasto) {
            if (tasto == Qt::Key_Return) {
                vistoAllInvio = griglia->Cells(0, 1) + (griglia->InplaceEditor() ? " aperto" : "");
            }
        });
        eventi.clear();
        Tasto(Qt::Key_Return);
        QCOMPARE(vistoAllInvio, QString("nuovo aperto"));
        QCOMPARE(eventi, QStringList({"keydown Invio", "keyup Invio"}));
        QTRY_VERIFY(griglia->InplaceEditor() == nullptr);
        QCOMPARE(griglia->Cells(0, 1), QString("nuovo"));
    }

    void unTastoScrittoApreLEditorUnaVolta() {
        Tasto(Qt::Key_Z);
        QCOMPARE(eventi, QStringList({"keydown Z", "keyup Z"}));
        QVERIFY(griglia->InplaceEditor() != nullptr);
        QCOMPARE(griglia->Cells(0, 1), QString("z"));
    }

    void invioApreEChiudeLEditor() {
        Tasto(Qt::Key_Return);
        QVERIFY(griglia->InplaceEditor() != nullptr);
        Tasto(Qt::Key_Return);
        QTRY_VERIFY(griglia->InplaceEditor() == nullptr);
        QCOMPARE(eventi,
                 QStringList({"keydown Invio", "keyup Invio", "keydown Invio", "keyup Invio"}));
    }

    void escRipristinaIlTesto() {
        Tasto(Qt::Key_F2);
        Tasti("xyz");
        QCOMPARE(griglia->Cells(0, 1), QString("xyz"));
        Tasto(Qt::Key_Escape);
        QTRY_VERIFY(griglia->InplaceEditor() == nullptr);
        QCOMPARE(griglia->Cells(0, 1), QString("c0r1"));
    }

    void frecciaNellEditorMuoveLaCella() {
        Tasto(Qt::Key_F2);
        Tasti("q");
        eventi.clear();
        Tasto(Qt::Key_Down);
        QCOMPARE(eventi.mid(0, 3), QStringList({"keydown Giu", "select 0 2 da 1", "click 2"}));
        QCOMPARE(griglia->Row(), 2);
        QCOMPARE(griglia->Cells(0, 1), QString("q"));
        QTRY_VERIFY(griglia->InplaceEditor() == nullptr);
    }

    void uscitaVersoUnAltroControllo() {
        Clic(0, 1); // opens the editor: still inside the grid
        QTRY_VERIFY(griglia->InplaceEditor() != nullptr && griglia->InplaceEditor()->hasFocus());
        QVERIFY(!eventi.contains("exit"));
        altro->setFocus();
        QTRY_VERIFY(altro->hasFocus());
        QCOMPARE(eventi.count("exit"), 1);
        eventi.clear();
        griglia->setFocus();
        altro->setFocus();
        QCOMPARE(eventi, QStringList({"exit"}));
    }

    void tabEsceDallaGriglia() {
        Tasto(Qt::Key_Tab);
        QTRY_VERIFY(altro->hasFocus());
        QCOMPARE(eventi.mid(0, 2), QStringList({"keydown Tab", "exit"}));
    }

    void riempimentoConLEditorAperto() {
        Tasto(Qt::Key_F2);
        QVERIFY(griglia->InplaceEditor() != nullptr);
        eventi.clear();
        griglia->Riempi(21, Testo);
        QVERIFY(griglia->InplaceEditor() == nullptr);
        QVERIFY(griglia->hasFocus());
        QVERIFY(eventi.isEmpty());
    }

    void rilascioSullIntestazione() {
        QHeaderView* intestazione = griglia->horizontalHeader();
        QTest::mouseClick(intestazione->viewport(), Qt::LeftButton, {}, QPoint(30, 12));
        QCOMPARE(eventi, QStringList({"mouseup"}));
        QCOMPARE(griglia->Row(), 1);
    }

    void riempimentoDentroSelectCell() {
        connect(griglia, &TStringGrid::OnSelectCell, this, [this] {
            griglia->Riempi(
                21, [](int c, int r) { return QStringLiteral("nuovo%1.%2").arg(c).arg(r); });
        });
        Clic(1, 4);
        QCOMPARE(griglia->Row(), 4);
        QCOMPARE(griglia->Col(), 1);
        QCOMPARE(griglia->Cells(1, 4), QString("nuovo1.4"));
        QCOMPARE(eventi, QStringList({"select 1 4 da 1", "click 4", "mouseup"}));
    }
};

QTEST_MAIN(TestTStringGrid)
#include "test_tstringgrid.moc"
