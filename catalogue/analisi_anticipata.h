// A folder's files analysed ahead of the scan's walk by worker threads, so that a
// cold disk gets several requests at once and every core analyses. The walk hands
// over the folder's names in its own order and takes the results one by one in that
// order; at most a fixed window of files is in hand or waiting ahead of it, so memory
// stays flat whatever the size of the folder.
#pragma once

#include "analisi_file.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

class AnalisiAnticipata {
public:
    // With fili below 2 no thread is started: each file is analysed by Prendi(), on
    // the walk's own thread, as the serial scan did.
    explicit AnalisiAnticipata(unsigned fili);
    // Starts no further file and waits for the files in hand.
    ~AnalisiAnticipata();
    AnalisiAnticipata(const AnalisiAnticipata&) = delete;
    AnalisiAnticipata& operator=(const AnalisiAnticipata&) = delete;

    // The files of a folder, in the order the walk takes them. What was pending for
    // the previous folder is dropped. testi: the analysis also gathers the texts for
    // search (AnalizzaFile).
    void Cartella(const std::string& cartella, std::vector<std::string> nomi, bool testi = false);

    // The analysis of file i of the folder, where i is the next file to take: waits
    // for it at most attesa, and returns nothing when it is not ready by then. Throws
    // what the analysis threw (std::bad_alloc).
    std::optional<AnalisiFile> Prendi(std::size_t i, std::chrono::milliseconds attesa);

    // Stop: no file not yet started is started; the files in hand are finished.
    void Interrompi();

private:
    struct Posto {
        bool pronto = false;
        AnalisiFile analisi;
        std::exception_ptr errore;
    };

    void Lavora();
    std::string Percorso(std::size_t i) const;

    std::mutex m;
    std::condition_variable lavoro; // a file may be started, or the end has come
    std::condition_variable fatto;  // a result is ready
    std::string cartella;
    std::vector<std::string> nomi;
    bool testi = false;
    std::vector<Posto> esiti; // the window, a ring: file i in esiti[i % size]
    std::size_t prossimo = 0; // the next file to start
    std::size_t preso = 0;    // the next file the walk takes
    std::size_t limite = 0;   // no file from here on is started
    unsigned generazione = 0; // the folder's number: late results of others are dropped
    bool fine = false;
    std::vector<std::thread> fili;
};

// The worker threads of a scan: VELMORA_THREADS when it holds a positive number (1
// analyses on the walk's thread, for tests), else twice the hardware threads, so
// that reads wait on the disk while other files are analysed.
unsigned FiliPredefiniti();
