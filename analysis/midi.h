// Analysis of one Standard MIDI File: the whole file is loaded into memory, its
// header checked and every event of every track chunk walked once (passo.h). Construct it
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
#include <vector>

class lista;
namespace velmora::passo {
class Cursore;
}

class Midi {
public:
    // One track row: a track chunk, or for a format-0 file a MIDI channel.
    struct elementotraccia {
        std::string nomeTraccia;      // last track name event of the chunk
        std::uint8_t programma = 255; // first program change; 255 = none
        std::uint8_t canale = 255;    // its channel; 255 = none
        std::uint8_t attiva = 255;    // 1 once a note-on or note-off was seen
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
    // Whole seconds up to the last channel message of any chunk, through the tempo events
    // of every chunk: the player's figure for the files it reads whole (mappa_tempi.h).
    // DurataSecondi() follows the first chunk's tempo map up to the last note.
    std::uint32_t DurataRiproduzioneSecondi() const;
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

    // The soft-karaoke texts of the file: "@" text events, trimmed, in the order found.
    struct TestiKaraoke {
        std::vector<std::string> titoli;       // @T: title, author, then an extra line
        std::vector<std::string> informazioni; // @I
        std::string lingua;                    // @L (the first one)
        std::string versione;                  // @V (the first one)
    };

    // What the file says it is (titoli.cpp): raw bytes, trimmed; empty when the file does
    // not plainly say, and when Stato() is not 0. The title is the first @T text, else the
    // first track name of the first chunk (not in format 2, whose chunks are songs of their
    // own), unless it is a placeholder (titoli.h); the author is the second @T text, else a
    // credit at the very start of the first chunk ("Music by X").
    std::string Titolo() const;
    std::string Autore() const;
    std::string Lingua() const;
    const TestiKaraoke& Karaoke() const;

    // Per-row results, for rows 0 to ContaTracce() - 1; other rows read as empty rows.
    std::string NomeTraccia(std::int32_t i) const;
    std::uint8_t TracciaAttiva(std::int32_t i) const;
    std::string Strumento(std::int32_t i) const;

    // For finding duplicates (impronta.h): the hash of the file's bytes, none when the
    // file could not be read; the musical fingerprint, none when the analysis failed or
    // the file has no notes.
    std::optional<std::uint64_t> HashByte() const { return hashByte; }
    std::optional<std::uint64_t> ImprontaMusicale() const { return impronta; }

private:
    class LettoreTraccia; // the visitor of one chunk's events (tracce.cpp)

    void Esamina(std::span<const std::uint8_t> byte);
    void LeggiIntestazione(velmora::passo::Cursore& c);
    void CreaTracce();
    void LeggiTracce(velmora::passo::Cursore& c);
    void CalcolaDurata(lista& mappa);
    // Row i, or nullptr for rows beyond ContaTracce().
    const elementotraccia* Riga(std::int32_t i) const;

    std::string percorsoFile;
    std::int32_t formato = -1;
    std::uint32_t numeroTracce = 0;
    std::uint32_t divisione = 0;
    std::int32_t dimensione = 0;
    std::uint32_t durataSecondi = 0;
    std::uint32_t durataRiproduzione = 0;
    std::string metrica;
    std::string testoCopyright;
    std::string testoCompleto;
    std::string tipoTesto;
    TestiKaraoke karaoke;
    std::optional<std::string> primoNome; // the first track name of the first chunk
    std::string autoreDichiarato;         // the first credit naming an author
    std::uint32_t stato = 0;
    std::uint32_t ultimoTick = 0;
    std::unique_ptr<std::uint8_t[]> contenuto;
    std::vector<elementotraccia> elementiTraccia;
    std::optional<std::uint64_t> hashByte;
    velmora::RaccoltaNote note;
    std::optional<std::uint64_t> impronta;
};
