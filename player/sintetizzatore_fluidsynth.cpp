#include "sintetizzatore_fluidsynth.h"

#include "sintesi_fluid.h"

#include <vector>

namespace velmora {

namespace {

struct ChiudiDriver {
    void operator()(fluid_audio_driver_t* d) const { delete_fluid_audio_driver(d); }
};

class SintetizzatoreFluid final : public Sintetizzatore {
public:
    SintetizzatoreFluid(ImpostazioniFluid i, SynthFluid s,
                        std::unique_ptr<fluid_audio_driver_t, ChiudiDriver> d)
        : impostazioni(std::move(i)), synth(std::move(s)), driver(std::move(d)) {}

    void Invia(const EventoMidi& e) override { InviaEvento(synth.get(), e); }
    void Silenzia() override { fluid_synth_all_sounds_off(synth.get(), -1); }
    void Azzera() override { fluid_synth_system_reset(synth.get()); }

private:
    // Destroyed in reverse order: the driver stops pulling sound before the synth goes.
    ImpostazioniFluid impostazioni;
    SynthFluid synth;
    std::unique_ptr<fluid_audio_driver_t, ChiudiDriver> driver;
};

} // namespace

std::unique_ptr<Sintetizzatore> ApriFluidSynth(const std::string& soundFont,
                                               const std::string& driver,
                                               const std::string& fileAudio, std::string& errore) {
    ImpostazioniFluid impostazioni = NuoveImpostazioni();
    SynthFluid synth = NuovoSynth(impostazioni.get(), soundFont, errore);
    if (!synth) {
        return nullptr;
    }
    if (!fileAudio.empty()) {
        fluid_settings_setstr(impostazioni.get(), "audio.file.name", fileAudio.c_str());
    }
    // JACK, which FluidSynth may prefer, would try to start a server of its own.
    const std::vector<std::string> prove = driver.empty()
                                               ? std::vector<std::string>{"pulseaudio", "alsa", ""}
                                               : std::vector<std::string>{driver};
    for (std::string nome : prove) {
        char* predefinito = nullptr;
        if (nome.empty() && fluid_settings_getstr_default(impostazioni.get(), "audio.driver",
                                                          &predefinito) == FLUID_OK) {
            nome = predefinito;
        }
        if (fluid_settings_setstr(impostazioni.get(), "audio.driver", nome.c_str()) != FLUID_OK) {
            continue; // not built into this FluidSynth
        }
        std::unique_ptr<fluid_audio_driver_t, ChiudiDriver> d(
            new_fluid_audio_driver(impostazioni.get(), synth.get()));
        if (d) {
            return std::make_unique<SintetizzatoreFluid>(std::move(impostazioni), std::move(synth),
                                                         std::move(d));
        }
    }
    errore = "Nessun dispositivo audio disponibile: impossibile ascoltare il file.";
    return nullptr;
}

std::unique_ptr<Sintetizzatore> ApriSintetizzatore(const std::string& soundFont,
                                                   std::string& errore) {
    return ApriFluidSynth(soundFont, "", "", errore);
}

} // namespace velmora
