// The four styles of the rich-text box and what other style numbers do.
#include "trichedit.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

namespace {

struct Corsa {
    QString testo;
    QColor colore;
    bool grassetto;
};

QList<Corsa> Corse(const TRichEdit& box) {
    QList<Corsa> corse;
    for (QTextBlock blocco = box.document()->begin(); blocco.isValid(); blocco = blocco.next()) {
        for (auto i = blocco.begin(); !i.atEnd(); ++i) {
            const QTextFragment pezzo = i.fragment();
            corse.append({pezzo.text(), pezzo.charFormat().foreground().color(),
                          pezzo.charFormat().fontWeight() == QFont::Bold});
        }
    }
    return corse;
}

} // namespace

class TestTRichEdit : public QObject {
    Q_OBJECT

private slots:
    void quattroStili() {
        TRichEdit box;
        box.ScriviRTF("Nome: ", 1);
        box.ScriviRTF("a.mid\r\n", 0);
        box.ScriviRTF("verde", 2);
        box.ScriviRTF("nero", 3);
        QCOMPARE(box.toPlainText(), QString("Nome: a.mid\nverdenero"));
        const QList<Corsa> corse = Corse(box);
        QCOMPARE(corse.size(), 4);
        QCOMPARE(corse[0].colore, QColor(255, 0, 0));
        QVERIFY(corse[0].grassetto);
        QCOMPARE(corse[1].colore, QColor(0, 0, 255));
        QVERIFY(!corse[1].grassetto);
        QCOMPARE(corse[2].colore, QColor(0, 128, 0));
        QCOMPARE(corse[3].colore, QColor(0, 0, 0));
        QVERIFY(!corse[3].grassetto);
        const Rapporto& contenuto = box.Contenuto();
        QCOMPARE(contenuto.size(), std::size_t{4});
        QCOMPARE(contenuto[1].testo, std::string("a.mid\r\n"));
        QCOMPARE(contenuto[1].stile, 0);
        QCOMPARE(contenuto[3].stile, 3);
    }

    void stileSconosciutoTieneGliAttributi() {
        TRichEdit box;
        box.ScriviRTF("rosso", 1);
        box.ScriviRTF(" ancora", 7);
        const QList<Corsa> corse = Corse(box);
        QCOMPARE(corse.size(), 1); // one run: same attributes
        QCOMPARE(corse[0].testo, QString("rosso ancora"));
        QVERIFY(corse[0].grassetto);
        QCOMPARE(box.Contenuto().back().stile, 1); // saved as it shows
    }

    void svuotaRicominciaDagliAttributiDelBox() {
        TRichEdit box;
        box.ScriviRTF("rosso", 1);
        box.Svuota();
        QVERIFY(box.toPlainText().isEmpty());
        box.ScriviRTF("semplice", -1);
        QVERIFY(!Corse(box)[0].grassetto);
        QCOMPARE(box.Contenuto().size(), std::size_t{1});
        QCOMPARE(box.Contenuto()[0].stile, 3);
    }

    void inCodaAncheConIlCursoreAltrove() {
        TRichEdit box;
        box.resize(200, 60);
        box.ScriviRTF("primo\r\n", 0);
        box.moveCursor(QTextCursor::Start); // a click of the user in the box
        for (int i = 0; i < 40; ++i) {
            box.ScriviRTF("riga\r\n", 2);
        }
        box.ScriviRTF("ultimo", 1);
        QVERIFY(box.toPlainText().startsWith("primo\nriga"));
        QVERIFY(box.toPlainText().endsWith("riga\nultimo"));
        QCOMPARE(box.Contenuto().back().testo, std::string("ultimo"));
        box.show();
        QCOMPARE(box.verticalScrollBar()->value(), 0); // the report shows from its start
    }

    void solaLetturaEBarraVerticale() {
        TRichEdit box;
        QVERIFY(box.isReadOnly());
        QCOMPARE(box.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(box.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
};

QTEST_MAIN(TestTRichEdit)
#include "test_trichedit.moc"
