// The player against a synthesizer whose audio clock the test drives: time passes only
// in the periods a test plays, so nothing waits for real time.
#include "orologio_sistema.h"
#include "riproduzione.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

// What a synthesizer is asked, in order, from whichever thread.
class Registro {
public:
    void Aggiungi(std::string voce) {
        std::lock_guard b(m);
        voci.push_back(std::move(voce));
        cv.notify_all();
    }
    std::vector<std::string> Copia() {
        std::lock_guard b(m);
        return voci;
    }
    bool Attendi(std::size_t n) {
        std::unique_lock b(m);
        return cv.wait_for(b, std::chrono::seconds(10), [&] { return voci.size() >= n; });
    }

private:
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::string> voci;
};

// Records each event at the frame of its own clock (1000 frames a second) where it sounds.
class SintetizzatoreFinto final : public velmora::Sintetizzatore, private velmora::Ricevente {
public:
    SintetizzatoreFinto(velmora::Sorgente& s, Registro& r) : sorgente(s), registro(r) {}
    void Suona(int frame) {
        for (int i = 0; i < frame; i += 7) { // periods that never fall on the events' times
            const int n = std::min(7, frame - i);
            sorgente.Periodo(n, 1000, *this);
            suonati += n;
        }
    }
    void Silenzia() override { registro.Aggiungi("silenzio"); }
    void Azzera() override { registro.Aggiungi("azzera"); }

private:
    void Evento(int frame, const velmora::EventoMidi& e) override {
        registro.Aggiungi(std::to_string(suonati + frame) + " nota " + std::to_string(e.dato1));
    }

    velmora::Sorgente& sorgente;
    Registro& registro;
    int suonati = 0;
};

velmora::Sequenza Note(std::initializer_list<double> tempi) {
    velmora::Sequenza s;
    std::uint8_t n = 60;
    for (double t : tempi) {
        s.eventi.push_back({t, 0x90, n++, 100});
        s.durata = t;
    }
    return s;
}

class Riproduzione : public ::testing::Test {
protected:
    void SetUp() override {
        lettore.AlTermine([this] {
            std::lock_guard b(m);
            ++fini;
            cv.notify_all();
        });
    }
    bool Finito() {
        std::unique_lock b(m);
        return cv.wait_for(b, std::chrono::seconds(10), [this] { return fini > 0; });
    }

    Registro registro;
    std::mutex m;
    std::condition_variable cv;
    int fini = 0;
    SintetizzatoreFinto* finto = nullptr;
    velmora::Riproduzione lettore{[this](velmora::Sorgente& s, std::string&) {
        auto p = std::make_unique<SintetizzatoreFinto>(s, registro);
        finto = p.get();
        return p;
    }};
};

} // namespace

TEST_F(Riproduzione, EventsSoundAtTheirFramesCountedFromTheFirstPeriod) {
    ASSERT_EQ(lettore.Suona(Note({0, 0.023, 0.5})), "");
    EXPECT_EQ(registro.Copia(), std::vector<std::string>{"azzera"})
        << "nothing before the first period";
    EXPECT_EQ(lettore.Posizione(), 0.0);
    finto->Suona(400);
    EXPECT_DOUBLE_EQ(lettore.Posizione(), 0.4);
    finto->Suona(200);
    EXPECT_EQ(registro.Copia(),
              (std::vector<std::string>{"azzera", "0 nota 60", "23 nota 61", "500 nota 62"}));
    EXPECT_DOUBLE_EQ(lettore.Posizione(), 0.5) << "the tail counts as the end of the file";
    EXPECT_DOUBLE_EQ(lettore.Durata(), 0.5);
}

TEST_F(Riproduzione, TheReleaseTailIsPlayedBeforeTheEndAndTheSilence) {
    ASSERT_EQ(lettore.Suona(Note({0, 0.1})), "");
    finto->Suona(2099);
    EXPECT_TRUE(lettore.InRiproduzione()) << "two seconds of release after the last event";
    finto->Suona(1);
    EXPECT_FALSE(lettore.InRiproduzione());
    ASSERT_TRUE(Finito());
    EXPECT_EQ(registro.Copia(), (std::vector<std::string>{"azzera", "0 nota 60", "100 nota 61"}));
    lettore.Ferma();
    EXPECT_EQ(registro.Copia().back(), "silenzio");
    EXPECT_EQ(fini, 1);
}

