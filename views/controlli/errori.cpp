#include "errori.h"

#include <QMessageBox>

namespace {

VisualizzatoreErrori& Visualizzatore() {
    static VisualizzatoreErrori visualizzatore;
    return visualizzatore;
}

} // namespace

ErroreVelmora::ErroreVelmora(const QString& messaggio)
    : std::runtime_error(messaggio.toUtf8().toStdString()) {}

void Riuscito(const Esito& esito) {
    if (!esito) {
        throw ErroreVelmora(QString::fromStdString(esito.errore));
    }
}

void MostraErrore(const std::exception& errore) {
    const QString messaggio = QString::fromUtf8(errore.what());
    if (Visualizzatore()) {
        Visualizzatore()(messaggio);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Velmora"), messaggio);
}

void ImpostaVisualizzatore(VisualizzatoreErrori visualizzatore) {
    Visualizzatore() = std::move(visualizzatore);
}

Applicazione::Applicazione(int& argc, char** argv) : QApplication(argc, argv) {}

bool Applicazione::notify(QObject* destinatario, QEvent* evento) {
    bool risultato = false;
    Protetto([&] { risultato = QApplication::notify(destinatario, evento); });
    return risultato;
}
