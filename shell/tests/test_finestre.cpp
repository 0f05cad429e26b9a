// The two skinned windows: frames, captions that fit, the roll-over labels as
// loaded, the background tiles and dragging.
#include "ambiente.h"
#include "aspetto.h"
#include "marmo.h"
#include "trichedit.h"
#include "tstringgrid.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

using namespace aspetto;

namespace {

QString Caption(const QWidget* controllo) {
    if (const auto* etichetta = qobject_cast<const QLabel*>(controllo)) {
        return etichetta->text();
    }
    return qobject_cast<const QAbstractButton*>(controllo)->text();
}

// Room for the caption: a label's whole width, the part beside the indicator
// of a check box or radio button.
int SpazioCaption(const QWidget* controllo) {
    if (qobject_cast<const QLabel*>(controllo) != nullptr) {
        return controllo->width();
    }
    QStyleOptionButton opzione;
    opzione.initFrom(controllo);
    const bool radio = qobject_cast<const QRadioButton*>(controllo) != nullptr;
    return controllo->style()
        ->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents,
                         &opzione, controllo)
        .width();
}

struct RollOver {
    const char* finestra;
    const char* nome;
    QColor off, on, activeOff, activeOn;
    bool roll;
    bool abilitato;
};

const RollOver Istanze[] = {
    {"Velmora", "Chiudi", Rosso, Lime, Giallo, Acqua, false, true},
    {"Velmora", "Minimizza", Rosso, Lime, Giallo, Acqua, false, true},
    {"Velmora", "Analizza", Rosso, Lime, Acqua, VerdePrimavera, false, true},
    {"Velmora", "Visualizza", Rosso, Lime, Acqua, VerdePrimavera, true, false},
    {"Velmora", "Salva", Rosso, Lime, Acqua, VerdePrimavera, false, false},
    {"Velmora", "Start", Rosso, Lime, Nero, Nero, true, true},
    {"Velmora", "SalvaLista", Rosso, Lime, Nero, Nero, true, true},
    {"Rapporto", "Chiudi", Rosso, Lime, Giallo, Acqua, false, true},
    {"Rapporto", "Salva", Rosso, Lime, Acqua, VerdePrimavera, false, true},
};

} // namespace

class TestFinestre : public QObject {
    Q_OBJECT

    std::unique_ptr<Ambiente> ambiente;

    QWidget* Finestra(const char* nome) {
        return qstrcmp(nome, "Velmora") == 0 ? static_cast<QWidget*>(&ambiente->Velmora())
                                             : static_cast<QWidget*>(&ambiente->Rapporto());
    }
    QWidget* Cerca(const char* finestra, const char* nome) {
        QWidget* controllo = Finestra(finestra)->findChild<QWidget*>(nome);
        if (controllo == nullptr) {
            qFatal("%s has no control %s", finestra, nome);
        }
        return controllo;
    }

private slots:
    void init() {
        ambiente = std::make_unique<Ambiente>();
        ambiente->Apri();
    }
    void cleanup() { ambiente.reset(); }

    void WindowsAreBorderlessNavyAndOfFixedSize() {
        TVelmora& velmora = ambiente->Velmora();
        TRapporto& rapporto = ambiente->Rapporto();
        QCOMPARE(velmora.objectName(), QString("Velmora"));
        QCOMPARE(velmora.windowTitle(), QString("Velmora"));
        QCOMPARE(velmora.geometry(), QRect(314, 218, 640, 400));
        QCOMPARE(velmora.minimumSize(), velmora.maximumSize());
        QCOMPARE(rapporto.objectName(), QString("Rapporto"));
        QCOMPARE(rapporto.windowTitle(), QString("Rapporto"));
        QCOMPARE(rapporto.geometry(), QRect(483, 205, 512, 256));
        QCOMPARE(rapporto.minimumSize(), rapporto.maximumSize());
        for (QWidget* finestra :
             {static_cast<QWidget*>(&velmora), static_cast<QWidget*>(&rapporto)}) {
            QVERIFY(finestra->windowFlags() & Qt::FramelessWindowHint);
            QCOMPARE(finestra->palette().color(QPalette::Window), Navy);
        }
        QCOMPARE(velmora.font().pixelSize(), 13);
        QCOMPARE(velmora.font().family(), QString(Comic));
        QCOMPARE(rapporto.font().family(), QString(SansSerif));
        QVERIFY(!rapporto.isVisible());
    }

