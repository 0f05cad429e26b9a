#include "analisi_anticipata.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

// Results in hand or waiting ahead of the walk, per worker thread.
constexpr std::size_t kFinestraPerFilo = 64;
// Files a worker takes at one go, and results the walk waits for at once: one lock and
// one wake-up for many files. Lots of 4 spent about 7% of the scan's processor time
// waking threads and switching between them.
constexpr std::uint64_t kLotto = 32;
// How far ahead of the walk folders are read: in files, as many windows, and at most
// so many folders (each holds a handle).
constexpr std::uint64_t kFinestreAvanti = 2;
constexpr std::size_t kCartelleAvanti = 64;

constexpr std::uint64_t kNessuno = UINT64_MAX;

} // namespace

AnalisiAnticipata::AnalisiAnticipata(unsigned n, MemoriaScansione* m_)
    : memoria(m_), finestra(n < 2 ? 0 : n * kFinestraPerFilo),
      posti(finestra > 0 ? std::make_unique<Posto[]>(finestra) : nullptr) {
    if (n < 2) {
        return;
    }
    fili.reserve(n + 1);
    fili.emplace_back([this] { Esplora(); });
    for (unsigned i = 0; i < n; ++i) {
        fili.emplace_back([this] { Lavora(); });
    }
}

AnalisiAnticipata::~AnalisiAnticipata() {
    basta.store(true);
    {
        const std::lock_guard l(m);
        fine = true;
    }
    lavoro.notify_all();
    for (std::thread& t : fili) {
        t.join();
    }
}

Elenco AnalisiAnticipata::Pianificato(const std::string& cartella) {
    if (fili.empty()) {
        return nullptr;
    }
    std::unique_lock l(m);
    // A folder being read ahead is waited for rather than read again by the walk: when
    // the walk has little to do per file (a rescan) it would otherwise catch up, read
    // every folder itself and start the reading ahead again behind it each time.
    attesaLettura = true;
    fatto.wait(l, [&] { return inLettura != cartella; });
    attesaLettura = false;
    const std::size_t prossima = inCartella ? 1 : 0;
    if (piano.size() > prossima && piano[prossima]->elenco->percorso == cartella) {
        return piano[prossima]->elenco;
    }
    return nullptr;
}

void AnalisiAnticipata::Cartella(const Elenco& elenco, std::vector<std::string> nomi,
                                 const posizione& pos, bool sottoCartelle) {
    if (fili.empty()) {
        corrente = Pianifica(elenco, velmora::CartellaAperta(elenco->percorso), std::move(nomi));
        return;
    }
    {
        const std::lock_guard l(m);
        if (inCartella) {
            piano.pop_front(); // the walk has taken all its files
            inCartella = false;
        }
        if (!piano.empty() && piano.front()->elenco == elenco &&
            piano.front()->primo == preso.load()) {
            inCartella = true;
            corrente = piano.front();
            return;
        }
    }
    // Not the folder read ahead: everything ahead goes, and reading starts again here.
    auto nuova = Pianifica(elenco, velmora::CartellaAperta(elenco->percorso), std::move(nomi));
    {
        const std::lock_guard l(m);
        ++generazione;
        piano.clear();
        nuova->primo = prossimo; // numbers never used before: late results cannot mix in
        pianificati = prossimo + nuova->numeri;
        preso.store(prossimo);
        piano.push_back(nuova);
        inCartella = true;
        corrente = nuova;
        avanti = pos;
        esplorabile = sottoCartelle;
    }
    lavoro.notify_all();
}

std::optional<AnalisiFile> AnalisiAnticipata::Prendi(std::size_t i,
                                                     std::chrono::milliseconds attesa) {
    if (fili.empty() || corrente->numeri == 0) {
        return Analisi(*corrente, i);
    }
    const std::uint64_t n = corrente->primo + i;
    Posto& posto = posti[n % finestra];
    if (posto.numero.load(std::memory_order_acquire) != n + 1) {
        std::unique_lock l(m);
        if (dormienti.load() > 0) {
            lavoro.notify_all(); // room freed since the last wake-up
        }
        // Woken once this result and the few after it that are in hand are there: one
        // sleep for several files.
        attesoDa = n;
        attesoA =
            std::max(n, std::min({n + kLotto, corrente->primo + corrente->numeri, prossimo}) - 1);
        fatto.wait_for(l, attesa, [&] { return Pronti(); });
        attesoDa = attesoA = kNessuno;
        if (posto.numero.load(std::memory_order_acquire) != n + 1) {
            return std::nullopt;
        }
    }
    // The slot is the walk's until preso moves past it: no worker writes it before.
    AnalisiFile analisi = std::move(posto.analisi);
    const std::exception_ptr errore = std::exchange(posto.errore, nullptr);
    preso.store(n + 1);
    if ((n + 1) % kLotto == 0) {
        Sveglia();
    }
    if (errore) {
        std::rethrow_exception(errore);
    }
    return analisi;
}

