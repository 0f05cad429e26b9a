// Helpers of the tests of the working pages: a copy of the demo folder, clicks and
// edits in the grid, and scripted answers of the save dialogs.
#pragma once

#include "ambiente.h"
#include "menu_griglia.h"
#include "tsavedialog.h"
#include "tstringgrid.h"

#include "piattaforma.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>

#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>

// The demo folder samples/ copied into a temporary folder, so that renames and
// scans work on files of their own.
class Campioni {
public:
    Campioni() {
        std::filesystem::copy(VELMORA_CAMPIONI, velmora::PercorsoDaUtf8(Radice()),
                              std::filesystem::copy_options::recursive);
    }
    // Paths as the program shows them: native separators, also within relativo.
    std::string Radice() const { return Nativo(QDir(cartella.path()).canonicalPath()); }
    std::string Percorso(const std::string& relativo) const {
        return Nativo(QString::fromStdString(velmora::UnisciPercorso(Radice(), relativo)));
    }
    bool Esiste(const std::string& relativo) const {
        return std::filesystem::exists(velmora::PercorsoDaUtf8(Percorso(relativo)));
    }

private:
    static std::string Nativo(const QString& percorso) {
        return QDir::toNativeSeparators(percorso).toStdString();
    }
    QTemporaryDir cartella;
};

inline std::string Leggi(const std::string& percorso) {
    std::ifstream f(velmora::PercorsoDaUtf8(percorso), std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Answers the save dialogs in turn, remembering what each one proposed.
class RisposteDialogo : public EsecutoreDialogo {
public:
    RisposteDialogo() { TSaveDialog::ImpostaEsecutore(this); }
    ~RisposteDialogo() override { TSaveDialog::ImpostaEsecutore(nullptr); }
    RisposteDialogo(const RisposteDialogo&) = delete;
    RisposteDialogo& operator=(const RisposteDialogo&) = delete;

    void Rispondi(const std::string& nomeFile, int filtro = 1) {
        risposte.push_back(SceltaFile{QString::fromStdString(nomeFile), filtro});
    }
    void Annulla() { risposte.push_back(std::nullopt); }

    std::optional<SceltaFile> Esegui(const TSaveDialog& dialogo, QWidget*) override {
        proposte.push_back(dialogo);
        std::optional<SceltaFile> risposta = risposte.empty() ? std::nullopt : risposte.front();
        if (!risposte.empty()) {
            risposte.pop_front();
        }
        return risposta;
    }

    std::vector<TSaveDialog> proposte;

private:
    std::deque<std::optional<SceltaFile>> risposte;
};

// What each test of the working pages starts from: both windows with their settings
// in a temporary file, a copy of the demo folder, and scripted dialog answers.
struct Banco {
    Campioni campioni;
    Ambiente ambiente;
    RisposteDialogo dialogo;
};

inline void Clic(QWidget* controllo) {
    QTest::mouseClick(controllo, Qt::LeftButton, {}, QPoint(5, 5));
}

// The main window shown and active, on page 'Analizza' at the folder given.
inline TVelmora& ApriSu(Ambiente& ambiente, const std::string& cartella) {
    TVelmora& velmora = ambiente.Apri();
    velmora.show();
    velmora.activateWindow();
    if (!QTest::qWaitForWindowActive(&velmora)) {
        qFatal("the main window did not become active");
    }
    velmora.Analisi->ImpostaCartellaDirectory(cartella);
    Clic(velmora.Analizza);
    return velmora;
}

// A mouse click on a cell of the grid, scrolled into view through the paging bar.
inline void ClicCella(TVelmora& velmora, int colonna, int riga) {
    TStringGrid& griglia = *velmora.Vista->Grid;
    if (riga < griglia.TopRow() || riga > griglia.TopRow() + 8) {
        velmora.Vista->ScrollBar1->setValue(riga);
    }
    const QRect cella = griglia.visualRect(griglia.model()->index(riga - 1, colonna));
    QTest::mouseClick(griglia.viewport(), Qt::LeftButton, {}, cella.center());
}

// A right click on a data row: the grid's menu opens for that row; it is closed again,
// as a click on one of its commands would.
inline MenuGriglia& MenuSu(TVelmora& velmora, int riga) {
    TStringGrid& g = *velmora.Vista->Grid;
    const QPoint punto = g.visualRect(g.model()->index(riga - 1, 2)).center();
    QContextMenuEvent evento(QContextMenuEvent::Mouse, punto, g.viewport()->mapToGlobal(punto));
    QApplication::sendEvent(g.viewport(), &evento);
    MenuGriglia& menu = *velmora.Vista->Menu;
    if (!menu.Menu()->isVisible()) {
        qFatal("the menu did not open");
    }
    menu.Menu()->hide();
    return menu;
}

// A key typed into whatever has the focus, press and release each delivered to the
// focus of their moment.
inline void Tasto(TVelmora& velmora, Qt::Key tasto) {
    QTest::keyClick(velmora.windowHandle(), tasto);
}

// Clicks the cell twice (moving to it, then opening its editor), replaces its text and
// commits it with Enter.
inline void ScriviCella(TVelmora& velmora, int colonna, int riga, const QString& testo) {
    ClicCella(velmora, colonna, riga);
    if (velmora.Vista->Grid->InplaceEditor() == nullptr) {
        ClicCella(velmora, colonna, riga);
    }
    QLineEdit* editor = velmora.Vista->Grid->InplaceEditor();
    if (editor == nullptr) {
        qFatal("no editor opened");
    }
    editor->selectAll();
    if (testo.isEmpty()) {
        QTest::keyClick(editor, Qt::Key_Delete);
    } else {
        QTest::keyClicks(editor, testo);
    }
    Tasto(velmora, Qt::Key_Return);
}
