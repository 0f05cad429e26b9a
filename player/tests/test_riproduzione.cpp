#include "riproduzione.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

// A synthesizer that records the calls it receives, in order.
struct Registro {
    std::mutex m;
    std::condition_variable cambiato;
    std::vector<std::string> chiamate;

    void Aggiungi(std::string c) {
        std::lock_guard b(m);
        chiamate.push_back(std::move(c));
        cambiato.notify_all();
    }
    bool Attendi(std::size_t n) {
        std::unique_lock b(m);
        return cambiato.wait_for(b, std::chrono::seconds(10), [&] { return chiamate.size() >= n; });
    }
    std::vector<std::string> Copia() {
        std::lock_guard b(m);
        return chiamate;
    }
};

class Registratore final : public velmora::Sintetizzatore {
public:
    explicit Registratore(Registro& r) : registro(r) {}
    void Invia(const velmora::EventoMidi& e) override {
        registro.Aggiungi("nota " + std::to_string(e.dato1));
    }
    void Silenzia() override { registro.Aggiungi("silenzio"); }
    void Azzera() override { registro.Aggiungi("azzera"); }

private:
    Registro& registro;
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

} // namespace

TEST(Riproduzione, PlaysEveryEventInOrderThenSaysItHasEnded) {
    Registro registro;
    velmora::Riproduzione lettore(
        [&](std::string&) { return std::make_unique<Registratore>(registro); });
    std::mutex m;
    std::condition_variable cv;
    int fini = 0;
    lettore.AlTermine([&] {
        std::lock_guard b(m);
        ++fini;
        cv.notify_all();
    });
    ASSERT_EQ(lettore.Suona(Note({0, 0.02, 0.04})), "");
    EXPECT_DOUBLE_EQ(lettore.Durata(), 0.04);
    {
        std::unique_lock b(m);
        ASSERT_TRUE(cv.wait_for(b, std::chrono::seconds(10), [&] { return fini == 1; }));
    }
    EXPECT_FALSE(lettore.InRiproduzione());
    EXPECT_EQ(lettore.Posizione(), 0.0);
    EXPECT_EQ(registro.Copia(),
              (std::vector<std::string>{"azzera", "nota 60", "nota 61", "nota 62"}));
}

TEST(Riproduzione, StopSilencesAtOnceAndANewFileStopsTheOldOne) {
    Registro registro;
    bool finito = false;
    velmora::Riproduzione lettore(
        [&](std::string&) { return std::make_unique<Registratore>(registro); });
    lettore.AlTermine([&] { finito = true; });
    ASSERT_EQ(lettore.Suona(Note({0, 600})), "");
    ASSERT_TRUE(registro.Attendi(2));
    EXPECT_TRUE(lettore.InRiproduzione());
    EXPECT_GE(lettore.Posizione(), 0.0);
    ASSERT_EQ(lettore.Suona(Note({0, 600})), ""); // the next file
    ASSERT_TRUE(registro.Attendi(5));
    lettore.Ferma();
    EXPECT_FALSE(lettore.InRiproduzione());
    EXPECT_FALSE(finito);
    EXPECT_EQ(registro.Copia(), (std::vector<std::string>{"azzera", "nota 60", "silenzio", "azzera",
                                                          "nota 60", "silenzio"}));
}

TEST(Riproduzione, NoSynthesizerOrNoFileGivesTheMessageAndPlaysNothing) {
    int aperture = 0;
    velmora::Riproduzione lettore([&](std::string& errore) {
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