    // Whatever font the system substitutes, no caption of either window is cut, and
    // every box paints its navy background.
    void NoCaptionIsCutAndBoxesAreNavy() {
#ifdef _WIN32
        QSKIP("the captions' fonts are measured with Windows' own; Wine's stand-ins are "
              "about twice as wide");
#endif
        for (QWidget* finestra : {static_cast<QWidget*>(&ambiente->Velmora()),
                                  static_cast<QWidget*>(&ambiente->Rapporto())}) {
            QList<QWidget*> controlli;
            for (QLabel* l : finestra->findChildren<QLabel*>()) {
                controlli.append(l);
            }
            QList<QAbstractButton*> caselle;
            for (QCheckBox* b : finestra->findChildren<QCheckBox*>()) {
                caselle.append(b);
            }
            for (QRadioButton* b : finestra->findChildren<QRadioButton*>()) {
                caselle.append(b);
            }
            for (QAbstractButton* b : caselle) {
                controlli.append(b);
                QVERIFY2(b->autoFillBackground(), qPrintable(b->objectName()));
                QVERIFY2(b->palette().color(b->backgroundRole()) == Navy,
                         qPrintable(b->objectName()));
            }
            for (const QWidget* controllo : controlli) {
                if (controllo->objectName().startsWith("Sfondo")) {
                    continue;
                }
                const int larghezza =
                    controllo->fontMetrics().horizontalAdvance(Caption(controllo));
                QVERIFY2(larghezza <= SpazioCaption(controllo),
                         qPrintable(QString("%1: caption %2 pixels wide, room for %3")
                                        .arg(controllo->objectName())
                                        .arg(larghezza)
                                        .arg(SpazioCaption(controllo))));
            }
        }
    }

    void ADisabledFilterLooksGreyed() {
        QRadioButton* filtro = ambiente->Velmora().Vista->RadioVisualizza2;
        const auto gialli = [filtro] {
            const QImage immagine = filtro->grab().toImage();
            int n = 0;
            for (int y = 0; y < immagine.height(); ++y) {
                for (int x = 0; x < immagine.width(); ++x) {
                    n += QColor(immagine.pixel(x, y)) == Giallo;
                }
            }
            return n;
        };
        QVERIFY(gialli() > 0);
        filtro->setEnabled(false);
        QCOMPARE(gialli(), 0);
    }

    void StartPageCarriesTitleVersionAndLinks() {
        TVelmora& velmora = ambiente->Velmora();
        QVERIFY(velmora.Inizio->Label2->text().contains("Velmora"));
        QVERIFY(velmora.Inizio->Label2->text().contains("0.9b"));
        QVERIFY(velmora.Inizio->Label5->font().underline());
        QVERIFY(QString(PaginaStart::PaginaWeb1).endsWith(velmora.Inizio->Label5->text() + "/"));
        QVERIFY(QString(PaginaStart::PaginaWeb2).endsWith(velmora.Inizio->Label6->text()));
        QVERIFY(QString(PaginaStart::PaginaWeb2).startsWith("https://"));
    }

    void PagesAndStartingState() {
        TVelmora& velmora = ambiente->Velmora();
        QCOMPARE(velmora.Sezioni->count(), 4);
        QCOMPARE(velmora.Sezioni->currentIndex(), 0);
        QVERIFY(velmora.Analisi->CheckAnalisi->isChecked());
        QVERIFY(velmora.Analisi->CheckSub->isChecked());
        QVERIFY(velmora.Vista->RadioVisualizza1->isChecked());
        QVERIFY(velmora.Vista->CheckRapporto->isChecked());
        QVERIFY(velmora.Elenco->Radio2->isChecked());
        QVERIFY(!velmora.Elenco->Radio1->isChecked());
        QVERIFY(velmora.Elenco->CheckCopy->isChecked());
        QCOMPARE(velmora.Vista->ScrollBar1->minimum(), 1);
        QCOMPARE(velmora.Vista->ScrollBar1->maximum(), 10);
        QCOMPARE(velmora.Vista->ScrollBar1->value(), 1);
        QCOMPARE(velmora.Vista->ScrollBar1->pageStep(), 10);
        QCOMPARE(velmora.Vista->Grid->ColCount(), 10);
        QCOMPARE(velmora.Timer1->interval(), 70);
        QVERIFY(!velmora.Timer1->isActive());
        QCOMPARE(velmora.Vista->UltimaRiga, 0);
        QCOMPARE(velmora.Analisi->Start->text(), QString("Start"));
        QCOMPARE(velmora.catalogo.NumeroFile(), 0);
    }

