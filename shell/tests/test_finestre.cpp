// The two skinned windows: every control's place, size, caption, font and
// colour, the roll-over labels as loaded, the background tiles and dragging.
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

constexpr int Auto = -1;

struct Controllo {
    const char* finestra; // "Velmora" or "Rapporto"
    const char* nome;
    QRect geometria; // width Auto: the label sizes itself to its caption
    const char* caption = nullptr;
    int pixel = 0;
    bool grassetto = false;
    QColor colore = QColor();
};

// (640 - width) / 2, as the window centres these labels.
constexpr int Centro(int larghezza) {
    return (640 - larghezza) / 2;
}

const Controllo Controlli[] = {
    {"Velmora", "Sfondo", {0, -216, 256, 256}},
    {"Velmora", "Sfondo02", {256, -216, 256, 256}},
    {"Velmora", "Sfondo03", {512, -216, 256, 256}},
    {"Velmora", "Analizza", {16, 0, 89, 31}, "Analizza", 23, false, Rosso},
    {"Velmora", "Visualizza", {120, 0, 104, 31}, "Visualizza", 23, false, Lime},
    {"Velmora", "Salva", {232, 0, 57, 31}, "Salva", 23, false, Rosso},
    {"Velmora", "Minimizza", {584, 2, 16, 38}, "-", 27, true, Rosso},
    {"Velmora", "Chiudi", {608, -6, 16, 38}, "x", 27, true, Rosso},
    {"Velmora", "Sezioni", {0, 40, 641, 361}},
    {"Velmora", "Label2", {16, 332, 259, 21}, nullptr, 15, true, Giallo},
    {"Velmora",
     "Label3",
     {Centro(474), 66, 474, 25},
     "Versione Preliminare - Ancora in fase di Realizzazione!!!!!!",
     17,
     true,
     Giallo},
    {"Velmora", "Label4", {Centro(588), 122, 588, 31}, nullptr, 22, true, Lime},
    {"Velmora", "Label5", {Centro(208), 147, 208, 24}, nullptr, 17, false, Rosso},
    {"Velmora", "Label6", {Centro(443), 168, 443, 24}, nullptr, 17, false, Rosso},
    {"Velmora", "Label7", {Centro(519), 207, 519, 24}, nullptr, 17, false, Giallo},
    {"Velmora", "Label8", {Centro(207), 236, 207, 24}, nullptr, 17, false, Rosso},
    {"Velmora", "Directory", {16, 0, 241, 313}},
    {"Velmora", "Drive", {16, 312, 241, 24}},
    {"Velmora", "CheckAnalisi", {264, 232, 137, 17}, "Analisi dettagliata", 13, true, Giallo},
    {"Velmora", "CheckSub", {264, 320, 185, 17}, "Analizza le sotto cartelle", 13, true, Giallo},
    {"Velmora", "Start", {576, 312, 46, 24}, "Start", 18, false, Rosso},
    {"Velmora", "LabelStato", {16, 336, Auto, 19}, nullptr, 13, true, Giallo},
    {"Velmora", "Grid", {16, 0, 593, 270}, nullptr, 13, false},
    {"Velmora", "ScrollBar1", {608, 0, 20, 270}},
    {"Velmora",
     "RadioVisualizza1",
     {16, 288, 153, 17},
     "Visualizza tutti i file",
     13,
     true,
     Giallo},
    {"Velmora",
     "RadioVisualizza2",
     {232, 288, 177, 17},
     "Visualizza basi con testo",
     13,
     true,
     Giallo},
    {"Velmora",
     "RadioVisualizza3",
     {464, 288, 169, 17},
     "Visualizza file corrotti",
     13,
     true,
     Giallo},
    {"Velmora", "LabelRiepilogo", {16, 312, Auto, 19}, "Basi totali:", 13, true, Giallo},
    {"Velmora", "LabelRiepilogo2", {240, 312, Auto, 19}, "Basi con testo:", 13, true, Giallo},
    {"Velmora", "LabelRiepilogo3", {464, 312, Auto, 19}, "Basi corrotte:", 13, true, Giallo},
    {"Velmora",
     "CheckRapporto",
     {352, 336, 281, 17},
     "Apri finestra di informazioni dettagliate",
     13,
     true,
     Giallo},
    {"Velmora", "Radio1", {560, 56, 73, 17}, "Modo A", 13, true, Giallo},
    {"Velmora", "Radio2", {560, 80, 73, 17}, "Modo B", 13, true, Giallo},
    {"Velmora", "CheckPerc", {8, 128, 73, 17}, "Percorso", 13, true, Giallo},
    {"Velmora", "CheckDir", {88, 128, 81, 17}, "Directory", 13, true, Giallo},
    {"Velmora", "CheckNome", {168, 128, 57, 17}, "Nome", 13, true, Giallo},
    {"Velmora", "CheckDurata", {224, 128, 65, 17}, "Durata", 13, true, Giallo},
    {"Velmora", "CheckLunghezza", {288, 128, 49, 17}, "Byte", 13, true, Giallo},
    {"Velmora", "CheckTempo", {336, 128, 65, 17}, "Tempo", 13, true, Giallo},
    {"Velmora", "CheckBPM", {400, 128, 49, 17}, "BPM", 13, true, Giallo},
    {"Velmora", "CheckTracce", {456, 128, 65, 17}, "Tracce", 13, true, Giallo},
    {"Velmora", "CheckTipo", {520, 128, 49, 17}, "Tipo", 13, true, Giallo},
    {"Velmora", "CheckTesto", {576, 128, 57, 17}, "Testo", 13, true, Giallo},
    {"Velmora", "CheckCopy", {552, 152, 81, 17}, "Copyright", 13, true, Giallo},
    {"Velmora", "SalvaLista", {584, 320, 44, 24}, "Salva", 18, false, Rosso},
    {"Rapporto", "Sfondo1", {0, 0, 256, 256}},
    {"Rapporto", "Sfondo2", {256, 0, 256, 256}},
    {"Rapporto", "Salva", {16, 0, 57, 31}, "Salva", 23, false, Rosso},
    {"Rapporto", "Chiudi", {480, -6, 16, 38}, "x", 27, true, Rosso},
    {"Rapporto", "RichEdit1", {16, 32, 481, 201}, nullptr, 13, false},
};

