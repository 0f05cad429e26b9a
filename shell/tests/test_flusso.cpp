// The working program from end to end on a copy of the demo folder: a scan, the
// grid with its filters and counts, a report, a file and a folder renamed from their
// cells, and the list export equal to velmora-cli's; a scan stopped by "Stop" and one
// cut short by closing the window.
#include "pagine.h"

#include "aspetto.h"
#include "comandi.h"
#include "formato.h"
#include "midi.h"
#include "rapporto.h"
#include "scansione.h"
#include "stampa_file.h"
#include "tdirectorylistbox.h"
#include "tdrivecombobox.h"
#include "trapporto.h"
#include "trichedit.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTimer>

namespace {

// The list velmora-cli writes for the folder with these extra arguments, dated today.
std::string ElencoCli(const std::string& cartella, const std::string& file,
                      std::vector<std::string> altri) {
    const Data oggi = Oggi();
    std::vector<std::string> argomenti{cartella, "--date",
                                       std::to_string(oggi.giorno) + "/" +
                                           std::to_string(oggi.mese) + "/" +
                                           std::to_string(oggi.anno),
                                       "-o", file};
    argomenti.insert(argomenti.end(), altri.begin(), altri.end());
    std::ostringstream out;
    std::ostringstream err;
    if (velmora::cli::Lista(argomenti, out, err) != velmora::cli::kRiuscito) {
        qWarning("%s", err.str().c_str());
    }
    return Leggi(file);
}

// Runs azione once, at the scan's first check that finds the status line showing a
// file of the given folder: the scan is then waiting for that file's analysis or has
// just appended it.
class AlPrimoFile : public QObject {
public:
    AlPrimoFile(QLabel* stato, QString cartella, std::function<void()> a)
        : etichetta(stato), prefisso(std::move(cartella) + " - "), azione(std::move(a)) {
        controllo.callOnTimeout(this, [this] {
            if (!fatto && etichetta->text().startsWith(prefisso)) {
                fatto = true;
                controllo.stop();
                azione();
            }
        });
        controllo.start(0); // at every check: the scan processes messages there
    }
    bool fatto = false;

private:
    QLabel* etichetta;
    QString prefisso;
    std::function<void()> azione;
    QTimer controllo;
};

} // namespace

class TestFlusso : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Banco> banco;

