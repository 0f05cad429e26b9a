// Page 'Visualizza' in detail: paging, the fitting of the last column, when the
// report is rebuilt, saving it, and renames refused or mended.
#include "doppioni.h"
#include "pagine.h"

#include "rapporto.h"
#include "rtf.h"
#include "trapporto.h"
#include "trichedit.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QRadioButton>
#include <QScrollBar>

namespace {

// The first data row whose "Nome" cell reads nome, 0 for none.
int RigaDi(TVelmora& velmora, const QString& nome) {
    for (int r = 1; r < velmora.Vista->Grid->RowCount(); ++r) {
        if (velmora.Vista->Grid->Cells(1, r) == nome) {
            return r;
        }
    }
    return 0;
}

// The main window after a scan of the demo folder, on page 'Visualizza'.
TVelmora& Scansionata(Banco& banco) {
    TVelmora& velmora = ApriSu(banco.ambiente, banco.campioni.Radice());
    Clic(velmora.Analisi->Start);
    Clic(velmora.Visualizza);
    return velmora;
}

const ::Rapporto& Contenuto(Ambiente& ambiente) {
    return ambiente.Rapporto().RichEdit1->Contenuto();
}

} // namespace

class TestPagine : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Banco> banco;

private slots:
    void init() { banco = std::make_unique<Banco>(); }
    void cleanup() { banco.reset(); }

    void Paginazione() {
        TVelmora& velmora = ApriSu(banco->ambiente, banco->campioni.Radice());
        velmora.VisualizzaClick();
        QCOMPARE(velmora.Vista->Grid->RowCount(), 10); // empty catalogue: nine empty rows
        QCOMPARE(velmora.Vista->ScrollBar1->maximum(), 10);
        for (int i = 1; i <= 20; ++i) {
            velmora.catalogo.Aggiungi("pop", "f" + std::to_string(i) + ".mid", "/pop", i, 10, "4/4",
                                      120, 1, "", "1", "");
        }
        velmora.VisualizzaClick();
        QCOMPARE(velmora.Vista->ScrollBar1->minimum(), 1);
        QCOMPARE(velmora.Vista->ScrollBar1->maximum(), 12);
        QCOMPARE(velmora.Vista->ScrollBar1->value(), 1);
        velmora.Vista->ScrollBar1->setValue(5);
        QCOMPARE(velmora.Vista->Grid->TopRow(), 5);
        velmora.Vista->ScrollBar1->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(velmora.Vista->ScrollBar1->value(), 12); // a large change of 10, clamped
        QCOMPARE(velmora.Vista->Grid->TopRow(), 12);
        // Keys that scroll the grid move the bar with them, on release.
        velmora.Vista->ScrollBar1->setValue(5);
        ClicCella(velmora, 2, 13); // the bottom row
        Tasto(velmora, Qt::Key_Down);
        Tasto(velmora, Qt::Key_Down);
        QCOMPARE(velmora.Vista->Grid->Row(), 15);
        QCOMPARE(velmora.Vista->Grid->TopRow(), 7);
        QCOMPARE(velmora.Vista->ScrollBar1->value(), 7);
        // A refill puts both back at the top.
        velmora.Vista->VisualizzaGriglia();
        QCOMPARE(velmora.Vista->ScrollBar1->value(), 1);
        QCOMPARE(velmora.Vista->Grid->TopRow(), 1);
    }

    void UltimaColonnaAdattataAlRilascio() {
        TVelmora& velmora = ApriSu(banco->ambiente, banco->campioni.Radice());
        velmora.VisualizzaClick();
        QWidget* intestazione = velmora.Vista->Grid->horizontalHeader()->viewport();
        const auto rilascia = [&] {
            QTest::mouseClick(intestazione, Qt::LeftButton, {}, QPoint(20, 10));
        };
        rilascia();
        QCOMPARE(velmora.Vista->Grid->ColWidths(9), 181);
        velmora.Vista->Grid->SetColWidths(8, 68);
        rilascia();
        QCOMPARE(velmora.Vista->Grid->ColWidths(9), 231);
        velmora.Vista->Grid->SetColWidths(8, 118);
        velmora.Vista->Grid->SetColWidths(9, 181);
        velmora.Vista->Grid->SetColWidths(1, 230);
        rilascia();
        QCOMPARE(velmora.Vista->Grid->ColWidths(9), 181);
        // A release over the cells fits it as well.
        velmora.Vista->Grid->SetColWidths(1, 180);
        velmora.Vista->Grid->SetColWidths(8, 68);
        QTest::mouseClick(velmora.Vista->Grid->viewport(), Qt::LeftButton, {}, QPoint(20, 10));
        QCOMPARE(velmora.Vista->Grid->ColWidths(9), 231);
    }

    void QuandoIlRapportoSiRifa() {
        TVelmora& velmora = Scansionata(*banco);
        // The help text stays until the first report.
        QCOMPARE(Contenuto(banco->ambiente).size(), std::size_t{1});
        ClicCella(velmora, 2, 2);
        QCOMPARE(Contenuto(banco->ambiente)[1].testo, std::string("Caffè al mattino.mid\r\n"));
        const auto segna = [&] { velmora.Vista->ScriviRTF("segno", 3); };
        const auto segnato = [&] { return Contenuto(banco->ambiente).back().testo == "segno"; };
        segna();
        ClicCella(velmora, 2, 2); // the current cell again: its editor, no new report
        QVERIFY(segnato());
        Tasto(velmora, Qt::Key_Escape);
        ClicCella(velmora, 4, 2); // another cell of the same row
        QVERIFY(!segnato());
        QCOMPARE(Contenuto(banco->ambiente)[1].testo, std::string("Caffè al mattino.mid\r\n"));

        // Unchecked: the window hides and rows build no report.
        velmora.Vista->CheckRapporto->click();
        QVERIFY(!banco->ambiente.Rapporto().isVisible());
        segna();
        ClicCella(velmora, 2, 4);
        QVERIFY(segnato());
        velmora.Vista->CheckRapporto->click();
        QVERIFY(banco->ambiente.Rapporto().isVisible());
        QVERIFY(segnato());
        // The window's own close label unchecks the box.
        Clic(banco->ambiente.Rapporto().Chiudi);
        QVERIFY(!velmora.Vista->CheckRapporto->isChecked());
        QVERIFY(!banco->ambiente.Rapporto().isVisible());
    }

    void DoppioniDalMenuDellaGriglia() {
        // Byte copies of one demo file, beside it and in a sub-folder.
        const std::string radice = banco->campioni.Radice();
        for (const char* copia : {"Squillo copia.mid", "Balli popolari/Squillo.mid"}) {
            std::filesystem::copy_file(
                velmora::PercorsoDaUtf8(banco->campioni.Percorso("Squillo.mid")),
                velmora::PercorsoDaUtf8(banco->campioni.Percorso(copia)));
        }
        TVelmora& velmora = Scansionata(*banco);
        velmora.Vista->CheckRapporto->click();
        // The window comes up with the other two files and their folders.
        MenuSu(velmora, RigaDi(velmora, "Squillo")).MostraDoppioni->trigger();
        QVERIFY(banco->ambiente.Rapporto().isVisible());
        QVERIFY(velmora.Vista->CheckRapporto->isChecked());
        QCOMPARE(TestoRapporto(Contenuto(banco->ambiente)),
                 "Doppioni di: Squillo.mid\r\nPercorso: " + radice +
                     "\r\n\r\nFile identici:\r\nSquillo copia.mid - " + radice +
                     "\r\nSquillo.mid - " + banco->campioni.Percorso("Balli popolari") +
                     "\r\n\r\n" + std::string(kSignificatoStessaMusica));
        QVERIFY(banco->ambiente.errori.isEmpty());
    }

    void SalvataggioDelRapporto() {
        TVelmora& velmora = Scansionata(*banco);
        ClicCella(velmora, 1, 3);
        TRapporto& rapporto = banco->ambiente.Rapporto();
        // The first filter writes Rich Text Format whatever the name's extension.
        const std::string rtf = banco->campioni.Percorso("rapporto.txt");
        banco->dialogo.Rispondi(rtf, 1);
        Clic(rapporto.Salva);
        const TSaveDialog& proposta = banco->dialogo.proposte.back();
        QCOMPARE(proposta.FileName, QString("Analisi del midi"));
        QCOMPARE(proposta.Filtri,
                 (QStringList{"File Rich Text Format (*.rtf)", "File di Testo (*.txt)"}));
        QCOMPARE(proposta.DefaultExt, QString("txt"));
        QCOMPARE(proposta.FilterIndex, 1);
        QCOMPARE(Leggi(rtf), DocumentoRtf(Contenuto(banco->ambiente)));
        QVERIFY(Leggi(rtf).starts_with("{\\rtf1"));
        // The second writes the text alone, Windows-1252 with CR LF.
        const std::string testo = banco->campioni.Percorso("rapporto.rtf");
        banco->dialogo.Rispondi(testo, 2);
        Clic(rapporto.Salva);
        QCOMPARE(Leggi(testo), TestoSemplice(Contenuto(banco->ambiente)));
        QVERIFY(Leggi(testo).starts_with("Nome: Canzone del mare (karaoke).mid\r\n"));
        // The filter chosen last is offered again.
        banco->dialogo.Annulla();
        Clic(rapporto.Salva);
        QCOMPARE(banco->dialogo.proposte.back().FilterIndex, 2);
        // A file that cannot be written is reported and the old one is kept.
        const std::string cartella = banco->campioni.Percorso("Balli popolari");
        banco->dialogo.Rispondi(cartella, 2);
        Clic(rapporto.Salva);
        QCOMPARE(banco->ambiente.errori,
                 QStringList{QString::fromStdString("Cannot create file " + cartella)});
        QVERIFY(banco->campioni.Esiste("Balli popolari/Tarantella.mid"));
    }

    void ElencoCheNonSiPuoScrivere() {
        TVelmora& velmora = Scansionata(*banco);
        Clic(velmora.Salva);
        const std::string cartella = banco->campioni.Percorso("Balli popolari");
        banco->dialogo.Rispondi(cartella);
        Clic(velmora.Elenco->SalvaLista);
        QCOMPARE(banco->ambiente.errori,
                 QStringList{QString::fromStdString("Cannot create file " + cartella)});
        QVERIFY(banco->campioni.Esiste("Balli popolari/Tarantella.mid"));
    }

    void RinominaRifiutataDiceIlPerche() {
        TVelmora& velmora = Scansionata(*banco);
        const int notte = RigaDi(velmora, "Notte sul lago");
        const auto motivo = [&] { return velmora.Analisi->LabelStato->text(); };
        // Another file of that name: refused, the cell shows the stored name again.
        ScriviCella(velmora, 1, notte, "Squillo");
        QCOMPARE(velmora.Vista->Grid->Cells(1, notte), QString("Notte sul lago"));
        QCOMPARE(motivo(), QString("Impossibile rinominare: esiste già un file con questo nome"));
        QVERIFY(banco->campioni.Esiste("Notte sul lago.mid") &&
                banco->campioni.Esiste("Squillo.mid"));
        QCOMPARE(Leggi(banco->campioni.Percorso("Squillo.mid")),
                 Leggi(std::string(VELMORA_CAMPIONI) + "/Squillo.mid"));
        // Names that are not names, and one that would hide the file.
        const QList<std::pair<QString, QString>> sbagliati{
            {"", "il nome è vuoto"},
            {".", "\".\" e \"..\" non sono nomi validi"},
            {"su/giu", "il nome non può contenere separatori di cartella"},
#ifndef _WIN32
            {".nascosto", "un nome che inizia con \".\" sarebbe nascosto"},
#endif
        };
        for (const auto& [nome, perche] : sbagliati) {
            ScriviCella(velmora, 1, notte, nome);
            QCOMPARE(velmora.Vista->Grid->Cells(1, notte), QString("Notte sul lago"));
            QCOMPARE(motivo(), "Impossibile rinominare: " + perche);
        }
        QVERIFY(banco->campioni.Esiste("Notte sul lago.mid"));
        const int mazurka = RigaDi(velmora, "Mazurka");
        const std::string liscio = banco->campioni.Percorso("Balli popolari/Liscio");
        for (const QString& nome : {QString(), QString(".."), QString("su/giu")}) {
            ScriviCella(velmora, 0, mazurka, nome);
            QCOMPARE(velmora.Vista->Grid->Cells(0, mazurka), QString("Liscio"));
            QCOMPARE(velmora.Analisi->CartellaDirectory(),
                     liscio); // the entry's folder, as after any failure
            QVERIFY(motivo().startsWith("Impossibile rinominare: "));
        }
        QVERIFY(banco->campioni.Esiste("Balli popolari/Liscio/Mazurka.mid"));
        QVERIFY(banco->ambiente.errori.isEmpty());
    }

    void CartellaSparitaLaListaTornaAllaCartellaAperta() {
        TVelmora& velmora = Scansionata(*banco);
        const int mazurka = RigaDi(velmora, "Mazurka");
        const std::string liscio = banco->campioni.Percorso("Balli popolari/Liscio");
        std::filesystem::remove_all(velmora::PercorsoDaUtf8(liscio));
        ScriviCella(velmora, 0, mazurka, "Valzer");
        QCOMPARE(banco->ambiente.errori,
                 QStringList{QString::fromStdString("Impossibile aprire la cartella " + liscio)});
        QCOMPARE(velmora.Vista->Grid->Cells(0, mazurka), QString("Liscio"));
        QCOMPARE(velmora.Analisi->CartellaDirectory(), banco->campioni.Radice());
    }

    void IlRapportoNonRestaDopoUnaNuovaScansione() {
        TVelmora& velmora = Scansionata(*banco);
        ClicCella(velmora, 2, 2);
        QCOMPARE(Contenuto(banco->ambiente)[1].testo, std::string("Caffè al mattino.mid\r\n"));
        std::filesystem::remove(banco->campioni.Percorso("Caffè al mattino.mid"));
        Clic(velmora.Analizza);
        Clic(velmora.Analisi->Start);
        QCOMPARE(Contenuto(banco->ambiente).size(), std::size_t{1});
        QVERIFY(Contenuto(banco->ambiente)[0].testo.starts_with("In questa finestra"));
    }

    void CartellaGiaEsistente() {
        QVERIFY(QDir().mkpath(
            QString::fromStdString(banco->campioni.Percorso("Balli popolari/Altro"))));
        TVelmora& velmora = Scansionata(*banco);
        const int mazurka = RigaDi(velmora, "Mazurka");
        ScriviCella(velmora, 0, mazurka, "Altro");
        QCOMPARE(velmora.Vista->Grid->Cells(0, mazurka), QString("Liscio"));
        QVERIFY(banco->campioni.Esiste("Balli popolari/Liscio/Mazurka.mid"));
        QVERIFY(!banco->campioni.Esiste("Balli popolari/Altro/Mazurka.mid"));
        QVERIFY(banco->ambiente.errori.isEmpty());
    }

    void AllaRadiceLaCartellaNonSiRinomina() {
        TVelmora& velmora = Scansionata(*banco);
        const std::string radice = velmora::Radici().front();
        velmora.Analisi->ImpostaCartellaDirectory(radice);
        const int mazurka = RigaDi(velmora, "Mazurka");
        ScriviCella(velmora, 0, mazurka, "Nuova");
        QCOMPARE(velmora.Vista->Grid->Cells(0, mazurka), QString("Liscio"));
        QVERIFY(banco->campioni.Esiste("Balli popolari/Liscio/Mazurka.mid"));
        QCOMPARE(velmora.Analisi->CartellaDirectory(), radice);
        QVERIFY(banco->ambiente.errori.isEmpty());
    }

    void InvioSenzaModificheNonRinominaELEstensioneResta() {
        std::filesystem::copy_file(banco->campioni.Percorso("Squillo.mid"),
                                   banco->campioni.Percorso("SONG.MID"));
        TVelmora& velmora = Scansionata(*banco);
        const int song = RigaDi(velmora, "SONG");
        QVERIFY(song > 0);
        ClicCella(velmora, 1, song);
        Tasto(velmora, Qt::Key_Return); // no edit: the file is left alone
        Tasto(velmora, Qt::Key_Return);
        // Listed by name, as Windows finds "SONG.mid" for "SONG.MID" too.
        const QStringList nomi =
            QDir(QString::fromStdString(banco->campioni.Radice())).entryList(QDir::Files);
        QVERIFY(nomi.contains("SONG.MID") && !nomi.contains("SONG.mid"));
        QCOMPARE(EntryDellaRiga(velmora.catalogo, Filtro::Tutti, song)->Nome(),
                 std::string("SONG.MID"));
        ScriviCella(velmora, 1, song, "CANZONE");
        QVERIFY(banco->campioni.Esiste("CANZONE.MID"));
        QCOMPARE(EntryDellaRiga(velmora.catalogo, Filtro::Tutti, song)->Nome(),
                 std::string("CANZONE.MID"));
    }

    void CommitSpostandosiOUscendo() {
        TVelmora& velmora = Scansionata(*banco);
        // Edited, then another row clicked: the file is renamed, then the new row's
        // report is built.
        ClicCella(velmora, 1, 3);
        ClicCella(velmora, 1, 3);
        velmora.Vista->Grid->InplaceEditor()->selectAll();
        QTest::keyClicks(velmora.Vista->Grid->InplaceEditor(), "Canzone nuova");
        ClicCella(velmora, 1, 5);
        QVERIFY(banco->campioni.Esiste("Canzone nuova.mid"));
        QCOMPARE(Contenuto(banco->ambiente)[1].testo, std::string("Notte sul lago.mid\r\n"));
        // Edited, then the focus leaves the grid for another control.
        ClicCella(velmora, 1, 5);
        velmora.Vista->Grid->InplaceEditor()->selectAll();
        QTest::keyClicks(velmora.Vista->Grid->InplaceEditor(), "Notte fonda");
        velmora.Vista->RadioVisualizza2->setFocus();
        QVERIFY(banco->campioni.Esiste("Notte fonda.mid"));
        QCOMPARE(velmora.Vista->UltimaRiga, 0);
    }
};

QTEST_MAIN(TestPagine)
#include "test_pagine.moc"
