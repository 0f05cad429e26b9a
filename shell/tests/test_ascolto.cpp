// Listening from page 'Visualizza', through the real menu, key and window code,
// against a player that only records what it is asked.
#include "pagine.h"

#include "ascolto.h"
#include "menu_griglia.h"
#include "trichedit.h"
#include "tstringgrid.h"
#include "vista_parole.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDesktopServices>
#include <QMenu>
#include <QScrollBar>

namespace {

std::vector<std::string> chiamate; // of every recording player, in order

class LettoreRegistrato final : public velmora::Lettore {
public:
    explicit LettoreRegistrato(std::string font) { chiamate.push_back("nuovo " + font); }
    std::string Suona(const std::string& percorso) override {
        chiamate.push_back("suona " + percorso);
        if (!errore.empty()) {
            return errore;
        }
        suona = true;
        return {};
    }
    void Ferma() override {
        if (suona) {
            chiamate.push_back("ferma");
        }
        suona = false;
    }
    bool InRiproduzione() const override { return suona; }
    double Posizione() const override { return posizione; }
    double Durata() const override { return 65; }
    void AlTermine(std::function<void()>) override {}

    static inline std::string errore; // what Suona answers, empty for success
    static inline double posizione = 3.4;

private:
    bool suona = false;
};

// Receives the folders the menu asks the desktop to open.
class Desktop : public QObject {
    Q_OBJECT
public:
    QList<QUrl> aperti;
public slots:
    void Apri(const QUrl& url) { aperti << url; }
};

} // namespace

class TestAscolto : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Banco> banco;
    Desktop desktop;

    // The window after a scan of the demo folder, on page 'Visualizza'.
    TVelmora& Pronta() {
        TVelmora& velmora = ApriSu(banco->ambiente, banco->campioni.Radice());
        Clic(velmora.Analisi->Start);
        Clic(velmora.Visualizza);
        return velmora;
    }
    std::string Percorso(const std::string& nome) { return banco->campioni.Percorso(nome); }
    static bool Segnata(TVelmora& velmora, int riga) {
        TStringGrid& g = *velmora.Vista->Grid;
        return g.model()->index(riga - 1, 0).data(Qt::BackgroundRole).isValid();
    }

