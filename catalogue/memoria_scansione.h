// What a scan may remember from one run to the next: for each folder it enters, the
// analysis of the files that have not changed since (taken as it is, the file not
// opened), and for the others, what their analysis found. The stored catalogue
// (archivio/) gives it; a scan without one analyses every file.
#pragma once

#include "analisi_file.h"
#include "piattaforma.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A file of a folder as its listing found it.
struct FileDellaCartella {
    std::string nome;
    std::uint64_t dimensione = 0;
    velmora::Istante modifica = 0;
};

class MemoriaScansione {
public:
    // One folder, from its listing until the scan is done with it. Calls for
    // several folders may interleave, from several threads.
    class Cartella {
    public:
        virtual ~Cartella() = default;
        // The analysis remembered for file i of the listing, when it still holds for
        // the file as listed; taken once.
        virtual std::optional<AnalisiFile> Nota(std::size_t i) = 0;
        // File i was analysed; its texts for search are taken too. Called by the
        // threads that analyse, for several files at once.
        virtual void Analizzato(std::size_t i, AnalisiFile& analisi) = 0;
    };

    virtual ~MemoriaScansione() = default;

    // A folder (its full path) has been listed, by the walk or ahead of it, before any
    // of its files is read.
    // What is remembered of files no longer in the listing is forgotten.
    virtual std::unique_ptr<Cartella> Apri(const std::string& cartella,
                                           const std::vector<FileDellaCartella>& file) = 0;
    // The analysis must also gather the texts for search (AnalizzaFile's testi).
    virtual bool VuoleTesti() const = 0;
};