TEST_F(Riproduzione, StopSilencesAtOnceAndTheNextFileStartsItsOwnClock) {
    ASSERT_EQ(lettore.Suona(Note({0, 0.3})), "");
    finto->Suona(100);
    lettore.Ferma();
    EXPECT_FALSE(lettore.InRiproduzione());
    finto->Suona(500); // the sound card goes on, with nothing to play
    ASSERT_EQ(lettore.Suona(Note({0, 0.3})), "");
    finto->Suona(400);
    ASSERT_EQ(lettore.Suona(Note({0})), ""); // a new file stops the one playing
    EXPECT_EQ(registro.Copia(),
              (std::vector<std::string>{"azzera", "0 nota 60", "silenzio", "silenzio", "azzera",
                                        "600 nota 60", "900 nota 61", "silenzio", "azzera"}));
    lettore.Ferma();
    EXPECT_EQ(fini, 0) << "a file stopped never reports its end";
}

TEST_F(Riproduzione, NothingSoundsAfterTheSilenceWithPeriodsOnAThreadOfTheirOwn) {
    ASSERT_EQ(lettore.Suona(Note({0})), "");
    std::atomic<bool> via{true};
    std::thread audio([&] {
        while (via) {
            finto->Suona(7);
        }
    });
    for (int i = 0; i < 20; ++i) {
        const std::size_t prima = registro.Copia().size();
        EXPECT_EQ(lettore.Suona(Note({0, 0.001, 0.002, 0.003, 0.004, 0.005})), "");
        // A silence and a reset, then some of the file's events.
        EXPECT_TRUE(registro.Attendi(prima + 3));
        lettore.Ferma();
    }
    via = false;
    audio.join();
    bool aperto = false; // between a reset and the next silence
    for (const std::string& voce : registro.Copia()) {
        if (voce == "azzera" || voce == "silenzio") {
            aperto = voce == "azzera";
        } else {
            EXPECT_TRUE(aperto) << voce;
        }
    }
}

TEST(RiproduzioneSenzaAudio, NoSynthesizerOrNoFileGivesTheMessageAndPlaysNothing) {
    int aperture = 0;
    velmora::Riproduzione lettore([&](velmora::Sorgente&, std::string& errore) {
        ++aperture;
        errore = "Nessun dispositivo audio disponibile";
        return nullptr;
    });
    EXPECT_EQ(lettore.Suona(Note({0})), "Nessun dispositivo audio disponibile");
    EXPECT_FALSE(lettore.InRiproduzione());
    EXPECT_NE(lettore.Suona("/nessuna/cartella/x.mid"), "");
    EXPECT_EQ(aperture, 1) << "an unreadable file never reaches the synthesizer";
    lettore.Ferma();
}

TEST(OrologioDiSistema, PeriodsFollowTheSystemClockUntilItIsDestroyed) {
    struct Conta final : velmora::Sorgente, velmora::Ricevente {
        std::mutex m;
        std::condition_variable cv;
        long long frame = 0;
        int frequenza = 0;
        void Periodo(int n, int hz, Ricevente&) override {
            std::lock_guard b(m);
            frame += n;
            frequenza = hz;
            cv.notify_all();
        }
        void Evento(int, const velmora::EventoMidi&) override {}
    } conta;
    const auto inizio = std::chrono::steady_clock::now();
    {
        velmora::OrologioDiSistema orologio(conta, conta);
        std::unique_lock b(conta.m);
        ASSERT_TRUE(
            conta.cv.wait_for(b, std::chrono::seconds(10), [&] { return conta.frame >= 30; }));
    }
    const auto trascorsi = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - inizio);
    EXPECT_EQ(conta.frequenza, 1000);
    EXPECT_LE(conta.frame, trascorsi.count()) << "never ahead of the system's clock";
}
