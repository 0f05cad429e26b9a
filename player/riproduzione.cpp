#include "riproduzione.h"

#include <algorithm>

namespace velmora {

Riproduzione::Riproduzione(Apertura a) : apri(std::move(a)) {}

Riproduzione::~Riproduzione() {
    Ferma();
}

std::string Riproduzione::Suona(const std::string& percorso) {
    Sequenza s;
    std::string errore;
    if (!CaricaSequenza(percorso, s, errore)) {
        Ferma();
        return errore;
    }
    return Suona(std::move(s));
}

std::string Riproduzione::Suona(Sequenza s) {
    Ferma();
    if (!sintetizzatore) {
        std::string errore;
        sintetizzatore = apri(errore);
        if (!sintetizzatore) {
            return errore;
        }
    }
    sintetizzatore->Azzera();
    std::lock_guard blocco(mutex);
    sequenza = std::move(s);
    fermare = false;
    suona = true;
    inizio = Orologio::now();
    filo = std::thread(&Riproduzione::Esegui, this);
    return {};
}

void Riproduzione::Esegui() {
    std::unique_lock blocco(mutex);
    for (const EventoMidi& e : sequenza.eventi) {
        const auto quando = inizio + std::chrono::duration_cast<Orologio::duration>(
                                         std::chrono::duration<double>(e.secondi));
        if (sveglia.wait_until(blocco, quando, [this] { return fermare; })) {
            return;
        }
        sintetizzatore->Invia(e);
    }
    suona = false;
    const std::function<void()> avvisa = fine;
    blocco.unlock();
    if (avvisa) {
        avvisa();
    }
}

void Riproduzione::Ferma() {
    {
        std::lock_guard blocco(mutex);
        fermare = true;
        suona = false;
    }
    sveglia.notify_all();
    if (filo.joinable()) {
        filo.join();
    }
    if (sintetizzatore) {
        sintetizzatore->Silenzia();
    }
}

bool Riproduzione::InRiproduzione() const {
    std::lock_guard blocco(mutex);
    return suona;
}

double Riproduzione::Posizione() const {
    std::lock_guard blocco(mutex);
    if (!suona) {
        return 0;
    }
    const std::chrono::duration<double> trascorso = Orologio::now() - inizio;
    return std::min(trascorso.count(), sequenza.durata);
}

double Riproduzione::Durata() const {
    std::lock_guard blocco(mutex);
    return sequenza.durata;
}

void Riproduzione::AlTermine(std::function<void()> f) {
    std::lock_guard blocco(mutex);
    fine = std::move(f);
}

std::unique_ptr<Lettore> CreaLettore(const std::string& soundFont) {
    return std::make_unique<Riproduzione>(
        [soundFont](std::string& errore) { return ApriSintetizzatore(soundFont, errore); });
}

} // namespace velmora
