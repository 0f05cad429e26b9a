// Helpers for the tests of the analyser and of what reports its results.
#pragma once

#include "cartella_temporanea.h"
#include "costruttore_midi.h"
#include "midi.h"

#include <gtest/gtest.h>

#include <string>

namespace prova {

// The complete 38-byte format-0 file: program 5, one note of 1920 ticks at 480 per quarter.
inline const Bytes kFile38 = {0x4D, 0x54, 0x68, 0x64, 0x00, 0x00, 0x00, 0x06, 0x00, 0x00,
                              0x00, 0x01, 0x01, 0xE0, 0x4D, 0x54, 0x72, 0x6B, 0x00, 0x00,
                              0x00, 0x10, 0x00, 0xC0, 0x05, 0x00, 0x90, 0x3C, 0x40, 0x8F,
                              0x00, 0x80, 0x3C, 0x00, 0x00, 0xFF, 0x2F, 0x00};

// Analyses bytes held in memory.
inline Midi Analizzato(const Bytes& bytes) {
    Midi m("memoria.mid");
    m.Analizza(bytes);
    return m;
}

// Note on and off for channel 0 with the given deltas.
inline Bytes Nota(std::uint32_t deltaInizio, std::uint32_t deltaFine, std::uint8_t canale = 0) {
    return Unisci({Evento(deltaInizio, {static_cast<std::uint8_t>(0x90 | canale), 60, 100}),
                   Evento(deltaFine, {static_cast<std::uint8_t>(0x80 | canale), 60, 0})});
}

// Expects the fixed results of a failed analysis with the given stato.
inline void AttendiFallimento(const Midi& m, std::uint32_t stato) {
    const std::string segno = stato == 1 ? "?" : "-";
    EXPECT_EQ(m.Stato(), stato);
    EXPECT_EQ(m.DurataSecondi(), 0u);
    EXPECT_EQ(m.DimensioneFile(), 0u);
    EXPECT_EQ(m.BattuteMedie(), 0u);
    EXPECT_EQ(m.ContaTracce(), 0);
    EXPECT_EQ(m.TracceUsate(), 0);
    EXPECT_EQ(m.TempoIniziale(), segno + "/" + segno);
    EXPECT_EQ(m.TipoMidi(), segno);
    EXPECT_EQ(m.TipoTesto(), segno);
    EXPECT_EQ(m.TestoCopyright(), segno);
    EXPECT_EQ(m.TestoCompleto(), "?");
}

} // namespace prova
