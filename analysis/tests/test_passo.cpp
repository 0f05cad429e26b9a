// The one event walk: the cursor's reads, the fast path against the checked one, and
// the rules where the analysis and the player differ.
#include "costruttore_midi.h"
#include "passo.h"

#include <gtest/gtest.h>

#include <string>

using namespace prova;
using velmora::passo::Cursore;
using velmora::passo::RegoleAnalisi;
using velmora::passo::RegolePlayer;

namespace {

// Writes every event down; meta and system-exclusive events are skipped by their length.
struct Registro {
    std::string eventi;
    void Canale(std::uint64_t tick, std::uint8_t status, std::uint8_t d1, std::uint8_t d2) {
        eventi += std::to_string(tick) + ":" + std::to_string(status) + "," + std::to_string(d1) +
                  "," + std::to_string(d2) + " ";
    }
    bool Altro(Cursore& c, std::uint64_t tick, std::uint8_t status) {
        eventi += std::to_string(tick) + ":altro" + std::to_string(status) + " ";
        if (status == 0xFF) {
            c.Byte();
        } else if (status != 0xF0) {
            return false;
        }
        c.Prendi(c.Vlq());
        return true;
    }
};

// The events of `traccia` walked from the start of `byte` up to the track's end.
template <class Regole> std::string Cammina(const Bytes& byte, std::size_t traccia) {
    Cursore c(byte);
    Registro r;
    std::uint64_t tick = 0;
    velmora::passo::Traccia<Regole>(c, traccia, tick, r);
    return r.eventi + (c.Fallito() ? "fallito " : "") + std::to_string(c.Posizione());
}

// The same events, every one through the checked path.
template <class Regole> std::string Controllato(const Bytes& byte) {
    Cursore c(byte);
    Registro r;
    std::uint64_t tick = 0;
    std::uint8_t corrente = 0;
    while (c.Posizione() < byte.size() &&
           velmora::passo::EventoControllato<Regole>(c, tick, corrente, r)) {
    }
    return r.eventi + (c.Fallito() ? "fallito " : "") + std::to_string(c.Posizione());
}

} // namespace

TEST(Cursore, LettureControllateELibere) {
    const Bytes b = {0x81, 0x80, 0x80, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x12, 0x34};
    Cursore c(b);
    EXPECT_EQ(c.Vlq(), 2097152u);
    EXPECT_EQ(c.Posizione(), 4u);
    EXPECT_EQ(c.Vlq(), 268435455u); // no fifth byte
    EXPECT_EQ(c.Numero(3), 0x7F1234u);
    EXPECT_FALSE(c.Fallito());
    // Past the end nothing is taken and the position stays; the failure holds for good.
    EXPECT_EQ(c.Numero(1), 0u);
    EXPECT_EQ(c.Posizione(), 11u);
    c.Posiziona(0);
    EXPECT_EQ(c.Byte(), 0);
    EXPECT_TRUE(c.Fallito());
    // Strict: a fourth byte with its top bit set breaks the number.
    Cursore stretto(b);
    stretto.Posiziona(4);
    stretto.Vlq<true>();
    EXPECT_TRUE(stretto.Fallito());
    // Unchecked moves past the end; the next checked read fails.
    Cursore libero(b);
    libero.Posiziona(10);
    EXPECT_EQ(libero.ByteLibero(), 0x34);
    EXPECT_EQ(libero.ByteLibero(), 0);
    libero.Salta(100);
    EXPECT_EQ(libero.Posizione(), 112u);
    EXPECT_FALSE(libero.Fallito());
    libero.Byte();
    EXPECT_TRUE(libero.Fallito());
}

TEST(Passo, PercorsoRapidoComeQuelloControllato) {
    // Deltas of one to four bytes, running status across a meta and a system-exclusive
    // event, messages of one and two data bytes, data bytes of 0x80 and above as read.
    const Bytes traccia =
        Unisci({Evento(0, {0x90, 60, 100}), Evento(200, {62, 0xCC}), Meta(0, 0x01, "x"),
                Evento(0x3FFF, {64, 1}), Sysex(5, 2, {0x01, 0xF7}), Evento(0x1FFFFF, {0xC3, 7}),
                Evento(0, {8}), Evento(0x0FFFFFFF, {0xE0, 0, 0x40}), Evento(1, {0xD2, 0x85}),
                Evento(3, {0xB1, 7, 100}), FineTraccia()});
    Bytes conCoda = traccia;
    conCoda.resize(traccia.size() + 16, 0x90);
    for (const std::string& eventi :
         {Cammina<RegolePlayer>(traccia, traccia.size()), Controllato<RegolePlayer>(traccia),
          Cammina<RegoleAnalisi>(traccia, traccia.size()),
          Cammina<RegoleAnalisi>(conCoda, traccia.size())}) {
        EXPECT_EQ(eventi, Controllato<RegoleAnalisi>(traccia));
    }
    const std::string eventi = Controllato<RegoleAnalisi>(traccia);
    EXPECT_NE(eventi.find("200:144,62,204 200:altro255 16583:144,64,1"), std::string::npos)
        << eventi;
    EXPECT_NE(eventi.find("270549194:224,0,64 270549195:210,133,0"), std::string::npos) << eventi;
}

TEST(Passo, RegoleDellAnalisiEDelPlayer) {
    // A data byte before any status, then F5 with one data byte in running status.
    const Bytes strani = Unisci({Evento(0, {5}), Evento(1, {0xF5, 6}), Evento(2, {7})});
    EXPECT_EQ(Cammina<RegoleAnalisi>(strani, strani.size()), "0:0,5,0 1:245,6,0 3:245,7,0 7");
    EXPECT_EQ(Cammina<RegolePlayer>(strani, strani.size()), "0:altro0 2");
    // A delta of five bytes: the analysis ends it after four (the fifth is a data byte
    // in running status 0), the player breaks there.
    const Bytes lungo = {0x81, 0x81, 0x81, 0x81, 0x01, 0x00, 0x02};
    EXPECT_EQ(Cammina<RegoleAnalisi>(lungo, lungo.size()), "2113665:0,1,0 2113665:0,2,0 7");
    EXPECT_EQ(Cammina<RegolePlayer>(lungo, lungo.size()), "fallito 4");
    // A note cut short before its second data byte.
    const Bytes tagliata = {0x00, 0x90, 60};
    EXPECT_EQ(Cammina<RegoleAnalisi>(tagliata, 3), "0:144,60,0 4");
    EXPECT_EQ(Cammina<RegolePlayer>(tagliata, 3), "fallito 3");
    // A track of no bytes: the analysis still walks one event.
    EXPECT_EQ(Cammina<RegoleAnalisi>(tagliata, 0), "0:144,60,0 4");
    EXPECT_EQ(Cammina<RegolePlayer>(tagliata, 0), "0");
}
