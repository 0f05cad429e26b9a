// Files analysed ahead of the scan's walk by worker threads, so that a cold disk gets
// several requests at once and every core analyses. One more thread walks the folders
// ahead of the walk, in its order, with the walk's own listing and sorting, so the
// reading goes on across folders while the walk appends the results of the current
// one. The walk takes the results one by one in its order; at most a fixed window of
// files is in hand or waiting ahead of it, so memory stays flat whatever the tree.
//
// A folder's listing made ahead is used by the walk only while it still holds (see
// AncoraValido): a folder changed since, or changed just before it was read, is read
// again by the walk, and the reading ahead starts again from there. So the catalogue
// is what a walk reading every folder as it enters it gives.
#pragma once

#include "analisi_file.h"
#include "elenco_cartella.h"
#include "memoria_scansione.h"
#include "posizione.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class AnalisiAnticipata {
public:
    // With fili below 2 no thread is started: each file is analysed by Prendi(), on
    // the walk's own thread, as the serial scan did. With a memoria, a folder's files
    // it knows unchanged are not read (their stored analysis is their result), and the
    // others are stored as they are analysed.
    explicit AnalisiAnticipata(unsigned fili, MemoriaScansione* memoria = nullptr);
    // Starts no further file and waits for the files in hand.
    ~AnalisiAnticipata();
    AnalisiAnticipata(const AnalisiAnticipata&) = delete;
    AnalisiAnticipata& operator=(const AnalisiAnticipata&) = delete;

    // The listing made ahead of the folder the walk enters next, when that is
    // cartella (waiting for it while it is being made); nothing otherwise.
    Elenco Pianificato(const std::string& cartella);

    // The walk has entered the folder of elenco and takes its files in the order of
    // nomi. pos is the walk's position, the folder's own sub-folders on top, and
    // sottoCartelle tells whether the walk goes below. When this is the listing read
    // ahead, its files are on their way already; otherwise what was read ahead is
    // dropped and the reading ahead starts again from here.
    void Cartella(const Elenco& elenco, std::vector<std::string> nomi, const posizione& pos,
                  bool sottoCartelle);

    // The analysis of file i of the folder, where i is the next file to take: waits
    // for it at most attesa, and returns nothing when it is not ready by then. Throws
    // what the analysis threw (std::bad_alloc).
    std::optional<AnalisiFile> Prendi(std::size_t i, std::chrono::milliseconds attesa);

    // Stop: no file not yet started is started; the files in hand are finished.
    void Interrompi();

private:
    // A folder whose files are read: the walk's current one, or one ahead of it.
    struct Pianificata {
        Elenco elenco;
        velmora::CartellaAperta cartella;
        std::vector<std::string> nomi; // in the walk's order
        std::uint64_t primo = 0;       // the number of its first file
        // What the memory knows of the folder: the files not to read (each taken by
        // the one thread that hands its result over), and where the others go.
        std::unique_ptr<MemoriaScansione::Cartella> ricordo;
        std::vector<std::optional<AnalisiFile>> note;
        // The numbers its files take in the window: none when the memory knows every
        // one, whose results the walk then takes itself, without a hand-over.
        std::size_t numeri = 0;
    };
    // A file's analysis, or what it threw.
    struct Risultato {
        std::uint64_t numero = 0;
        AnalisiFile analisi;
        std::exception_ptr errore;
    };
    // The result of file number n, in posti[n % finestra].
    struct Posto {
        std::atomic<std::uint64_t> numero{0}; // n + 1 once the result is there
        AnalisiFile analisi;
        std::exception_ptr errore;
    };

    // Makes the folder's plan, asking the memory about its files (not under m).
    std::shared_ptr<Pianificata> Pianifica(Elenco elenco, velmora::CartellaAperta cartella,
                                           std::vector<std::string> nomi);
    // The result of file k of a folder: as noted, or analysed (and given to the memory).
    AnalisiFile Analisi(Pianificata& p, std::size_t k);
    void Lavora();
    void Esplora();
    template <class Condizione> void Attendi(std::unique_lock<std::mutex>& l, Condizione c);
    void Sveglia();
    bool Pronti() const;
    bool Consegna(std::vector<Risultato>& pronti, unsigned g);

    MemoriaScansione* const memoria;
    const std::size_t finestra;
    std::unique_ptr<Posto[]> posti;
    std::shared_ptr<Pianificata> corrente; // the walk's folder (the walk's thread only)

    // Under m. Files are numbered from the start of the scan on, never again from 0.
    std::mutex m;
    std::condition_variable lavoro;                 // files to start, folders to read, or the end
    std::condition_variable fatto;                  // the result the walk waits for is there
    std::deque<std::shared_ptr<Pianificata>> piano; // the walk's folder, then those ahead
    bool inCartella = false;                        // piano.front() is the walk's folder
    std::uint64_t prossimo = 0;                     // the next file to start
    std::uint64_t pianificati = 0;                  // files of the folders in piano
    std::uint64_t limite = UINT64_MAX;              // no file from here on is started
    std::uint64_t attesoDa = UINT64_MAX;            // the files the walk waits for
    std::uint64_t attesoA = UINT64_MAX;
    std::optional<posizione> avanti; // where the reading ahead has got to
    std::string inLettura;           // the folder being read ahead now, if any
    bool attesaLettura = false;      // the walk waits for it (on fatto)
    bool esplorabile = false;        // the reading ahead may go on
    unsigned generazione = 0;        // one more at every new start
    bool fine = false;

    std::atomic<std::uint64_t> preso{0}; // the next file the walk takes
    std::atomic<unsigned> dormienti{0};  // threads waiting on lavoro
    std::atomic<bool> basta{false};      // stopped or ending: no lot is finished
    std::vector<std::thread> fili;
};

// The worker threads of a scan: VELMORA_THREADS when it holds a positive number (1
// analyses on the walk's thread, for tests), else one per hardware thread (at least
// two) where reads are announced to the system ahead (velmora::AnnunciaLettura), and
// twice that where they cannot be. On two cores, with announced reads, 2 threads were
// the fastest with the files in the page cache (4 and 8 took a tenth to a fifth more
// time, the threads taking the processor from each other) and as fast as 4 or 8 reading
// from disk; without them a cold disk needed 8 threads' requests at once.
unsigned FiliPredefiniti();
