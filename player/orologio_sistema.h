// The clock of a back end with no audio clock of its own (the Windows MIDI synthesizer):
// a thread that asks for the periods as the system's steady clock runs, a frame a
// millisecond, so that every event goes out within about a millisecond of its time.
#pragma once

#include "sintetizzatore.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace velmora {

class OrologioDiSistema {
public:
    static constexpr int kFrequenza = 1000;

    // Starts asking sorgente for periods on a thread of its own; their events go to
    // ricevente as soon as they are due.
    OrologioDiSistema(Sorgente& sorgente, Ricevente& ricevente);
    // Stops the thread: no period is asked for after it returns.
    ~OrologioDiSistema();

private:
    void Esegui();

    Sorgente& sorgente;
    Ricevente& ricevente;
    std::mutex mutex;
    std::condition_variable sveglia;
    bool fermare = false;
    std::thread filo;
};

} // namespace velmora
