// The main window's handlers: settings, activation, opening the pages, minimise and
// close.
#include "tvelmora.h"

#include "errori.h"
#include "impostazioni.h"
#include "pagina_analizza.h"
#include "pagina_start.h"
#include "pagina_visualizza.h"
#include "posizione_rapporto.h"
#include "trapporto.h"

#include "piattaforma.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QStackedWidget>
#include <QTimer>
#include <QWindowStateChangeEvent>
#include <cstdlib>
#include <filesystem>

namespace {

QString Testo(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace

void TVelmora::FormCreate() {
    registro = std::make_unique<Impostazioni>();
    if (registro->Esiste("X")) {
        move(registro->LeggiIntero("X"), y());
    } else {
        registro->ScriviIntero("X", x());
    }
    if (registro->Esiste("Y")) {
        move(x(), registro->LeggiIntero("Y"));
    } else {
        registro->ScriviIntero("Y", y());
    }
    if (registro->Esiste("Directory")) {
        const std::string salvata = registro->LeggiStringa("Directory").toStdString();
        std::error_code errore;
        if (std::filesystem::is_directory(velmora::PercorsoDaUtf8(salvata), errore)) {
            Analisi->ImpostaCartellaDirectory(salvata);
        } else {
            registro->ScriviStringa("Directory", Testo(Analisi->CartellaDirectory()));
        }
    }
    if (registro->Esiste("SoundFont")) {
        Vista->ImpostaSoundFont(registro->LeggiStringa("SoundFont"));
    }
}

void TVelmora::PosizionaRapporto() {
    QList<QRect> schermi;
    for (const QScreen* schermo : QGuiApplication::screens()) {
        schermi.append(schermo->availableGeometry());
    }
    const QPoint propria = Rapporto->pos();
    const auto posiziona = [&](const std::optional<QPoint>& salvata) {
        Rapporto->move(PosizioneRapporto(geometry(), salvata, Rapporto->size(), schermi, propria));
    };
    // Placed first without the saved place, so that a value that cannot be read
    // (reported by the general error handler) still leaves the window beside this one.
    posiziona(std::nullopt);
    if (registro == nullptr) {
        registro = std::make_unique<Impostazioni>();
    }
    if (registro->Esiste("RapportoX") && registro->Esiste("RapportoY")) {
        posiziona(QPoint(registro->LeggiIntero("RapportoX"), registro->LeggiIntero("RapportoY")));
    }
}

void TVelmora::FormActivate() {
    Vista->UltimaRiga = 0;
    for (int colonna = 0; colonna < colonneGriglia; ++colonna) {
        Vista->ScriviIntestazione(colonna, QString::fromLatin1(intestazioniGriglia[colonna]));
    }
    Inizio->ManoSuiCollegamenti();
}

void TVelmora::AnalizzaClick() {
    Analizza->SetActive(true);
    Analisi->Aggiorna();
    Sezioni->setCurrentIndex(1);
}

void TVelmora::VisualizzaClick() {
    Visualizza->SetActive(true);
    Vista->VisualizzaGriglia();
    Sezioni->setCurrentIndex(2);
    Vista->Mostra();
}

void TVelmora::SalvaClick() {
    Salva->SetActive(true);
    Sezioni->setCurrentIndex(3);
}

void TVelmora::MinimizzaClick() {
    // The report window goes with the main window, and comes back with it
    // (changeEvent), but only when it was open.
    if (Rapporto != nullptr && Rapporto->isVisible()) {
        Rapporto->showMinimized();
    }
    showMinimized();
}

void TVelmora::changeEvent(QEvent* evento) {
    if (evento->type() == QEvent::WindowStateChange) {
        const auto* cambio = static_cast<QWindowStateChangeEvent*>(evento);
        if ((cambio->oldState() & Qt::WindowMinimized) && !isMinimized() && Rapporto != nullptr &&
            Rapporto->isMinimized()) {
            Rapporto->showNormal();
        }
    }
    TFinestra::changeEvent(evento);
}

void TVelmora::closeEvent(QCloseEvent* evento) {
    TFinestra::closeEvent(evento);
    // However the window closes, a scan under way stops at its next check.
    Analisi->Ferma();
    Vista->FermaAscolto();
    QCoreApplication::quit();
}

bool TVelmora::event(QEvent* evento) {
    if (evento->type() == QEvent::WindowActivate) {
        Protetto([this] { FormActivate(); });
    }
    return TFinestra::event(evento);
}

void TVelmora::ChiudiClick() {
    // A failed write leaves the flag clear and the timer stopped: the window
    // stays open and the next click tries again.
    if (!chiusura) {
        if (registro == nullptr) {
            registro = std::make_unique<Impostazioni>();
        }
        registro->ScriviIntero("X", x());
        registro->ScriviIntero("Y", y());
        registro->ScriviStringa("Directory", Testo(Analisi->CartellaDirectory()));
        if (Rapporto != nullptr) {
            registro->ScriviIntero("RapportoX", Rapporto->x());
            registro->ScriviIntero("RapportoY", Rapporto->y());
        }
        registro.reset();
    }
    // A scan running under this click stops at its next check, so the program ends
    // with the window instead of scanning on unseen.
    Analisi->Ferma();
    chiusura = true;
    Timer1->start();
}

void TVelmora::Timer1Timer() {
    if (!chiusura) {
        return;
    }
    raggioOrizzontale -= 8;
    raggioVerticale -= 4;
    // The ellipse whose bounding box runs between the centre less the radii and
    // the centre plus the radii, whichever way round the corners fall.
    const int cx = width() / 2;
    const int cy = height() / 2;
    const QRect ellisse(cx - std::abs(raggioOrizzontale), cy - std::abs(raggioVerticale),
                        2 * std::abs(raggioOrizzontale), 2 * std::abs(raggioVerticale));
    setMask(QRegion(ellisse, QRegion::Ellipse));
    if (raggioOrizzontale <= 10) {
        Timer1->stop();
        hide();
        close();
    }
}
