// Page 'Analizza': the drive box, the folder list, and the scan behind "Start".
#include "tvelmora.h"

#include "archivio.h"
#include "ascolto.h"
#include "aspetto.h"
#include "memoria_archivio.h"
#include "pagina_visualizza.h"
#include "rinomina.h"
#include "scansione.h"
#include "tdirectorylistbox.h"
#include "tdrivecombobox.h"

#include "piattaforma.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <optional>

void TVelmora::CreaScansione() {
    // During a scan the status line changes for every file, far more often than the
    // screen shows: its text is set every time but painted once per display frame,
    // by this timer, with updates held back in between. The last text is painted
    // when the scan ends and updates come back.
    auto* fotogramma = new QTimer(LabelStato);
    const qreal hertz = LabelStato->screen() ? LabelStato->screen()->refreshRate() : 60;
    fotogramma->setInterval(std::max(1, qRound(1000 / (hertz > 0 ? hertz : 60))));
    connect(fotogramma, &QTimer::timeout, LabelStato, [this] {
        LabelStato->setUpdatesEnabled(true);
        LabelStato->repaint();
        LabelStato->setUpdatesEnabled(false);
    });
    Scansione::Ganci ganci;
    ganci.elaboraMessaggi = [] { QCoreApplication::processEvents(); };
    ganci.stato = [this](const std::string& testo) {
        LabelStato->setText(QString::fromStdString(testo));
        if (LabelStato->updatesEnabled()) { // idle: shown at once
            LabelStato->repaint();
        }
    };
    ganci.didascalia = [this](const std::string& testo) {
        Start->setText(QString::fromStdString(testo));
    };
    ganci.inizio = [this, fotogramma] {
        LabelStato->setUpdatesEnabled(false);
        fotogramma->start();
        for (QWidget* etichetta : {Analizza, Visualizza, Salva}) {
            etichetta->setEnabled(false);
        }
        for (QWidget* controllo :
             std::initializer_list<QWidget*>{Directory, Drive, CheckAnalisi, CheckSub}) {
            controllo->hide();
        }
    };
    ganci.fine = [this, fotogramma](const FiltriVisualizza& filtri) {
        fotogramma->stop();
        LabelStato->setUpdatesEnabled(true);
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
    if (scansione->InCorso()) {
        scansione->Button1Click(CheckAnalisi->isChecked(), CheckSub->isChecked());
        return;
    }
    // The scan walks from the highlighted row: always the open folder's.
    Directory->SelezionaCorrente();
    // The scan empties the catalogue whose entries the grid, the report and the
    // player show.
    Vista->Riproduttore->Ferma();
    Vista->StaccaDalCatalogo();
    const std::string aperta = Directory->Directory();
    // A scan with "Analisi dettagliata" takes the files unchanged since the last one
    // from the stored catalogue, and stores the others.
    std::optional<velmora::archivio::Archivio> salvato;
    std::optional<velmora::archivio::MemoriaArchivio> memoria;
    if (CheckAnalisi->isChecked()) {
        salvato.emplace(velmora::PercorsoCatalogo());
        scansione->Memoria(&memoria.emplace(*salvato));
    }
    const struct Stacca {
        Scansione& s;
        ~Stacca() { s.Memoria(nullptr); }
    } stacca{*scansione};
    try {
        scansione->Button1Click(CheckAnalisi->isChecked(), CheckSub->isChecked());
    } catch (const ErroreCartella&) {
        if (CartellaEsistente(aperta) == aperta) {
            throw;
        }
    }
    // A stored catalogue that could not serve is said once, where the scan speaks.
    if (memoria && !memoria->Avviso().empty()) {
        LabelStato->setText(QString::fromStdString(memoria->Avviso()));
    }
    // The open folder vanished during the scan: whenever that happened, the list
    // moves to the nearest folder still there and the same message is shown.
    const std::string esistente = CartellaEsistente(aperta);
    if (esistente != aperta) {
        Directory->SetDirectory(esistente);
        throw ErroreCartella(aperta);
    }
}
