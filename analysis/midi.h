// Analysis of one Standard MIDI File: the whole file is loaded into memory, its
// header checked and every event of every track chunk walked once. Construct it
// with the file's path, call Analizza() once, read the results, destroy it.
// Nothing here throws: every failure becomes a value of Stato().
#pragma once

#include "impronta.h"
#include "piattaforma.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class lista;

class Midi {
public:
    // One track row: a track chunk, or for a format-0 file a MIDI channel.
    struct elementotraccia {
        std::uint32_t byteDichiarati = 0; // chunk length, cut to the bytes left in the file
        std::string nomeTraccia;          // last track name event of the chunk
        std::uint32_t byteLetti = 0;      // bytes of the chunk consumed so far
        std::uint8_t programma = 255;     // first program change; 255 = none
        std::uint8_t canale = 255;        // its channel; 255 = none
        std::uint8_t attiva = 255;        // 1 once a note-on or note-off was seen
    };

    explicit Midi(std::string percorsoFile); // no file access

    // Reads the whole file, then analyses it.
    void Analizza();
    // The same analysis on bytes already in memory (the path is not used).
    void Analizza(std::span<const std::uint8_t> contenuto);
    // The same analysis on a whole file read elsewhere, taken over without a copy;
    // nothing: the file could not be read.
    void Analizza(std::optional<velmora::ContenutoFile> letto);

    // Results. Numbers are 0 and texts take their failure forms when Stato() is not 0.
    std::uint32_t Stato() const { return stato; }
    std::uint32_t DurataSecondi() const;
    std::uint32_t DimensioneFile() const;
    std::uint32_t BattuteMedie() const;
    std::int32_t ContaTracce() const;
    std::int32_t TracceUsate() const;
    // Texts are raw bytes from the file.
    std::string TempoIniziale() const;
    std::string TipoMidi() const;
    std::string TipoTesto() const;
    std::string TestoCopyright() const;
    std::string TestoCompleto() const;

    // Per-row results, for rows 0 to ContaTracce() - 1; other rows read as empty rows.
    std::string NomeTraccia(std::int32_t i) const;
    std::uint8_t TracciaAttiva(std::int32_t i) const;
    std::string Strumento(std::int32_t i) const;

    // For finding duplicates (impronta.h): the hash of the file's bytes, none when the
    // file could not be read; the musical fingerprint, none when the analysis failed or
    // the file has no notes.
    std::optional<std::uint64_t> HashByte() const;
    std::optional<std::uint64_t> ImprontaMusicale() const;

    // The steps of the analysis and the byte readers they share.
    bool CaricaFile(); // loads the file into contenuto; false when it cannot be read
    void LeggiIntestazione();
    void CreaTracce();
    void LeggiTracce();
    // Copies the next n bytes to destinazione (which holds n bytes) and advances the
    // cursor; past the end of the file it sets stato 1 and fills destinazione with zeros.
    void Leggi(std::uint8_t* destinazione, std::uint32_t n);
    std::uint32_t LeggiNumero(std::uint32_t n); // big-endian, n from 1 to 4
    std::uint32_t LeggiVariabile(std::uint32_t traccia);
    void Salta(std::int64_t n) { cursore += n; }
    void Posiziona(std::int64_t posizione) { cursore = posizione; }

    // Read-only views of the internal state, for tests and diagnostics.
    std::int32_t Formato() const { return formato; }
    std::uint32_t NumeroTracce() const { return numeroTracce; }
    std::int64_t Cursore() const { return cursore; }
    const elementotraccia* Riga(std::int64_t i) const;

private:
    // Walk state of one track chunk, reset at the start of each chunk.
    struct statotraccia {
        std::uint32_t traccia = 0;
        std::uint8_t runningStatus = 0;
        std::uint32_t tick = 0;
        std::uint32_t tickNota = 0;
    };

    void Esamina();
    // Keeps a whole file's bytes as contenuto; false when there are none or too many.
    bool Tieni(std::optional<velmora::ContenutoFile> letto);
    // The next n bytes of contenuto, or nullptr (and stato 1) when they run past the end.
    const std::uint8_t* Prendi(std::uint32_t n);
    std::uint8_t LeggiByte();
    std::string LeggiTesto(std::uint32_t n); // n bytes, up to the first zero byte
    void LeggiTraccia(std::uint32_t i, lista& mappa);
    bool EventiCanaleRapidi(statotraccia& s, elementotraccia& r);
    void EventoCanale(statotraccia& s, std::uint8_t b, std::uint8_t status);
    // Records a program change or a note in the row the format assigns to it, and
    // gathers note-ons for the fingerprint; velocita is the second data byte.
    void Registra(statotraccia& s, std::uint8_t status, std::uint8_t dato, std::uint8_t velocita);
    void EventoMeta(statotraccia& s, lista& mappa);
    void EventoTesto(statotraccia& s);
    void EventoSysex(statotraccia& s);
    void CalcolaDurata(lista& mappa);

    std::string percorsoFile;
    std::int32_t formato = -1;
    std::uint32_t numeroTracce = 0;
    std::uint32_t divisione = 0;
    std::int32_t dimensione = 0;
    std::uint32_t durataSecondi = 0;
    std::string metrica;
    std::string testoCopyright;
    std::string testoCompleto;
    std::string tipoTesto;
    // 64 bits: skips may carry the cursor far past the end of the buffer.
    std::int64_t cursore = 0;
    std::uint32_t stato = 0;
    std::uint32_t ultimoTick = 0;
    std::unique_ptr<std::uint8_t[]> contenuto;
    std::vector<elementotraccia> elementiTraccia;
    std::optional<std::uint64_t> hashByte;
    velmora::RaccoltaNote note;
    std::optional<std::uint64_t> impronta;
};

// The readers every event goes through, inline for the speed of the walk.

inline const std::uint8_t* Midi::Prendi(std::uint32_t n) {
    if (cursore < 0 || cursore + n > dimensione) {
        stato = 1;
        return nullptr;
    }
    const std::uint8_t* p = contenuto.get() + cursore;
    cursore += n;
    return p;
}

inline std::uint8_t Midi::LeggiByte() {
    const std::uint8_t* p = Prendi(1);
    return p == nullptr ? 0 : *p;
}

inline std::uint32_t Midi::LeggiVariabile(std::uint32_t traccia) {
    elementotraccia* riga = traccia < elementiTraccia.size() ? &elementiTraccia[traccia] : nullptr;
    std::uint32_t valore = 0;
    // At most four bytes: after the fourth the value stands even if its top bit is set.
    for (int k = 0; k < 4; ++k) {
        if (riga != nullptr) {
            ++riga->byteLetti;
        }
        const std::uint8_t b = LeggiByte();
        valore = valore * 128 + (b & 0x7F);
        if (b < 0x80) {
            break;
        }
    }
    return valore;
}
