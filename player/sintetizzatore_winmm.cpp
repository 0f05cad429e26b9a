// Windows without FluidSynth: the system's own MIDI synthesizer through the multimedia
// API. It needs no SoundFont and has no audio clock to follow: the system's clock times
// the events, with the timer's resolution raised to a millisecond while it is open.
#include "orologio_sistema.h"
#include "sintetizzatore.h"

#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

namespace velmora {

namespace {

class SintetizzatoreWinmm final : public Sintetizzatore, private Ricevente {
public:
    SintetizzatoreWinmm(HMIDIOUT u, Sorgente& sorgente) : uscita(u) {
        timeBeginPeriod(1);
        Ricevente& ricevente = *this; // the base is private: converted here, where it is visible
        orologio = std::make_unique<OrologioDiSistema>(sorgente, ricevente);
    }
    ~SintetizzatoreWinmm() override {
        orologio.reset(); // no event goes out to a closed device
        timeEndPeriod(1);
        midiOutReset(uscita);
        midiOutClose(uscita);
    }

    void Silenzia() override {
        for (DWORD canale = 0; canale < 16; ++canale) {
            midiOutShortMsg(uscita, (0xB0 | canale) | (120 << 8)); // all sound off
            midiOutShortMsg(uscita, (0xB0 | canale) | (123 << 8)); // all notes off
        }
    }

    void Azzera() override {
        midiOutReset(uscita);
        for (DWORD canale = 0; canale < 16; ++canale) {
            midiOutShortMsg(uscita, (0xB0 | canale) | (121 << 8));   // controllers
            midiOutShortMsg(uscita, (0xB0 | canale));                // bank 0
            midiOutShortMsg(uscita, (0xC0 | canale));                // program 0
            midiOutShortMsg(uscita, (0xE0 | canale) | (0x40 << 16)); // pitch centre
        }
    }

private:
    void Evento(int /*frame*/, const EventoMidi& e) override {
        midiOutShortMsg(uscita, e.stato | (DWORD{e.dato1} << 8) | (DWORD{e.dato2} << 16));
    }

    HMIDIOUT uscita;
    std::unique_ptr<OrologioDiSistema> orologio;
};

} // namespace

std::unique_ptr<Sintetizzatore> ApriSintetizzatore(const std::string& /*soundFont*/,
                                                   Sorgente& sorgente, std::string& errore) {
    HMIDIOUT uscita = nullptr;
    if (midiOutOpen(&uscita, MIDI_MAPPER, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR) {
        errore =
            "Nessun sintetizzatore MIDI di sistema disponibile: impossibile ascoltare il file.";
        return nullptr;
    }
    return std::make_unique<SintetizzatoreWinmm>(uscita, sorgente);
}

} // namespace velmora
