// The words of the song playing, in the report window's place of its report: the line
// being sung in another colour, its syllable lit, the line kept in view.
#pragma once

#include "parole.h"

#include <QTextEdit>

#include <functional>

class QTimer;

class VistaParole : public QTextEdit {
    Q_OBJECT

public:
    // How often the words follow the player: well within the 50 ms a syllable may
    // lag behind its sound.
    static constexpr int kIntervalloMs = 20;

    explicit VistaParole(QWidget* parent);

    // Shows parole (not empty) and follows posizione, the player's seconds, until Ferma().
    void Segui(velmora::Parole parole, std::function<double()> posizione);
    void Ferma();
    // Lights the line and syllable sung at the position now; the timer's work.
    void Aggiorna();

    velmora::PuntoParole Punto() const { return punto; }

private:
    // The document's positions of a syllable: where it starts and its length.
    struct Tratto {
        int inizio;
        int lunghezza;
    };
    void Colora(velmora::PuntoParole dove, bool acceso);

    QTimer* orologio;
    std::function<double()> posizione;
    velmora::Parole parole;
    std::vector<std::vector<Tratto>> tratti; // per line, per syllable
    velmora::PuntoParole punto;
};