// The tiles of the pages, in rows of three, numbered in that order.
QList<Controllo> PiastrellePagine() {
    QList<Controllo> piastrelle;
    static QList<QByteArray> nomi;
    for (const char* prefisso : {"Sfondo", "Sfondo1", "Sfondo2", "Sfondo3"}) {
        for (int i = 0; i < 6; ++i) {
            nomi.append(QByteArray(prefisso) + QByteArray::number(i + 1));
            piastrelle.append(
                {"Velmora", nomi.last().constData(), {256 * (i % 3), 256 * (i / 3), 256, 256}});
        }
    }
    return piastrelle;
}

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

    void EveryControlHasItsPlaceSizeCaptionFontAndColour() {
        QList<Controllo> tutti(std::begin(Controlli), std::end(Controlli));
        tutti.append(PiastrellePagine());
        for (const Controllo& c : tutti) {
            const QWidget* controllo = Cerca(c.finestra, c.nome);
            const QRect atteso =
                c.geometria.width() == Auto
                    ? QRect(c.geometria.topLeft(), QSize(controllo->width(), c.geometria.height()))
                    : c.geometria;
            QVERIFY2(controllo->geometry() == atteso, c.nome);
            if (c.caption != nullptr) {
                QVERIFY2(Caption(controllo) == QString::fromUtf8(c.caption), c.nome);
            }
            if (c.pixel != 0) {
                QVERIFY2(controllo->font().pixelSize() == c.pixel, c.nome);
                QVERIFY2(controllo->font().bold() == c.grassetto, c.nome);
                QVERIFY2(controllo->font().family() == QString(Comic), c.nome);
            }
            if (c.colore.isValid()) {
                QVERIFY2(controllo->palette().color(QPalette::Active, QPalette::WindowText) ==
                             c.colore,
                         c.nome);
            }
            if (const auto* casella = qobject_cast<const QAbstractButton*>(controllo)) {
                QVERIFY2(casella->autoFillBackground(), c.nome);
                QVERIFY2(casella->palette().color(casella->backgroundRole()) == Navy, c.nome);
            }
            // Whatever the font the system substitutes, no caption is cut.
            if (c.pixel != 0 && (qobject_cast<const QLabel*>(controllo) != nullptr ||
                                 qobject_cast<const QAbstractButton*>(controllo) != nullptr)) {
                const int larghezza =
                    controllo->fontMetrics().horizontalAdvance(Caption(controllo));
                QVERIFY2(larghezza <= SpazioCaption(controllo),
                         qPrintable(QString("%1: caption %2 pixels wide, room for %3")
                                        .arg(c.nome)
                                        .arg(larghezza)
                                        .arg(SpazioCaption(controllo))));
            }
        }
    }

    void StartPageCarriesTitleVersionAndLinks() {
        TVelmora& velmora = ambiente->Velmora();
        QVERIFY(velmora.Label2->text().contains("Velmora"));
        QVERIFY(velmora.Label2->text().contains("0.9b"));
        QVERIFY(velmora.Label5->font().underline());
        QVERIFY(QString(TVelmora::PaginaWeb1).endsWith(velmora.Label5->text() + "/"));
        QVERIFY(QString(TVelmora::PaginaWeb2).endsWith(velmora.Label6->text()));
        QVERIFY(QString(TVelmora::PaginaWeb2).startsWith("https://"));
    }

    void PagesAndStartingState() {
        TVelmora& velmora = ambiente->Velmora();
        QCOMPARE(velmora.Sezioni->count(), 4);
        QCOMPARE(velmora.Sezioni->currentIndex(), 0);
        QVERIFY(velmora.CheckAnalisi->isChecked());
        QVERIFY(velmora.CheckSub->isChecked());
        QVERIFY(velmora.RadioVisualizza1->isChecked());
        QVERIFY(velmora.CheckRapporto->isChecked());
        QVERIFY(velmora.Radio2->isChecked());
        QVERIFY(!velmora.Radio1->isChecked());
        QVERIFY(velmora.CheckCopy->isChecked());
        QCOMPARE(velmora.ScrollBar1->minimum(), 1);
        QCOMPARE(velmora.ScrollBar1->maximum(), 10);
        QCOMPARE(velmora.ScrollBar1->value(), 1);
        QCOMPARE(velmora.ScrollBar1->pageStep(), 10);
        QCOMPARE(velmora.Grid->ColCount(), 10);
        QCOMPARE(velmora.Timer1->interval(), 70);
        QVERIFY(!velmora.Timer1->isActive());
        QCOMPARE(velmora.UltimaRiga, 0);
        QVERIFY(!velmora.InAnalisi());
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
        velmora.Start->SetRoll(true);
        QVERIFY(velmora.Analizza->Roll());
        QCOMPARE(velmora.Analizza->ColoreFont(), Lime);

        velmora.Analizza->SetRoll(true);
        QVERIFY(!velmora.Start->Roll());
        QVERIFY(!velmora.SalvaLista->Roll());
        QCOMPARE(velmora.Start->ColoreFont(), Rosso);
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
        for (QWidget* sorgente :
             {Cerca("Velmora", "Sfondo"), Cerca("Velmora", "Sfondo25"),
              static_cast<QWidget*>(velmora.Label3), static_cast<QWidget*>(velmora.Label8)}) {
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
        Premi(velmora.Label2, {5, 5});
        Muovi(velmora.Label2, {-5000, -4000});
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
             {static_cast<QWidget*>(velmora.Label5), static_cast<QWidget*>(velmora.Label6),
              static_cast<QWidget*>(velmora.Analizza), static_cast<QWidget*>(velmora.Chiudi),
              static_cast<QWidget*>(velmora.CheckAnalisi),
              static_cast<QWidget*>(velmora.LabelStato)}) {
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
