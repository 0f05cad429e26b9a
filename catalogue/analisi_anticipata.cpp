#include "analisi_anticipata.h"

#include "piattaforma.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Files in hand or done ahead of the walk, per worker thread.
constexpr std::size_t kFinestraPerFilo = 4;

} // namespace

AnalisiAnticipata::AnalisiAnticipata(unsigned n) {
    if (n < 2) {
        return;
    }
    esiti.resize(n * kFinestraPerFilo);
    fili.reserve(n);
    for (unsigned i = 0; i < n; ++i) {
        fili.emplace_back([this] { Lavora(); });
    }
}

AnalisiAnticipata::~AnalisiAnticipata() {
    {
        const std::lock_guard l(m);
        fine = true;
    }
    lavoro.notify_all();
    for (std::thread& t : fili) {
        t.join();
    }
}

void AnalisiAnticipata::Cartella(const std::string& nuova, std::vector<std::string> nuoviNomi,
                                 bool conTesti) {
    {
        const std::lock_guard l(m);
        cartella = nuova;
        nomi = std::move(nuoviNomi);
        testi = conTesti;
        std::fill(esiti.begin(), esiti.end(), Posto{});
        prossimo = preso = 0;
        limite = nomi.size();
        ++generazione;
    }
    lavoro.notify_all();
}

std::optional<AnalisiFile> AnalisiAnticipata::Prendi(std::size_t i,
                                                     std::chrono::milliseconds attesa) {
    if (fili.empty()) {
        return AnalizzaFile(Percorso(i), testi);
    }
    Posto esito;
    {
        std::unique_lock l(m);
        Posto& posto = esiti[i % esiti.size()];
        if (!fatto.wait_for(l, attesa, [&] { return posto.pronto; })) {
            return std::nullopt;
        }
        esito = std::exchange(posto, Posto{});
        preso = i + 1;
    }
    lavoro.notify_one(); // the window moved on by one file
    if (esito.errore) {
        std::rethrow_exception(esito.errore);
    }
    return std::move(esito.analisi);
}

void AnalisiAnticipata::Interrompi() {
    const std::lock_guard l(m);
    limite = prossimo;
}

void AnalisiAnticipata::Lavora() {
    std::unique_lock l(m);
    for (;;) {
        lavoro.wait(l,
                    [&] { return fine || (prossimo < limite && prossimo < preso + esiti.size()); });
        if (fine) {
            return;
        }
        const std::size_t i = prossimo++;
        const unsigned g = generazione;
        const std::string percorso = Percorso(i);
        const bool conTesti = testi;
        l.unlock();
        Posto esito;
        try {
            esito.analisi = AnalizzaFile(percorso, conTesti);
        } catch (...) {
            esito.errore = std::current_exception();
        }
        esito.pronto = true;
        l.lock();
        if (g == generazione) {
            esiti[i % esiti.size()] = std::move(esito);
            fatto.notify_one(); // only the walk waits for results
        }
    }
}

std::string AnalisiAnticipata::Percorso(std::size_t i) const {
    return velmora::UnisciPercorso(cartella, nomi[i]);
}

unsigned FiliPredefiniti() {
    if (const char* v = std::getenv("VELMORA_THREADS")) {
        char* fine = nullptr;
        const unsigned long n = std::strtoul(v, &fine, 10);
        if (fine != v && *fine == '\0' && n > 0 && n <= 1024) {
            return static_cast<unsigned>(n);
        }
    }
    return 2 * std::max(1u, std::thread::hardware_concurrency());
}