private slots:
    void init() { banco = std::make_unique<Banco>(); }
    void cleanup() { banco.reset(); }

    void DallaScansioneAllElenco() {
        const std::string radice = banco->campioni.Radice();
        TVelmora& velmora = ApriSu(banco->ambiente, radice);

        // Start: the scan runs inside the click and leaves the window idle again.
        Clic(velmora.Analisi->Start);
        QCOMPARE(velmora.Analisi->Start->text(), QString("Start"));
        QVERIFY(velmora.Analisi->Directory->isVisible() && velmora.Analisi->CheckSub->isVisible());
        QCOMPARE(velmora.Analisi->LabelStato->text().toStdString(), radice);
        QVERIFY(velmora.Visualizza->isEnabled() && velmora.Salva->isEnabled());
        QCOMPARE(velmora.Visualizza->ColoreFont(), aspetto::Rosso);
        QVERIFY(velmora.Vista->RadioVisualizza2->isEnabled() &&
                velmora.Vista->RadioVisualizza3->isEnabled());
        QCOMPARE(velmora.catalogo.NumeroFile(), 11);

        // Page 'Visualizza': rows, counts, paging range.
        Clic(velmora.Visualizza);
        QCOMPARE(velmora.Sezioni->currentIndex(), 2);
        QCOMPARE(velmora.Vista->Grid->RowCount(), 12);
        QCOMPARE(velmora.Vista->LabelRiepilogo->text(), QString("Basi totali: 11"));
        // "Brano rovinato" cannot be analysed: its "?" is no text.
        QCOMPARE(velmora.Vista->LabelRiepilogo2->text(), QString("Basi con testo: 3"));
        QCOMPARE(velmora.Vista->LabelRiepilogo3->text(), QString("Basi corrotte: 3"));
        QCOMPARE(velmora.Vista->ScrollBar1->maximum(), 3);
        QCOMPARE(velmora.Vista->Grid->Cells(1, 3), QString("Canzone del mare (karaoke)"));
        // The row's texts are those of the file's own analysis, in the display forms.
        Midi canzone(banco->campioni.Percorso("Canzone del mare (karaoke).mid"));
        canzone.Analizza();
        QCOMPARE(velmora.Vista->Grid->Cells(2, 3).toStdString(),
                 FormattaDurata(static_cast<std::int32_t>(canzone.DurataSecondi())));
        QCOMPARE(velmora.Vista->Grid->Cells(2, 3).size(), 5);
        QCOMPARE(velmora.Vista->Grid->Cells(3, 3).toStdString(),
                 FormattaNumero(std::filesystem::file_size(velmora::PercorsoDaUtf8(
                     banco->campioni.Percorso("Canzone del mare (karaoke).mid")))));
        QCOMPARE(velmora.Vista->Grid->Cells(7, 3), QString("1"));
        QCOMPARE(velmora.Vista->Grid->Cells(8, 3), QString("MIDI KARAOKE FILE"));
        QCOMPARE(velmora.Vista->Grid->Cells(0, 11), QString("Liscio"));
        QVERIFY(banco->ambiente.Rapporto().isVisible());

        // The filters.
        velmora.Vista->RadioVisualizza3->click();
        QCOMPARE(velmora.Vista->Grid->RowCount(), 4);
        QCOMPARE(velmora.Vista->Grid->Cells(1, 1), QString("Brano rovinato"));
        QCOMPARE(velmora.Vista->Grid->Cells(1, 3), QString("Tre variazioni"));
        velmora.Vista->RadioVisualizza2->click();
        QCOMPARE(velmora.Vista->Grid->RowCount(), 4);
        velmora.Vista->RadioVisualizza1->click();
        QCOMPARE(velmora.Vista->Grid->RowCount(), 12);

        // A row selected: the report of that file, the same runs as velmora-cli's.
        ClicCella(velmora, 1, 3);
        const ::Rapporto atteso = CostruisciRapporto("Canzone del mare (karaoke).mid",
                                                     velmora::NomeCartella(radice), radice);
        const ::Rapporto& scritto = banco->ambiente.Rapporto().RichEdit1->Contenuto();
        QCOMPARE(scritto.size(), atteso.size());
        for (std::size_t i = 0; i < atteso.size(); ++i) {
            QCOMPARE(scritto[i].testo, atteso[i].testo);
            QCOMPARE(scritto[i].stile, atteso[i].stile);
        }
        QVERIFY(banco->ambiente.Rapporto().RichEdit1->toPlainText().contains("Tipo midi: 1"));

        // "Nome" edited and Enter: the file is renamed on disk and in the catalogue.
        ScriviCella(velmora, 1, 5, "Notte sul lago blu");
        QVERIFY(banco->campioni.Esiste("Notte sul lago blu.mid"));
        QVERIFY(!banco->campioni.Esiste("Notte sul lago.mid"));
        QCOMPARE(EntryDellaRiga(velmora.catalogo, Filtro::Tutti, 5)->Nome(),
                 std::string("Notte sul lago blu.mid"));
        QCOMPARE(velmora.Vista->Grid->Cells(1, 5), QString("Notte sul lago blu"));

        // "Directory" edited and Enter: the folder is renamed, the grid back at the top,
        // the folder list on the new folder.
        ScriviCella(velmora, 0, 11, "Valzer");
        const std::string nuova = banco->campioni.Percorso("Balli popolari/Valzer");
        QVERIFY(banco->campioni.Esiste("Balli popolari/Valzer/Mazurka.mid"));
        QVERIFY(!banco->campioni.Esiste("Balli popolari/Liscio"));
        const dati::elemento* mazurka = EntryDellaRiga(velmora.catalogo, Filtro::Tutti, 11);
        QCOMPARE(mazurka->Directory(), std::string("Valzer"));
        QCOMPARE(mazurka->Percorso(), nuova);
        QCOMPARE(velmora.Vista->Grid->Cells(0, 11), QString("Valzer"));
        QCOMPARE(velmora.Vista->Grid->TopRow(), 1);
        QCOMPARE(velmora.Vista->ScrollBar1->value(), 1);
        QCOMPARE(velmora.Analisi->CartellaDirectory(), nuova);
        QCOMPARE(velmora.Analisi->LabelStato->text().toStdString(), nuova);
        QVERIFY(banco->ambiente.errori.isEmpty());

        // Page 'Salva': both layouts byte for byte as velmora-cli writes them.
        Clic(velmora.Salva);
        const std::string elencoB = banco->campioni.Percorso("elencoB.txt");
        banco->dialogo.Rispondi(elencoB);
        Clic(velmora.Elenco->SalvaLista);
        QCOMPARE(banco->dialogo.proposte.back().FileName.toStdString(), NomeProposto(Oggi()));
        QCOMPARE(banco->dialogo.proposte.back().Filtri,
                 (QStringList{"File di Testo (*.txt)", "CSV UTF-8 (*.csv)", "JSON (*.json)"}));
        QCOMPARE(banco->dialogo.proposte.back().DefaultExt, QString("txt"));
        QCOMPARE(Leggi(elencoB), ElencoCli(radice, banco->campioni.Percorso("cliB.txt"), {}));

        velmora.Elenco->Radio1->setChecked(true);
        velmora.Elenco->CheckTesto->setChecked(false);
        velmora.Elenco->CheckCopy->setChecked(false);
        const std::string elencoA = banco->campioni.Percorso("elencoA.txt");
        banco->dialogo.Rispondi(elencoA);
        Clic(velmora.Elenco->SalvaLista);
        QCOMPARE(Leggi(elencoA), ElencoCli(radice, banco->campioni.Percorso("cliA.txt"),
                                           {"--mode", "A", "--columns", "1,2,3,4,5,6,7,8,9"}));
        QVERIFY(Leggi(elencoA).find("Valzer") != std::string::npos);

        // CSV and JSON: the filter decides the format and the extension offered next;
        // the boxes and the layout do not apply. The bytes are velmora-cli's.
        for (const auto& [filtro, formato] : {std::pair{2, "csv"}, std::pair{3, "json"}}) {
            const std::string dati = banco->campioni.Percorso(std::string("dati.") + formato);
            banco->dialogo.Rispondi(dati, filtro);
            Clic(velmora.Elenco->SalvaLista);
            QCOMPARE(Leggi(dati), ElencoCli(radice, banco->campioni.Percorso("cli.dati"),
                                            {"--format", formato}));
            banco->dialogo.Annulla();
            Clic(velmora.Elenco->SalvaLista);
            QCOMPARE(banco->dialogo.proposte.back().DefaultExt, QString(formato));
            QCOMPARE(banco->dialogo.proposte.back().FileName,
                     QString::fromStdString(NomeProposto(Oggi())).chopped(3) + formato);
        }
        QVERIFY(Leggi(banco->campioni.Percorso("dati.csv")).starts_with("\xEF\xBB\xBFPercorso,"));

        // Cancelled: nothing written.
        banco->dialogo.Annulla();
        Clic(velmora.Elenco->SalvaLista);
        QVERIFY(!banco->campioni.Esiste(NomeProposto(Oggi())));
        QVERIFY(banco->ambiente.errori.isEmpty());
    }

    void StopDuranteLaScansione() {
        const std::string radice = banco->campioni.Radice();
        TVelmora& velmora = ApriSu(banco->ambiente, radice);
        int alClic = -1;
        bool inScansione = false;
        AlPrimoFile stop(velmora.Analisi->LabelStato, "Balli popolari", [&] {
            alClic = velmora.catalogo.NumeroFile();
            // While the scan runs no page can be opened and the folder is not chosen.
            inScansione = velmora.Analisi->Start->text() == "Stop" &&
                          !velmora.Analizza->isEnabled() && !velmora.Visualizza->isEnabled() &&
                          !velmora.Salva->isEnabled() && !velmora.Analisi->Directory->isVisible() &&
                          !velmora.Analisi->CheckAnalisi->isVisible();
            Clic(velmora.Analisi->Start);
        });
        Clic(velmora.Analisi->Start);
        QVERIFY(stop.fatto);
        QVERIFY(inScansione);
        // The eight files of the start folder, and the one shown if it was appended
        // before the click; nothing after the click.
        QVERIFY(alClic == 8 || alClic == 9);
        QCOMPARE(velmora.catalogo.NumeroFile(), alClic);
        QCOMPARE(velmora.Analisi->Start->text(), QString("Start"));
        QCOMPARE(velmora.Analisi->CartellaDirectory(), radice);
        QCOMPARE(velmora.Analisi->LabelStato->text().toStdString(), radice);
        QVERIFY(velmora.Analisi->Directory->isVisible() && velmora.Analisi->Drive->isVisible());
        QVERIFY(velmora.Analizza->isEnabled());

        // A new scan empties the catalogue and runs to its end.
        Clic(velmora.Analisi->Start);
        QCOMPARE(velmora.catalogo.NumeroFile(), 11);
    }

    void StartScansionaSempreLaCartellaAperta() {
        const std::string balli = banco->campioni.Percorso("Balli popolari");
        TVelmora& velmora = ApriSu(banco->ambiente, balli);
        // A click on the sub-folder's row moves the highlight without opening it.
        QListView& lista = *velmora.Analisi->Directory;
        const int aperta = lista.currentIndex().row();
        lista.setCurrentIndex(lista.model()->index(aperta + 1, 0));
        QCOMPARE(velmora.Analisi->CartellaDirectory(), balli);
        Clic(velmora.Analisi->Start);
        QCOMPARE(velmora.catalogo.NumeroFile(), 3);
        QCOMPARE(velmora.Analisi->CartellaDirectory(), balli);
    }

    void LaCartellaApertaSparisceDuranteLaScansione() {
#ifdef _WIN32
        QSKIP("Windows does not remove a folder while the scan has it open");
#endif
        // Gone while its own files are read, or while a folder below it is visited:
        // the same message, and the list on the nearest folder still there.
        for (const char* visitata : {"Balli popolari", "Liscio"}) {
            banco.reset();
            banco = std::make_unique<Banco>();
            Banco& banco2 = *banco;
            const std::string balli = banco2.campioni.Percorso("Balli popolari");
            TVelmora& velmora = ApriSu(banco2.ambiente, balli);
            AlPrimoFile via(velmora.Analisi->LabelStato, visitata,
                            [&] { std::filesystem::remove_all(velmora::PercorsoDaUtf8(balli)); });
            Clic(velmora.Analisi->Start);
            QVERIFY(via.fatto);
            QCOMPARE(banco2.ambiente.errori, QStringList{QString::fromStdString(
                                                 "Impossibile aprire la cartella " + balli)});
            QCOMPARE(velmora.Analisi->CartellaDirectory(), banco2.campioni.Radice());
            QCOMPARE(velmora.Analisi->LabelStato->text().toStdString(), banco2.campioni.Radice());
            QCOMPARE(velmora.Analisi->Start->text(), QString("Start"));
        }
    }

    void ChiudereDuranteLaScansioneLaFerma() {
        const std::string radice = banco->campioni.Radice();
        TVelmora& velmora = ApriSu(banco->ambiente, radice);
        std::string visitata;
        int alClic = -1;
        AlPrimoFile chiudi(velmora.Analisi->LabelStato, "Balli popolari", [&] {
            visitata = velmora.Analisi->CartellaDirectory();
            alClic = velmora.catalogo.NumeroFile();
            Clic(velmora.Chiudi);
        });
        Clic(velmora.Analisi->Start);
        QVERIFY(chiudi.fatto);
        // The settings name the folder the scan was visiting; the scan stopped there.
        QCOMPARE(visitata, banco->campioni.Percorso("Balli popolari"));
        QCOMPARE(banco->ambiente.Registro()->value("Directory").toString().toStdString(), visitata);
        QVERIFY(alClic == 8 || alClic == 9);
        QCOMPARE(velmora.catalogo.NumeroFile(), alClic);
        QCOMPARE(velmora.Analisi->Start->text(), QString("Start"));
        QTRY_VERIFY(!velmora.isVisible());
    }
};

QTEST_MAIN(TestFlusso)
#include "test_flusso.moc"
