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
    std::string metrica;
    std::string testoCopyright;
    std::string testoCompleto;
    std::string tipoTesto;
    std::uint32_t stato = 0;
    std::uint32_t ultimoTick = 0;
    std::unique_ptr<std::uint8_t[]> contenuto;
    std::vector<elementotraccia> elementiTraccia;
    std::optional<std::uint64_t> hashByte;
    velmora::RaccoltaNote note;
    std::optional<std::uint64_t> impronta;
};
