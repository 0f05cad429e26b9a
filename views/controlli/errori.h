// The program's one general error handler. A failure that escapes an event
// handler ends that handler; its message is shown in a message box and the
// program goes on with the next event.
#pragma once

#include "esito.h"

#include <QApplication>
#include <QString>
#include <functional>
#include <stdexcept>
#include <utility>

// A failure of one of the program's own operations, carrying the message shown
// to the user.
class ErroreVelmora : public std::runtime_error {
public:
    explicit ErroreVelmora(const QString& messaggio);
};

// An outcome that failed becomes an ErroreVelmora with its message.
void Riuscito(const Esito& esito);

// Shows the message of a failure: a message box, or what ImpostaVisualizzatore
// installed (tests record the messages instead).
void MostraErrore(const std::exception& errore);

using VisualizzatoreErrori = std::function<void(const QString&)>;
// An empty function puts the message box back.
void ImpostaVisualizzatore(VisualizzatoreErrori visualizzatore);

// Runs a handler; a failure that escapes it goes to MostraErrore. Used where a
// handler is called from inside Qt (a click signal), so that the exception never
// unwinds through the library's own frames.
template <class Gestore> void Protetto(Gestore&& gestore) {
    try {
        std::forward<Gestore>(gestore)();
    } catch (const std::exception& errore) {
        MostraErrore(errore);
    }
}

// The application: every event is delivered through Protetto, so whatever
// escapes a handler is shown and the event loop goes on.
class Applicazione : public QApplication {
public:
    Applicazione(int& argc, char** argv);
    bool notify(QObject* destinatario, QEvent* evento) override;
};
