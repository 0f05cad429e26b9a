// Roll-over labels: colours, the Active and Roll cascades over the group, mouse
// moves and leaves, clicks and the disabled look.
#include "errori.h"
#include "trlabel.h"

#include <QMouseEvent>
#include <QStackedWidget>
#include <QTest>

namespace {

const QColor Nero(0, 0, 0);
const QColor Rosso(255, 0, 0);
const QColor Lime(0, 255, 0);
const QColor Giallo(255, 255, 0);
const QColor Acqua(0, 255, 255);

// A class derived from TRLabel does not belong to any group.
class EtichettaDerivata : public TRLabel {
public:
    using TRLabel::TRLabel;
};

void Colora(TRLabel* etichetta) {
    etichetta->SetColorOff(Rosso);
    etichetta->SetColorOn(Lime);
    etichetta->SetColorActiveOff(Giallo);
    etichetta->SetColorActiveOn(Acqua);
}

void MuoviSopra(QWidget* destinatario) {
    QMouseEvent evento(QEvent::MouseMove, QPointF(3, 3), destinatario->mapToGlobal(QPointF(3, 3)),
                       Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(destinatario, &evento);
}

void Lascia(QWidget* destinatario) {
    QEvent evento(QEvent::Leave);
    QApplication::sendEvent(destinatario, &evento);
}

} // namespace

class TestTRLabel : public QObject {
    Q_OBJECT

    // A window with three labels of its own, a notebook with two pages, a label
    // on each page and a label of a derived class on the window.
    struct Finestra {
        QWidget finestra;
        TRLabel* primo = new TRLabel(&finestra);
        TRLabel* secondo = new TRLabel(&finestra);
        TRLabel* terzo = new TRLabel(&finestra);
        QStackedWidget* sezioni = new QStackedWidget(&finestra);
        QWidget* pagina1 = new QWidget;
        QWidget* pagina2 = new QWidget;
        TRLabel* suPagina1 = new TRLabel(pagina1);
        TRLabel* suPagina2 = new TRLabel(pagina2);
        EtichettaDerivata* derivata = new EtichettaDerivata(&finestra);

        Finestra() {
            sezioni->addWidget(pagina1);
            sezioni->addWidget(pagina2);
            for (TRLabel* etichetta : Tutte()) {
                Colora(etichetta);
            }
        }
        QList<TRLabel*> Tutte() const {
            return {primo, secondo, terzo, suPagina1, suPagina2, derivata};
        }
    };

private slots:
    void ColoursFollowRollAndActive() {
        TRLabel etichetta;
        Colora(&etichetta);
        QCOMPARE(etichetta.ColoreFont(), Rosso);
        etichetta.SetRoll(true);
        QCOMPARE(etichetta.ColoreFont(), Lime);
        etichetta.SetActive(true);
        QVERIFY(etichetta.Roll());
        QCOMPARE(etichetta.ColoreFont(), Acqua);
        etichetta.SetRoll(false);
        QCOMPARE(etichetta.ColoreFont(), Giallo);
    }

    void UnsetColoursShowBlack() {
        TRLabel etichetta;
        etichetta.SetColoreFont(Rosso);
        etichetta.SetRoll(false);
        QCOMPARE(etichetta.ColoreFont(), Nero);
        etichetta.SetColoreFont(Rosso);
        etichetta.SetRoll(true);
        QCOMPARE(etichetta.ColoreFont(), Nero);
    }

    void WritingActiveFalseLightsTheLabel() {
        TRLabel etichetta;
        Colora(&etichetta);
        etichetta.SetActive(false);
        QVERIFY(!etichetta.Active());
        QVERIFY(etichetta.Roll());
        QCOMPARE(etichetta.ColoreFont(), Lime);
    }

    void ColorOffShowsAtOnceWhateverTheState() {
        TRLabel etichetta;
        Colora(&etichetta);
        etichetta.SetActive(true);
        etichetta.SetColorOff(Giallo);
        QCOMPARE(etichetta.ColoreFont(), Giallo);
        QVERIFY(etichetta.Active());
        QVERIFY(etichetta.Roll());
    }

    void OtherColoursShowOnlyAtTheNextRollWrite() {
        TRLabel etichetta;
        Colora(&etichetta);
        etichetta.SetRoll(true);
        etichetta.SetColorOn(Giallo);
        QCOMPARE(etichetta.ColoreFont(), Lime);
        etichetta.SetRoll(true);
        QCOMPARE(etichetta.ColoreFont(), Giallo);
    }

    void ActiveOnAWindowLabelClearsEveryOtherLabelOfTheWindow() {
        Finestra f;
        for (TRLabel* etichetta : f.Tutte()) {
            etichetta->SetActive(true);
        }
        f.secondo->SetActive(true);
        QVERIFY(f.secondo->Active());
        QVERIFY(f.secondo->Roll());
        QCOMPARE(f.secondo->ColoreFont(), Acqua);
        for (TRLabel* altro : {f.primo, f.terzo, f.suPagina1, f.suPagina2}) {
            QVERIFY(!altro->Active());
            QVERIFY(!altro->Roll());
            QCOMPARE(altro->ColoreFont(), Rosso);
        }
        // Not a TRLabel itself: left as it was.
        QVERIFY(f.derivata->Active());
    }