void AnalisiAnticipata::Interrompi() {
    basta.store(true);
    const std::lock_guard l(m);
    limite = prossimo;
    esplorabile = false;
}

// Waits on lavoro until c() holds, counted among the sleepers so that the walk wakes
// the threads only when some sleep.
template <class Condizione>
void AnalisiAnticipata::Attendi(std::unique_lock<std::mutex>& l, Condizione c) {
    if (c()) {
        return;
    }
    dormienti.fetch_add(1);
    // Checked again after counting: the walk moves preso, then looks at dormienti.
    while (!c()) {
        lavoro.wait(l);
    }
    dormienti.fetch_sub(1);
}

// The walk has made room: threads waiting for it go on.
void AnalisiAnticipata::Sveglia() {
    if (dormienti.load() > 0) {
        { const std::lock_guard l(m); } // a sleeper is either waiting or sees the room
        lavoro.notify_all();
    }
}

void AnalisiAnticipata::Lavora() {
    std::unique_lock l(m);
    for (;;) {
        Attendi(l, [&] {
            return fine || (prossimo < pianificati && prossimo < limite &&
                            prossimo < preso.load() + finestra);
        });
        if (fine) {
            return;
        }
        const auto cartella = std::find_if(piano.begin(), piano.end(), [&](const auto& p) {
            return prossimo < p->primo + p->numeri;
        });
        const std::shared_ptr<Pianificata> c = *cartella;
        const std::uint64_t da = prossimo;
        const std::uint64_t a =
            std::min({da + kLotto, c->primo + c->numeri, limite, preso.load() + finestra});
        prossimo = a;
        const unsigned g = generazione;
        l.unlock();
        // Results are handed over as soon as the lock is free, else with the next one;
        // the rest of the lot is dropped at a stop.
        std::vector<Risultato> pronti;
        pronti.reserve(static_cast<std::size_t>(a - da));
        for (std::uint64_t n = da; n < a && (n == da || !basta.load()); ++n) {
            Risultato& r = pronti.emplace_back();
            r.numero = n;
            try {
                r.analisi = Analisi(*c, static_cast<std::size_t>(n - c->primo));
            } catch (...) {
                r.errore = std::current_exception();
            }
            if (n + 1 < a) {
                std::unique_lock prova(m, std::try_to_lock);
                if (prova.owns_lock() && Consegna(pronti, g)) {
                    prova.unlock(); // the walk wakes to a free lock
                    fatto.notify_one();
                }
            }
        }
        l.lock();
        if (Consegna(pronti, g)) {
            l.unlock();
            fatto.notify_one();
            l.lock();
        }
    }
}

// Under m: hands the results over (unless the walk has started again elsewhere since
// they were taken, generation g) and empties pronti; true when the walk waits for them.
bool AnalisiAnticipata::Consegna(std::vector<Risultato>& pronti, unsigned g) {
    bool avvisa = false;
    if (g == generazione && !pronti.empty()) {
        for (Risultato& r : pronti) {
            Posto& posto = posti[r.numero % finestra];
            posto.analisi = std::move(r.analisi);
            posto.errore = std::move(r.errore);
            posto.numero.store(r.numero + 1, std::memory_order_release);
        }
        avvisa = attesoDa != kNessuno && Pronti();
    }
    pronti.clear();
    return avvisa;
}

// Under m: the results the walk waits for are all there.
bool AnalisiAnticipata::Pronti() const {
    for (std::uint64_t n = attesoDa; n <= attesoA; ++n) {
        if (posti[n % finestra].numero.load(std::memory_order_acquire) != n + 1) {
            return false;
        }
    }
    return true;
}