    void RollOverLabelsAreLoadedAsStored() {
        for (const RollOver& r : Istanze) {
            const auto* etichetta = qobject_cast<TRLabel*>(Cerca(r.finestra, r.nome));
            QVERIFY2(etichetta != nullptr, r.nome);
            QVERIFY2(etichetta->ColorOff() == r.off, r.nome);
            QVERIFY2(etichetta->ColorOn() == r.on, r.nome);
            QVERIFY2(etichetta->ColorActiveOff() == r.activeOff, r.nome);
            QVERIFY2(etichetta->ColorActiveOn() == r.activeOn, r.nome);
            QVERIFY2(etichetta->Roll() == r.roll, r.nome);
            QVERIFY2(!etichetta->Active(), r.nome);
            QVERIFY2(etichetta->isEnabled() == r.abilitato, r.nome);
        }
    }

    void RollingAPageLabelLeavesTheTopStripAlone() {
        TVelmora& velmora = ambiente->Velmora();
        velmora.Analizza->SetRoll(true);
        velmora.Analisi->Start->SetRoll(true);
        QVERIFY(velmora.Analizza->Roll());
        QCOMPARE(velmora.Analizza->ColoreFont(), Lime);

        velmora.Analizza->SetRoll(true);
        QVERIFY(!velmora.Analisi->Start->Roll());
        QVERIFY(!velmora.Elenco->SalvaLista->Roll());
        QCOMPARE(velmora.Analisi->Start->ColoreFont(), Rosso);
        // The report window's labels are another group.
        ambiente->Rapporto().Salva->SetRoll(true);
        QVERIFY(velmora.Analizza->Roll());
    }

    void EveryTileShowsTheOnePictureAtItsNaturalSize() {
        TVelmora& velmora = ambiente->Velmora();
        const QImage atteso = Marmo().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(velmora.Sfondo->pixmap().toImage().convertToFormat(QImage::Format_RGB32), atteso);
        QList<QLabel*> piastrelle;
        for (QLabel* l : velmora.findChildren<QLabel*>()) {
            if (l->objectName().startsWith("Sfondo")) {
                piastrelle.append(l);
            }
        }
        for (QLabel* l : ambiente->Rapporto().findChildren<QLabel*>()) {
            if (l->objectName().startsWith("Sfondo")) {
                piastrelle.append(l);
            }
        }
        QCOMPARE(piastrelle.size(), 27 + 2);
        for (const QLabel* piastrella : piastrelle) {
            QVERIFY2(piastrella->pixmap().toImage().convertToFormat(QImage::Format_RGB32) == atteso,
                     qPrintable(piastrella->objectName()));
        }

        // A page is 641 by 361: its last column and row show column 128 and row
        // 104 of the picture, and the strip shows the picture's bottom 40 rows.
        for (int pagina = 0; pagina < 4; ++pagina) {
            velmora.Sezioni->setCurrentIndex(pagina);
            const QImage vista = velmora.Sezioni->currentWidget()->grab().toImage();
            QCOMPARE(vista.size(), QSize(641, 361));
            QCOMPARE(vista.pixel(640, 360), atteso.pixel(128, 104));
            QCOMPARE(vista.pixel(0, 0), atteso.pixel(0, 0));
        }
        const QImage finestra = velmora.grab().toImage();
        QCOMPARE(finestra.pixel(300, 39), atteso.pixel(300 - 256, 255));
        QCOMPARE(finestra.pixel(0, 0), atteso.pixel(0, 216));
    }

    void LabelsAreTransparent() {
        TVelmora& velmora = ambiente->Velmora();
        const QImage atteso = Marmo().convertToFormat(QImage::Format_RGB32);
        const QImage finestra = velmora.grab().toImage();
        // The bottom right corner of Analizza lies over the strip's first tile,
        // away from the caption.
        QCOMPARE(finestra.pixel(16 + 88, 30), atteso.pixel(16 + 88, 216 + 30));
    }

