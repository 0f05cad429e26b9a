#include "pagina_analizza.h"

#include "archivio.h"
#include "caselle.h"
#include "errori.h"
#include "memoria_archivio.h"
#include "rinomina.h"
#include "scansione.h"
#include "tdirectorylistbox.h"
#include "tdrivecombobox.h"
#include "tfinestra.h"

#include "piattaforma.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>

PaginaAnalizza::PaginaAnalizza(dati& catalogo_, QWidget* genitore)
    : QWidget(genitore), catalogo(catalogo_) {
    CreaControlli();
    CreaScansione();
    connect(Drive, &TDriveComboBox::OnChange, this, &PaginaAnalizza::DriveChange);
    connect(Directory, &TDirectoryListBox::OnChange, this, &PaginaAnalizza::DirectoryChange);
    connect(Start, &TCustomLabel::Click, this, &PaginaAnalizza::Button1Click);
    directoryCorrente = Directory->Directory();
}

PaginaAnalizza::~PaginaAnalizza() = default;

void PaginaAnalizza::CreaControlli() {
    Directory = new TDirectoryListBox(this);
    Directory->setObjectName("Directory");
    Directory->setGeometry(16, 0, 241, 313);
    Drive = new TDriveComboBox(this);
    Drive->setObjectName("Drive");
    Drive->setGeometry(16, 312, 241, 24);
    CheckAnalisi = CreaCasella<QCheckBox>(this, "CheckAnalisi", "Analisi dettagliata",
                                          {264, 232, 137, 17}, true);
    CheckSub = CreaCasella<QCheckBox>(this, "CheckSub", "Analizza le sotto cartelle",
                                      {264, 320, 185, 17}, true);
    Start = CreaRLabel(this, ComandoPagina("Start", "Start", {576, 312, 46, 24}));
    LabelStato = CreaEtichettaAuto(this, "LabelStato", QString(), {16, 336});
}

void PaginaAnalizza::CreaScansione() {
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
    // Hidden while a scan runs.
    const std::array<QWidget*, 4> cartelle{Directory, Drive, CheckAnalisi, CheckSub};
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
    ganci.inizio = [this, fotogramma, cartelle] {
        LabelStato->setUpdatesEnabled(false);
        fotogramma->start();
        emit ScansioneIniziata();
        for (QWidget* controllo : cartelle) {
            controllo->hide();
        }
    };
    ganci.fine = [this, fotogramma, cartelle](const FiltriVisualizza& filtri) {
        fotogramma->stop();
        LabelStato->setUpdatesEnabled(true);
        for (QWidget* controllo : cartelle) {
            controllo->show();
        }
        emit ScansioneFinita(filtri);
    };
    scansione = std::make_unique<Scansione>(Directory->Lista(), File, catalogo, std::move(ganci));
    File.Cartella(Directory->Directory());
    Drive->MostraDrive(Directory->Lista().Drive());
}

void PaginaAnalizza::Ferma() {
    scansione->Ferma();
}

std::string PaginaAnalizza::CartellaDirectory() const {
    return Directory->Directory();
}

void PaginaAnalizza::ImpostaCartellaDirectory(const std::string& cartella) {
    Directory->SetDirectory(cartella);
}

void PaginaAnalizza::Aggiorna() {
    Directory->Update();
    File.Aggiorna();
}

void PaginaAnalizza::DriveChange() {
    try {
        Directory->SetDrive(Drive->Drive());
    } catch (...) {
        // The box goes back to the root the folder list still shows.
        Drive->MostraDrive(Directory->Lista().Drive());
        throw;
    }
    File.Cartella(Directory->Directory());
}

void PaginaAnalizza::DirectoryChange() {
    scansione->DirectoryChange(); // the file list and the status line follow
    directoryCorrente = Directory->Directory();
    // The process works in the folder shown, where the save dialogs open.
    std::error_code errore;
    std::filesystem::current_path(velmora::PercorsoDaUtf8(directoryCorrente), errore);
    if (!scansione->InCorso()) { // a scan stays on the root it started from
        Drive->MostraDrive(Directory->Lista().Drive());
    }
}

void PaginaAnalizza::Button1Click() {
    if (scansione->InCorso()) {
        scansione->Button1Click(CheckAnalisi->isChecked(), CheckSub->isChecked());
        return;
    }
    // The scan walks from the highlighted row: always the open folder's.
    Directory->SelezionaCorrente();
    emit CatalogoDaSvuotare();
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