    void ActiveMovesFromOneLabelToAnother() {
        Finestra f;
        f.primo->SetActive(true);
        f.secondo->SetActive(true);
        QVERIFY(!f.primo->Active());
        QCOMPARE(f.primo->ColoreFont(), Rosso);
        QCOMPARE(f.secondo->ColoreFont(), Acqua);
    }

    void ActiveOnAPageLabelReachesNoOtherLabel() {
        Finestra f;
        f.primo->SetActive(true);
        f.suPagina1->SetActive(true);
        QVERIFY(f.primo->Active());
        QVERIFY(f.primo->Roll());
        QCOMPARE(f.primo->ColoreFont(), Acqua);
        QVERIFY(f.suPagina1->Active());
    }

    void RollOnAWindowLabelDarkensTheWholeWindow() {
        Finestra f;
        f.terzo->SetActive(true);
        for (TRLabel* etichetta : {f.suPagina1, f.suPagina2}) {
            etichetta->SetRoll(true);
        }
        f.primo->SetRoll(true);
        QCOMPARE(f.primo->ColoreFont(), Lime);
        QVERIFY(!f.suPagina1->Roll());
        QVERIFY(!f.suPagina2->Roll());
        QCOMPARE(f.suPagina1->ColoreFont(), Rosso);
        QVERIFY(!f.terzo->Roll());
        QVERIFY(f.terzo->Active());
        QCOMPARE(f.terzo->ColoreFont(), Giallo);
    }

    void RollOnAPageLabelChangesOnlyThatLabel() {
        Finestra f;
        f.primo->SetRoll(true);
        f.suPagina2->SetRoll(true);
        QVERIFY(f.suPagina2->Roll());
        QVERIFY(f.primo->Roll());
        QCOMPARE(f.primo->ColoreFont(), Lime);
    }

    void GroupsStopAtTheWindow() {
        Finestra una;
        Finestra altra;
        una.primo->SetActive(true);
        altra.primo->SetActive(true);
        QVERIFY(una.primo->Active());
        QCOMPARE(una.primo->ColoreFont(), Acqua);
    }

    void MouseMoveRollsAndLeaveUnrolls() {
        Finestra f;
        f.secondo->SetActive(true);
        MuoviSopra(f.primo);
        QVERIFY(f.primo->Roll());
        QCOMPARE(f.primo->ColoreFont(), Lime);
        QCOMPARE(f.secondo->ColoreFont(), Giallo);

        MuoviSopra(f.secondo);
        QCOMPARE(f.secondo->ColoreFont(), Acqua);
        QCOMPARE(f.primo->ColoreFont(), Rosso);

        Lascia(f.secondo);
        QVERIFY(!f.secondo->Roll());
        QCOMPARE(f.secondo->ColoreFont(), Giallo);

        MuoviSopra(f.suPagina1);
        Lascia(f.suPagina1);
        QCOMPARE(f.suPagina1->ColoreFont(), Rosso);
    }

    void DisabledLabelNeitherLightsUpNorShowsItsColour() {
        QWidget finestra;
        finestra.resize(200, 60);
        auto* etichetta = new TRLabel(&finestra);
        Colora(etichetta);
        QFont carattere = etichetta->font();
        carattere.setPixelSize(30);
        carattere.setBold(true);
        etichetta->setFont(carattere);
        etichetta->setText("WWWW");
        etichetta->setGeometry(0, 0, 200, 60);

        const QImage acceso = etichetta->grab().toImage();
        etichetta->setEnabled(false);
        MuoviSopra(etichetta);
        QVERIFY(!etichetta->Roll());
        const QImage spento = etichetta->grab().toImage();

        auto contaRossi = [](const QImage& immagine) {
            int rossi = 0;
            for (int y = 0; y < immagine.height(); ++y) {
                for (int x = 0; x < immagine.width(); ++x) {
                    const QColor c = immagine.pixelColor(x, y);
                    rossi += c.red() > 200 && c.green() < 80 && c.blue() < 80;
                }
            }
            return rossi;
        };
        QVERIFY(contaRossi(acceso) > 50);
        QCOMPARE(contaRossi(spento), 0);
        QVERIFY(spento != QImage(spento.size(), spento.format()));
    }

    void ClickNeedsALeftPressAndReleaseOverTheLabel() {
        TRLabel etichetta;
        etichetta.resize(40, 20);
        int click = 0;
        connect(&etichetta, &TCustomLabel::Click, [&] { ++click; });
        QTest::mouseClick(&etichetta, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(click, 1);
        QTest::mouseClick(&etichetta, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(click, 1);
        QTest::mousePress(&etichetta, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseRelease(&etichetta, Qt::LeftButton, {}, QPoint(60, 5));
        QCOMPARE(click, 1);
    }

    void FailureInAClickHandlerIsShownAndTheProgramGoesOn() {
        QStringList mostrati;
        ImpostaVisualizzatore([&](const QString& messaggio) { mostrati << messaggio; });
        TRLabel etichetta;
        etichetta.resize(40, 20);
        connect(&etichetta, &TCustomLabel::Click, [] { throw ErroreVelmora("Prova fallita"); });
        QTest::mouseClick(&etichetta, Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(&etichetta, Qt::LeftButton, {}, QPoint(5, 5));
        ImpostaVisualizzatore({});
        QCOMPARE(mostrati, QStringList({"Prova fallita", "Prova fallita"}));
    }
};

QTEST_MAIN(TestTRLabel)
#include "test_trlabel.moc"
