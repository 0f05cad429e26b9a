// Page 'Analizza': the drive box, the folder list, and the scan behind "Start".
#include "tvelmora.h"

#include "aspetto.h"
#include "pagina_visualizza.h"
#include "scansione.h"
#include "tdirectorylistbox.h"
#include "tdrivecombobox.h"

#include "piattaforma.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QStackedWidget>
#include <filesystem>

void TVelmora::CreaScansione() {
    Scansione::Ganci ganci;
    ganci.elaboraMessaggi = [] { QCoreApplication::processEvents(); };
    ganci.stato = [this](const std::string& testo) {
        LabelStato->setText(QString::fromStdString(testo));
        LabelStato->repaint();
    };
    ganci.didascalia = [this](const std::string& testo) {
        Start->setText(QString::fromStdString(testo));
    };
    ganci.inizio = [this] {
        for (QWidget* etichetta : {Analizza, Visualizza, Salva}) {
            etichetta->setEnabled(false);
        }
        for (QWidget* controllo :
             std::initializer_list<QWidget*>{Directory, Drive, CheckAnalisi, CheckSub}) {
            controllo->hide();
        }
    };
    ganci.fine = [this](const FiltriVisualizza& filtri) {
        for (QWidget* controllo :
             std::initializer_list<QWidget*>{Directory, Drive, CheckAnalisi, CheckSub}) {
            controllo->show();
        }
        Visualizza->SetColoreFont(aspetto::Rosso);
        Salva->SetColoreFont(aspetto::Rosso);
        for (QWidget* etichetta : {Analizza, Visualizza, Salva}) {
            etichetta->setEnabled(true);
        }
        Vista->AbilitaFiltri(filtri);
    };
    scansione = std::make_unique<Scansione>(Directory->Lista(), File, catalogo, std::move(ganci));
    File.Cartella(Directory->Directory());
    Drive->MostraDrive(Directory->Lista().Drive());
}

bool TVelmora::InAnalisi() const {
    return scansione->InAnalisi();
}

void TVelmora::DriveChange() {
    try {
        Directory->SetDrive(Drive->Drive());
    } catch (...) {
        // The box goes back to the root the folder list still shows.
        Drive->MostraDrive(Directory->Lista().Drive());
        throw;
    }
    File.Cartella(Directory->Directory());
}

void TVelmora::DirectoryChange() {
    scansione->DirectoryChange(); // the file list and the status line follow
    directoryCorrente = Directory->Directory();
    // The process works in the folder shown, where the save dialogs open.
    std::error_code errore;
    std::filesystem::current_path(velmora::PercorsoDaUtf8(directoryCorrente), errore);
    if (!scansione->InCorso()) { // a scan stays on the root it started from
        Drive->MostraDrive(Directory->Lista().Drive());
    }
}

void TVelmora::AnalizzaClick() {
    Analizza->SetActive(true);
    Directory->Update();
    File.Aggiorna();
    Sezioni->setCurrentIndex(1);
}

void TVelmora::Button1Click() {
    if (!scansione->InCorso()) {
        // The scan empties the catalogue whose entries the grid shows.
        Vista->StaccaDalCatalogo();
    }
    scansione->Button1Click(CheckAnalisi->isChecked(), CheckSub->isChecked());
}
