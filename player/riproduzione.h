// The player on any synthesizer. The synthesizer's back end keeps the time: it asks the
// player for the events of each period of sound it is about to play, so the music
// follows the sound card's clock, however late the stream starts or the player's
// threads run. A file's time zero is the first period played after it starts; it ends
// when its last event and the release tail after it have been played. The synthesizer is
// opened at the first file played, so a machine without audio only hears about it when
// it asks to listen.
#pragma once

#include "lettore.h"
#include "sintetizzatore.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

namespace velmora {

class Riproduzione final : public Lettore, private Sorgente {
public:
    // apri opens the synthesizer fed by sorgente, or returns empty with the message in
    // errore.
    using Apertura =
        std::function<std::unique_ptr<Sintetizzatore>(Sorgente& sorgente, std::string& errore)>;

    explicit Riproduzione(Apertura apri);
    ~Riproduzione() override;

    std::string Suona(const std::string& percorso) override;
    // The same for a sequence already read.
    std::string Suona(Sequenza sequenza);
    void Ferma() override;
    bool InRiproduzione() const override;
    double Posizione() const override; // of the sound played so far
    double Durata() const override;
    void AlTermine(std::function<void()> fine) override;

private:
    void Periodo(int frame, int frequenza, Ricevente& ricevente) override;
    void AttendiLaFine();

    Apertura apri;
    std::function<void()> fine;
    std::thread filo; // waits for the end of the file, to report it
    mutable std::mutex mutex;
    std::condition_variable sveglia;
    // Under mutex: the file and how far its sound has got.
    Sequenza sequenza;
    std::size_t prossimo = 0;  // the next event to hand over
    std::uint64_t suonati = 0; // frames played since the file started
    int frequenza = 0;         // of the back end's clock; 0 before its first period
    bool suona = false;
    bool finito = false; // the release tail has been played
    bool fermare = false;
    // Closed first when the player goes, so its back end stops asking for periods.
    std::unique_ptr<Sintetizzatore> sintetizzatore;
};

// The player of this build on the system's audio output.
std::unique_ptr<Lettore> CreaLettore(const std::string& soundFont);

} // namespace velmora
