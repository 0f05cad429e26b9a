#include "orologio_sistema.h"

#include <chrono>

namespace velmora {

OrologioDiSistema::OrologioDiSistema(Sorgente& s, Ricevente& r)
    : sorgente(s), ricevente(r), filo(&OrologioDiSistema::Esegui, this) {}

OrologioDiSistema::~OrologioDiSistema() {
    {
        std::lock_guard blocco(mutex);
        fermare = true;
    }
    sveglia.notify_all();
    filo.join();
}

void OrologioDiSistema::Esegui() {
    using namespace std::chrono;
    const auto zero = steady_clock::now();
    long long contati = 0; // milliseconds handed to sorgente so far
    std::unique_lock blocco(mutex);
    while (!sveglia.wait_for(blocco, milliseconds(1), [this] { return fermare; })) {
        // Each period is the time gone since the last one, whenever the thread wakes:
        // a late wake-up delays events, it never drops or stretches them.
        const long long ora = duration_cast<milliseconds>(steady_clock::now() - zero).count();
        if (ora > contati) {
            blocco.unlock();
            sorgente.Periodo(static_cast<int>(ora - contati), kFrequenza, ricevente);
            blocco.lock();
            contati = ora;
        }
    }
}

} // namespace velmora