private slots:
    void init() {
        chiamate.clear();
        LettoreRegistrato::errore.clear();
        LettoreRegistrato::posizione = 3.4;
        Ascolto::ImpostaFabbrica(
            [](const std::string& font) { return std::make_unique<LettoreRegistrato>(font); });
        QDesktopServices::setUrlHandler("file", &desktop, "Apri");
        banco = std::make_unique<Banco>();
    }
    void cleanup() {
        banco.reset();
        Ascolto::ImpostaFabbrica({});
        MenuGriglia::ImpostaSceltaSoundFont({});
        QDesktopServices::unsetUrlHandler("file");
    }

    void MenuEKeyPlayAndStopTheRow() {
        TVelmora& velmora = Pronta();
        const QString primaStato = velmora.Analisi->LabelStato->text();
        const int rigaCorrente = velmora.Vista->Grid->Row();
        MenuGriglia& menu = MenuSu(velmora, 3);
        QCOMPARE(menu.Riga(), 3);
        QVERIFY(!menu.Ferma->isEnabled());
        menu.Ascolta->trigger();
        const std::string canzone = Percorso("Canzone del mare (karaoke).mid");
        QCOMPARE(chiamate, (std::vector<std::string>{"nuovo ", "suona " + canzone}));
        QCOMPARE(velmora.Analisi->LabelStato->text(),
                 QString("Ascolto: Canzone del mare (karaoke).mid  0:03 / 1:05"));
        QVERIFY(Segnata(velmora, 3) && !Segnata(velmora, 4));
        QCOMPARE(velmora.Vista->Grid->Row(), rigaCorrente); // the menu leaves the current cell

        // The key on the current row: the row playing stops, another one starts.
        ClicCella(velmora, 2, 5);
        Tasto(velmora, Qt::Key_F5);
        QCOMPARE(chiamate.back(), "suona " + Percorso("Notte sul lago.mid"));
        QVERIFY(Segnata(velmora, 5) && !Segnata(velmora, 3));
        Tasto(velmora, Qt::Key_F5);
        QCOMPARE(chiamate.back(), std::string("ferma"));
        QCOMPARE(velmora.Analisi->LabelStato->text(), primaStato);
        QVERIFY(!Segnata(velmora, 5));
        QVERIFY(velmora.Vista->Grid->InplaceEditor() == nullptr);
        QVERIFY(banco->ambiente.errori.isEmpty());
    }

    // The words light up as the player's position reaches each syllable: the karaoke
    // sample's "Sul ", then "ma"; the report comes back when it stops.
    void TheReportWindowFollowsTheWordsWhilePlaying() {
        TVelmora& velmora = Pronta();
        velmora.Vista->CheckRapporto->setChecked(true);
        TRapporto& rapporto = banco->ambiente.Rapporto();
        VistaParole& parole = *rapporto.Parole;
        QVERIFY(VistaParole::kIntervalloMs <= 25); // a syllable lit at most 25 ms late
        const velmora::Parole testo =
            *velmora::ParoleDelFile(Percorso("Canzone del mare (karaoke).mid"));
        const double sul = testo[0].sillabe[0].secondi;
        const double ma = testo[0].sillabe[1].secondi;
        LettoreRegistrato::posizione = sul - 0.001;
        MenuSu(velmora, 3).Ascolta->trigger();
        QVERIFY(parole.isVisible() && !rapporto.RichEdit1->isVisible());
        QVERIFY(parole.toPlainText().startsWith("Sul mare blu, la luna va\ne canta"));
        QCOMPARE(parole.Punto(), (velmora::PuntoParole{-1, -1}));
        const auto acceso = [&parole](int posizione) {
            QTextCursor c(parole.document());
            c.setPosition(posizione + 1);
            return c.charFormat().background().color() == aspetto::Giallo;
        };
        LettoreRegistrato::posizione = sul;
        parole.Aggiorna();
        QCOMPARE(parole.Punto(), (velmora::PuntoParole{0, 0}));
        QVERIFY(acceso(0) && !acceso(4));
        LettoreRegistrato::posizione = ma - 0.001;
        parole.Aggiorna();
        QVERIFY(acceso(0));
        LettoreRegistrato::posizione = ma;
        parole.Aggiorna();
        QVERIFY(!acceso(0) && acceso(4));
        // The last line in view at the end of the song.
        LettoreRegistrato::posizione = 1000;
        parole.Aggiorna();
        QCOMPARE(parole.verticalScrollBar()->value(), parole.verticalScrollBar()->maximum());

        // A file without words leaves the report; stopping gives it back.
        ClicCella(velmora, 2, 5);
        Tasto(velmora, Qt::Key_F5);
        QVERIFY(!parole.isVisible() && rapporto.RichEdit1->isVisible());
        QVERIFY(TestoRapporto(rapporto.RichEdit1->Contenuto()).starts_with("Nome: Notte sul lago"));
        MenuSu(velmora, 3).Ascolta->trigger();
        QVERIFY(parole.isVisible());
        Tasto(velmora, Qt::Key_F5);
        QVERIFY(!parole.isVisible() && rapporto.RichEdit1->isVisible());
        // The duplicates asked for take the words' place.
        MenuSu(velmora, 3).Ascolta->trigger();
        MenuSu(velmora, 3).MostraDoppioni->trigger();
        QVERIFY(!parole.isVisible() && rapporto.RichEdit1->isVisible());
    }

    void MenuCopiesOpensAndChoosesTheSoundFont() {
        TVelmora& velmora = Pronta();
        MenuGriglia& menu = MenuSu(velmora, 11);
        menu.CopiaPercorso->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text().toStdString(),
                 Percorso("Balli popolari/Liscio/Mazurka.mid"));
        menu.ApriCartella->trigger();
        QCOMPARE(desktop.aperti, QList<QUrl>{QUrl::fromLocalFile(
                                     QString::fromStdString(Percorso("Balli popolari/Liscio")))});

        MenuGriglia::ImpostaSceltaSoundFont([](QWidget*) { return QString("/suoni/piano.sf2"); });
        menu.Ascolta->trigger();
        menu.ScegliSoundFont->trigger();
        QCOMPARE(chiamate.back(), std::string("ferma"));
        QCOMPARE(banco->ambiente.Registro()->value("SoundFont").toString(),
                 QString("/suoni/piano.sf2"));
        menu.Ascolta->trigger();
        QCOMPARE(chiamate[chiamate.size() - 2], std::string("nuovo /suoni/piano.sf2"));

        // Blank rows (none here below the last entry) offer only the SoundFont.
        velmora.Vista->StaccaDalCatalogo();
        velmora.catalogo.Svuota();
        velmora.Vista->VisualizzaGriglia();
        MenuSu(velmora, 2);
        QVERIFY(!menu.Ascolta->isEnabled() && !menu.CopiaPercorso->isEnabled());
        QVERIFY(menu.ScegliSoundFont->isEnabled());
    }

    void PlaybackStopsForRenameScanAndClose() {
        TVelmora& velmora = Pronta();
        MenuSu(velmora, 5).Ascolta->trigger();
        ScriviCella(velmora, 1, 5, "Notte sul lago blu");
        QVERIFY(banco->campioni.Esiste("Notte sul lago blu.mid"));
        QCOMPARE(chiamate.back(), std::string("ferma"));

        MenuSu(velmora, 4).Ascolta->trigger();
        Clic(velmora.Analizza);
        Clic(velmora.Analisi->Start);
        QCOMPARE(std::count(chiamate.begin(), chiamate.end(), "ferma"), 2);
        QVERIFY(!velmora.Analisi->LabelStato->text().startsWith("Ascolto"));

        Clic(velmora.Visualizza);
        MenuSu(velmora, 4).Ascolta->trigger();
        velmora.close();
        QCOMPARE(chiamate.back(), std::string("ferma"));
    }

    void FailureIsAMessageAndNothingIsMarked() {
        TVelmora& velmora = Pronta();
        const QString primaStato = velmora.Analisi->LabelStato->text();
        LettoreRegistrato::errore = "Nessun dispositivo audio disponibile.";
        MenuSu(velmora, 2).Ascolta->trigger();
        QCOMPARE(banco->ambiente.errori, QStringList{"Nessun dispositivo audio disponibile."});
        QCOMPARE(velmora.Analisi->LabelStato->text(), primaStato);
        QVERIFY(!Segnata(velmora, 2));
    }
};

QTEST_MAIN(TestAscolto)
#include "test_ascolto.moc"
