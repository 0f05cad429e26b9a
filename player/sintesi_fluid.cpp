#include "sintesi_fluid.h"

#include "piattaforma.h"

#include <array>
#include <filesystem>

namespace velmora {

std::string SoundFontPredefinita() {
    // Debian's alternatives point default-GM at the installed General MIDI SoundFont
    // (timgm6mb-soundfont, fluid-soundfont-gm, ...).
    constexpr std::array kPosti = {"/usr/share/sounds/sf2/default-GM.sf2",
                                   "/usr/share/sounds/sf3/default-GM.sf3",
                                   "/usr/share/sounds/sf2/TimGM6mb.sf2"};
    for (const char* p : kPosti) {
        std::error_code e;
        if (std::filesystem::is_regular_file(p, e)) {
            return p;
        }
    }
    return {};
}

ImpostazioniFluid NuoveImpostazioni() {
    for (int livello : {FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG}) {
        fluid_set_log_function(livello, nullptr, nullptr);
    }
    ImpostazioniFluid impostazioni(new_fluid_settings());
    if (impostazioni) {
        // FluidSynth's default gain (0.2) leaves a typical file far quieter than other
        // players; 0.5 is still clear of clipping on dense arrangements.
        fluid_settings_setnum(impostazioni.get(), "synth.gain", 0.5);
    }
    return impostazioni;
}

SynthFluid NuovoSynth(fluid_settings_t* impostazioni, const std::string& soundFont,
                      std::string& errore) {
    const std::string file = soundFont.empty() ? SoundFontPredefinita() : soundFont;
    if (file.empty()) {
        errore = "Nessun SoundFont General MIDI trovato: installa il pacchetto "
                 "timgm6mb-soundfont oppure scegline uno (.sf2 o .sf3).";
        return nullptr;
    }
    SynthFluid synth(impostazioni ? new_fluid_synth(impostazioni) : nullptr);
    if (!synth) {
        errore = "Impossibile avviare il sintetizzatore FluidSynth.";
        return nullptr;
    }
    std::error_code e;
    if (!std::filesystem::is_regular_file(PercorsoDaUtf8(file), e) ||
        fluid_synth_sfload(synth.get(), file.c_str(), 1) == FLUID_FAILED) {
        errore = "Il SoundFont \"" + file + "\" non esiste o non è valido.";
        return nullptr;
    }
    return synth;
}

void InviaEvento(fluid_synth_t* synth, const EventoMidi& e) {
    const int canale = e.stato & 0x0F;
    switch (e.stato & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(synth, canale, e.dato1);
        break;
    case 0x90:
        fluid_synth_noteon(synth, canale, e.dato1, e.dato2); // velocity 0 is a note-off
        break;
    case 0xA0:
        fluid_synth_key_pressure(synth, canale, e.dato1, e.dato2);
        break;
    case 0xB0:
        fluid_synth_cc(synth, canale, e.dato1, e.dato2);
        break;
    case 0xC0:
        fluid_synth_program_change(synth, canale, e.dato1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(synth, canale, e.dato1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(synth, canale, e.dato1 | (e.dato2 << 7));
        break;
    default:
        break;
    }
}

} // namespace velmora
