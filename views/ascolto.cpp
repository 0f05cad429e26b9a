#include "ascolto.h"

#include "errori.h"
#include "riproduzione.h"
#include "tcustomlabel.h"
#include "tstringgrid.h"

#include "piattaforma.h"

#include <QTimer>

#include <filesystem>

namespace {

Ascolto::Fabbrica& FabbricaImpostata() {
    static Ascolto::Fabbrica fabbrica;
    return fabbrica;
}

QString MinutiSecondi(double secondi) {
    const int s = static_cast<int>(secondi);
    return QString("%1:%2").arg(s / 60).arg(s % 60, 2, 10, QChar('0'));
}

} // namespace

void Ascolto::ImpostaFabbrica(Fabbrica fabbrica) {
    FabbricaImpostata() = std::move(fabbrica);
}

Ascolto::Ascolto(TStringGrid& g, TCustomLabel& s, QObject* genitore)
    : QObject(genitore), griglia(g), stato(s), orologio(new QTimer(this)) {
    orologio->setInterval(250);
    connect(orologio, &QTimer::timeout, this, &Ascolto::Aggiorna);
}

Ascolto::~Ascolto() {
    if (lettore) {
        lettore->Ferma();
    }
}

void Ascolto::Suona(const std::string& percorso, int r) {
    Ferma();
    if (!lettore) {
        const std::string font = soundFont.toStdString();
        lettore = FabbricaImpostata() ? FabbricaImpostata()(font) : velmora::CreaLettore(font);
        // The end arrives on the player's thread: it is handled here, on this one. A
        // queued call to an object already gone is dropped by Qt.
        lettore->AlTermine([this] { QMetaObject::invokeMethod(this, &Ascolto::Aggiorna); });
    }
    const std::string errore = lettore->Suona(percorso);
    if (!errore.empty()) {
        throw ErroreVelmora(QString::fromStdString(errore));
    }
    riga = r;
    nome = QString::fromStdString(
        velmora::Utf8DaPercorso(velmora::PercorsoDaUtf8(percorso).filename()));
    statoPrima = stato.text();
    griglia.SegnaRiga(riga);
    orologio->start();
    Aggiorna();
    emit Iniziato(QString::fromStdString(percorso));
}

void Ascolto::Ferma() {
    if (lettore) {
        lettore->Ferma();
    }
    if (riga == 0) {
        return;
    }
    orologio->stop();
    griglia.SegnaRiga(0);
    stato.setText(statoPrima);
    riga = 0;
    emit Finito();
}

void Ascolto::ImpostaSoundFont(const QString& file) {
    Ferma();
    soundFont = file;
    lettore.reset(); // the next file opens the synthesizer with the new SoundFont
}

void Ascolto::Aggiorna() {
    if (riga == 0) {
        return;
    }
    if (!lettore->InRiproduzione()) {
        Ferma();
        return;
    }
    stato.setText(
        QString("Ascolto: %1  %2 / %3")
            .arg(nome, MinutiSecondi(lettore->Posizione()), MinutiSecondi(lettore->Durata())));
}
