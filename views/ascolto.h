// Listening to a file of the grid: the player, the status line that shows what plays
// and for how long, and the mark on the playing row. A failure to play is an
// ErroreVelmora carrying the player's message, for the general error handler.
#pragma once

#include "lettore.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QTimer;
class TCustomLabel;
class TStringGrid;

class Ascolto : public QObject {
    Q_OBJECT

public:
    using Fabbrica = std::function<std::unique_ptr<velmora::Lettore>(const std::string& soundFont)>;
    // Tests replace the player of the Ascolto objects made afterwards (a player that
    // records its calls); an empty function gives the real one back.
    static void ImpostaFabbrica(Fabbrica fabbrica);

    Ascolto(TStringGrid& griglia, TCustomLabel& stato, QObject* genitore);
    ~Ascolto() override;

    // Plays the file (UTF-8 path) shown on the grid's data row riga.
    void Suona(const std::string& percorso, int riga);
    // Stops what plays, if anything: the status line and the row go back as they were.
    void Ferma();
    // The grid row of the file playing, 0 when nothing plays.
    int RigaInAscolto() const { return riga; }
    // Seconds of the file playing that have been heard.
    double Posizione() const { return lettore ? lettore->Posizione() : 0; }

    // The SoundFont of the next file played; empty for the system's own.
    QString SoundFont() const { return soundFont; }
    void ImpostaSoundFont(const QString& file);

signals:
    // A file (UTF-8 path) has started to play; what played has stopped.
    void Iniziato(const QString& percorso);
    void Finito();

private:
    void Aggiorna();

    TStringGrid& griglia;
    TCustomLabel& stato;
    QTimer* orologio;
    std::unique_ptr<velmora::Lettore> lettore;
    QString soundFont;
    QString nome;       // of the file playing
    QString statoPrima; // the status line's text before the file started
    int riga = 0;
};
