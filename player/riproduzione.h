// The player on any synthesizer: a thread of its own sends each event of the file to
// the synthesizer when its time comes. The synthesizer is opened at the first file
// played, so a machine without audio only hears about it when it asks to listen.
#pragma once

#include "lettore.h"
#include "sintetizzatore.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace velmora {

class Riproduzione final : public Lettore {
public:
    // apri opens the synthesizer, or returns empty with the message in errore.
    using Apertura = std::function<std::unique_ptr<Sintetizzatore>(std::string& errore)>;

    explicit Riproduzione(Apertura apri);
    ~Riproduzione() override;

    std::string Suona(const std::string& percorso) override;
    // The same for a sequence already read.
    std::string Suona(Sequenza sequenza);
    void Ferma() override;
    bool InRiproduzione() const override;
    double Posizione() const override;
    double Durata() const override;
    void AlTermine(std::function<void()> fine) override;

private:
    using Orologio = std::chrono::steady_clock;

    void Esegui();

    Apertura apri;
    std::unique_ptr<Sintetizzatore> sintetizzatore;
    Sequenza sequenza;
    std::function<void()> fine;
    std::thread filo;
    mutable std::mutex mutex;
    std::condition_variable sveglia;
    bool fermare = false;
    bool suona = false;
    Orologio::time_point inizio;
};

// The player of this build on the system's audio output.
std::unique_ptr<Lettore> CreaLettore(const std::string& soundFont);

} // namespace velmora
