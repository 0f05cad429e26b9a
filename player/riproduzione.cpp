#include "riproduzione.h"

#include "render_wav.h"

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

std::uint64_t Frame(double secondi, int frequenza) {
    return static_cast<std::uint64_t>(std::llround(secondi * frequenza));
}

} // namespace

Riproduzione::Riproduzione(Apertura a) : apri(std::move(a)) {}

Riproduzione::~Riproduzione() {
    Ferma();
    sintetizzatore.reset();
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
        sintetizzatore = apri(*this, errore);
        if (!sintetizzatore) {
            return errore;
        }
    }
    sintetizzatore->Azzera();
    std::lock_guard blocco(mutex);
    sequenza = std::move(s);
    prossimo = 0;
    suonati = 0;
    finito = false;
    fermare = false;
    suona = true;
    filo = std::thread(&Riproduzione::AttendiLaFine, this);
    return {};
}

void Riproduzione::Periodo(int frame, int hz, Ricevente& ricevente) {
    std::lock_guard blocco(mutex);
    if (!suona || frame <= 0) {
        return;
    }
    frequenza = hz;
    const std::uint64_t limite = suonati + static_cast<std::uint64_t>(frame);
    for (; prossimo < sequenza.eventi.size(); ++prossimo) {
        const EventoMidi& e = sequenza.eventi[prossimo];
        const std::uint64_t quando = std::max(Frame(e.secondi, hz), suonati);
        if (quando >= limite) {
            break;
        }
        ricevente.Evento(static_cast<int>(quando - suonati), e);
    }
    suonati = limite;
    // The release tail is as long as the render's, so what is heard ends as the WAV does.
    if (prossimo == sequenza.eventi.size() && suonati >= Frame(sequenza.durata + kCodaRender, hz)) {
        suona = false;
        finito = true;
        sveglia.notify_all();
    }
}

void Riproduzione::AttendiLaFine() {
    std::unique_lock blocco(mutex);
    sveglia.wait(blocco, [this] { return fermare || finito; });
    if (fermare) {
        return;
    }
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
    // No period hands over an event from here on: nothing sounds after the silence.
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
    if (!suona || frequenza == 0) {
        return 0;
    }
    return std::min(static_cast<double>(suonati) / frequenza, sequenza.durata);
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
    return std::make_unique<Riproduzione>([soundFont](Sorgente& sorgente, std::string& errore) {
        return ApriSintetizzatore(soundFont, sorgente, errore);
    });
}

} // namespace velmora
