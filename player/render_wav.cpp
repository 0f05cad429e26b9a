#include "render_wav.h"

#include "piattaforma.h"
#include "sintesi_fluid.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace velmora {

namespace {

constexpr int kCanali = 2;
constexpr int kBlocco = 4096; // frames rendered per call

void Scrivi32(std::ofstream& out, std::uint32_t v) {
    const char b[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                       static_cast<char>(v >> 24)};
    out.write(b, 4);
}

void Intestazione(std::ofstream& out, std::uint32_t frequenza, std::uint32_t byteDati) {
    out.write("RIFF", 4);
    Scrivi32(out, 36 + byteDati);
    out.write("WAVEfmt ", 8);
    Scrivi32(out, 16);
    Scrivi32(out, 1 | (kCanali << 16)); // PCM, channels
    Scrivi32(out, frequenza);
    Scrivi32(out, frequenza * kCanali * 2);
    Scrivi32(out, (kCanali * 2) | (16 << 16)); // block align, bits per sample
    out.write("data", 4);
    Scrivi32(out, byteDati);
}

// Samples are written little-endian whatever the processor's order.
void ScriviCampioni(std::ofstream& out, const std::vector<std::int16_t>& campioni, int frame) {
    std::vector<char> b(static_cast<std::size_t>(frame) * kCanali * 2);
    for (std::size_t i = 0; i < b.size() / 2; ++i) {
        const auto v = static_cast<std::uint16_t>(campioni[i]);
        b[2 * i] = static_cast<char>(v);
        b[2 * i + 1] = static_cast<char>(v >> 8);
    }
    out.write(b.data(), static_cast<std::streamsize>(b.size()));
}

} // namespace

std::string RenderizzaWav(const Sequenza& sequenza, const std::string& uscita,
                          const OpzioniRender& opzioni) {
    if (opzioni.frequenza < 8000 || opzioni.frequenza > 96000) {
        return "Frequenza di campionamento non valida (da 8000 a 96000).";
    }
    ImpostazioniFluid impostazioni = NuoveImpostazioni();
    if (impostazioni) {
        fluid_settings_setnum(impostazioni.get(), "synth.sample-rate", opzioni.frequenza);
    }
    std::string errore;
    SynthFluid synth = NuovoSynth(impostazioni.get(), opzioni.soundFont, errore);
    if (!synth) {
        return errore;
    }
    const std::filesystem::path percorso = PercorsoDaUtf8(uscita);
    std::ofstream out(percorso, std::ios::binary | std::ios::trunc);
    if (!out) {
        return "Impossibile creare il file \"" + uscita + "\".";
    }
    const auto totale = static_cast<std::uint64_t>(
        std::llround((sequenza.durata + kCodaRender) * opzioni.frequenza));
    Intestazione(out, static_cast<std::uint32_t>(opzioni.frequenza),
                 static_cast<std::uint32_t>(totale * kCanali * 2));
    std::vector<std::int16_t> campioni(kBlocco * kCanali);
    std::uint64_t scritti = 0;
    auto renderFino = [&](std::uint64_t frame) {
        while (scritti < frame && out) {
            const int n = static_cast<int>(std::min<std::uint64_t>(kBlocco, frame - scritti));
            fluid_synth_write_s16(synth.get(), n, campioni.data(), 0, kCanali, campioni.data(), 1,
                                  kCanali);
            ScriviCampioni(out, campioni, n);
            scritti += n;
        }
    };
    for (const EventoMidi& e : sequenza.eventi) {
        renderFino(static_cast<std::uint64_t>(std::llround(e.secondi * opzioni.frequenza)));
        InviaEvento(synth.get(), e);
    }
    renderFino(totale);
    out.close();
    if (!out) {
        std::error_code e;
        std::filesystem::remove(percorso, e);
        return "Errore di scrittura sul file \"" + uscita + "\".";
    }
    return {};
}

} // namespace velmora