// Goes through the folders as the walk will (see Scansione::Cammina), reading each one
// and sorting its files, as long as the files ahead of the walk are few enough.
void AnalisiAnticipata::Esplora() {
    std::unique_lock l(m);
    for (;;) {
        Attendi(l, [&] {
            return fine ||
                   (esplorabile && pianificati < preso.load() + kFinestreAvanti * finestra &&
                    piano.size() < kCartelleAvanti);
        });
        if (fine) {
            return;
        }
        const std::string* meta = avanti->Prossima();
        if (meta == nullptr) {
            if (avanti->Profondita() == 1) {
                esplorabile = false; // the walk is complete
            } else {
                avanti->Risali();
            }
            continue;
        }
        const std::string percorso = *meta;
        const unsigned g = generazione;
        inLettura = percorso;
        l.unlock();
        velmora::CartellaAperta cartella(percorso);
        Elenco elenco = cartella.Aperta() ? LeggiElenco(cartella) : nullptr;
        std::shared_ptr<Pianificata> p;
        if (elenco && elenco->modificata) {
            p = Pianifica(elenco, std::move(cartella), NomiInOrdine(elenco->file));
        }
        l.lock();
        inLettura.clear();
        if (attesaLettura) {
            fatto.notify_one();
        }
        if (g != generazione) {
            continue; // the walk started again elsewhere: so does this
        }
        if (!elenco || !elenco->modificata) {
            // Gone, unreadable or just changed: the walk reads it itself when it gets
            // there, and the reading ahead starts again from there.
            esplorabile = false;
            continue;
        }
        avanti->Scendi(PercorsiSottoCartelle(*elenco));
        p->primo = pianificati;
        pianificati += p->numeri;
        piano.push_back(std::move(p));
        if (pianificati > prossimo && dormienti.load() > 0) {
            lavoro.notify_all();
        }
    }
}

std::shared_ptr<AnalisiAnticipata::Pianificata>
AnalisiAnticipata::Pianifica(Elenco elenco, velmora::CartellaAperta cartella,
                             std::vector<std::string> nomi) {
    auto p = std::make_shared<Pianificata>(
        Pianificata{std::move(elenco), std::move(cartella), std::move(nomi), 0, nullptr, {}});
    if (memoria != nullptr) {
        std::vector<FileDellaCartella> file;
        file.reserve(p->nomi.size());
        for (const std::string& nome : p->nomi) {
            const auto stato = velmora::StatoInCartella(p->cartella, nome);
            // A file that cannot be looked at gets zeros, which nothing stored matches.
            file.push_back({nome, stato ? stato->dimensione : 0, stato ? stato->modifica : 0});
        }
        p->ricordo = memoria->Apri(p->elenco->percorso, file);
        if (p->ricordo) {
            p->note.resize(p->nomi.size());
            for (std::size_t k = 0; k < p->nomi.size(); ++k) {
                p->note[k] = p->ricordo->Nota(k);
            }
        }
    }
    // The files to read: the disk gets the whole folder's requests now, not one per
    // worker at a time. Without any, the folder's files take no numbers.
    bool daLeggere = false;
    for (std::size_t k = 0; k < p->nomi.size(); ++k) {
        if (k >= p->note.size() || !p->note[k]) {
            velmora::AnnunciaLettura(p->cartella, p->nomi[k]);
            daLeggere = true;
        }
    }
    p->numeri = daLeggere ? p->nomi.size() : 0;
    return p;
}

AnalisiFile AnalisiAnticipata::Analisi(Pianificata& p, std::size_t k) {
    if (k < p.note.size() && p.note[k]) {
        return std::move(*std::exchange(p.note[k], std::nullopt));
    }
    AnalisiFile a = AnalizzaFile(p.cartella, p.nomi[k], p.ricordo && memoria->VuoleTesti());
    if (p.ricordo) {
        p.ricordo->Analizzato(k, a);
    }
    return a;
}

unsigned FiliPredefiniti() {
    if (const char* v = std::getenv("VELMORA_THREADS")) {
        char* fine = nullptr;
        const unsigned long n = std::strtoul(v, &fine, 10);
        if (fine != v && *fine == '\0' && n > 0 && n <= 1024) {
            return static_cast<unsigned>(n);
        }
    }
    const unsigned nuclei = std::max(1u, std::thread::hardware_concurrency());
    return velmora::kLettureAnnunciate ? std::max(2u, nuclei) : 2 * nuclei;
}