    void DraggingTheBackgroundOrATextLabelMovesTheWindow() {
        TVelmora& velmora = ambiente->Velmora();
        const QPoint inizio = velmora.pos();
        for (QWidget* sorgente : {Cerca("Velmora", "Sfondo"), Cerca("Velmora", "Sfondo25"),
                                  static_cast<QWidget*>(velmora.Inizio->Label3),
                                  static_cast<QWidget*>(velmora.Inizio->Label8)}) {
            // The pointer travels (21, 15) on the screen in two moves; the point
            // pressed stays under it.
            const QPoint prima = velmora.pos();
            const QPoint puntatore = sorgente->mapToGlobal(QPoint(10, 10));
            Premi(sorgente, {10, 10});
            Muovi(sorgente, sorgente->mapFromGlobal(puntatore + QPoint(20, 15)));
            Muovi(sorgente, sorgente->mapFromGlobal(puntatore + QPoint(21, 15)));
            QVERIFY2(velmora.pos() == prima + QPoint(21, 15), qPrintable(sorgente->objectName()));
            QCOMPARE(sorgente->mapToGlobal(QPoint(10, 10)), puntatore + QPoint(21, 15));
        }
        QCOMPARE(velmora.pos(), inizio + 4 * QPoint(21, 15));
    }

    void TheWindowCanBeDraggedOffTheScreen() {
        TVelmora& velmora = ambiente->Velmora();
        Premi(velmora.Inizio->Label2, {5, 5});
        Muovi(velmora.Inizio->Label2, {-5000, -4000});
        QCOMPARE(velmora.pos(), QPoint(314 - 5005, 218 - 4005));
    }

    void OnlyTheLeftButtonDrags() {
        TVelmora& velmora = ambiente->Velmora();
        QWidget* sfondo = Cerca("Velmora", "Sfondo1");
        Premi(sfondo, {10, 10}, Qt::RightButton);
        Muovi(sfondo, {50, 50}, Qt::RightButton);
        Muovi(sfondo, {60, 60}, Qt::NoButton);
        QCOMPARE(velmora.pos(), QPoint(314, 218));
        // The press point of any button counts for the next left drag.
        Muovi(sfondo, {20, 10}, Qt::LeftButton);
        QCOMPARE(velmora.pos(), QPoint(324, 218));
    }

    void LinksRollOverLabelsAndInputControlsDoNotDrag() {
        TVelmora& velmora = ambiente->Velmora();
        for (QWidget* controllo :
             {static_cast<QWidget*>(velmora.Inizio->Label5),
              static_cast<QWidget*>(velmora.Inizio->Label6),
              static_cast<QWidget*>(velmora.Analizza), static_cast<QWidget*>(velmora.Chiudi),
              static_cast<QWidget*>(velmora.Analisi->CheckAnalisi),
              static_cast<QWidget*>(velmora.Analisi->LabelStato)}) {
            Premi(controllo, {2, 2});
            Muovi(controllo, {40, 30});
            QVERIFY2(velmora.pos() == QPoint(314, 218), qPrintable(controllo->objectName()));
        }
    }

    void EachWindowDragsAloneWithItsOwnPressPoint() {
        TVelmora& velmora = ambiente->Velmora();
        TRapporto& rapporto = ambiente->Rapporto();
        QWidget* tileVelmora = Cerca("Velmora", "Sfondo03");
        QWidget* tileRapporto = Cerca("Rapporto", "Sfondo2");

        Premi(tileVelmora, {5, 5});
        Premi(tileRapporto, {100, 100});
        Muovi(tileRapporto, {110, 90});
        QCOMPARE(rapporto.pos(), QPoint(493, 195));
        QCOMPARE(velmora.pos(), QPoint(314, 218));

        Muovi(tileVelmora, {15, 5});
        QCOMPARE(velmora.pos(), QPoint(324, 218));
        QCOMPARE(rapporto.pos(), QPoint(493, 195));

        // The report's text box and labels do not drag it.
        Premi(rapporto.RichEdit1, {5, 5});
        Muovi(rapporto.RichEdit1, {50, 50});
        Premi(rapporto.Salva, {5, 5});
        Muovi(rapporto.Salva, {50, 50});
        QCOMPARE(rapporto.pos(), QPoint(493, 195));
    }
};

QTEST_MAIN(TestFinestre)
#include "test_finestre.moc"
