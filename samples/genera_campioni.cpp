// Writes the demo folder of MIDI files byte by byte: songs of formats 0, 1 and
// 2, a karaoke file, a file with lyric events, one with a copyright notice and
// a GS patch name, a damaged file, a file shorter than a second, and a
// sub-folder tree with more songs.
//
//   genera_campioni CARTELLA              writes the files into the folder
//   genera_campioni --confronta CARTELLA  checks that the folder holds exactly
//                                         these files, byte for byte
#include "costruttore_midi.h"
#include "piattaforma.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using prova::Bytes;

constexpr std::uint16_t Divisione = 480; // ticks per quarter note
constexpr std::uint32_t Croma = Divisione / 2;
constexpr std::uint8_t Batteria = 9;

// General MIDI programs used by the songs.
enum Programma : std::uint8_t {
    Pianoforte = 0,
    Celesta = 8,
    Carillon = 10,
    Fisarmonica = 21,
    ChitarraNylon = 24,
    BassoAcustico = 32,
    BassoElettrico = 33,
    Violino = 40,
    Archi = 48,
    Flauto = 73,
};

struct Evento {
    std::uint32_t tick;
    int ordine; // at the same tick: texts and settings, then note offs, then note ons
    Bytes dati;
};

// One track chunk built from events at absolute ticks.
class Traccia {
public:
    void Aggiungi(std::uint32_t tick, Bytes dati, int ordine = 0) {
        eventi.push_back({tick, ordine, std::move(dati)});
    }
    void Meta(std::uint32_t tick, std::uint8_t tipo, std::string_view testo) {
        Aggiungi(tick, prova::Unisci({{0xFF, tipo},
                                      prova::Vlq(static_cast<std::uint32_t>(testo.size())),
                                      prova::Testo(testo)}));
    }
    void Tempo(std::uint32_t tick, std::uint32_t microsecondi) {
        Aggiungi(tick, prova::Unisci({{0xFF, 0x51, 0x03}, prova::BigEndian(microsecondi, 3)}));
    }
    void Metrica(std::uint32_t tick, std::uint8_t nn, std::uint8_t dd) {
        Aggiungi(tick, {0xFF, 0x58, 0x04, nn, dd, 24, 8});
    }
    void Strumento(std::uint32_t tick, std::uint8_t canale, std::uint8_t programma) {
        Aggiungi(tick, {static_cast<std::uint8_t>(0xC0 | canale), programma});
    }
    // A system-exclusive message: F0, its length, the data and the closing F7.
    void Esclusivo(std::uint32_t tick, const Bytes& dati) {
        Aggiungi(
            tick,
            prova::Unisci(
                {{0xF0}, prova::Vlq(static_cast<std::uint32_t>(dati.size() + 1)), dati, {0xF7}}));
    }
    void Nota(std::uint32_t tick, std::uint8_t canale, std::uint8_t nota, std::uint32_t durata,
              std::uint8_t velocita) {
        Aggiungi(tick, {static_cast<std::uint8_t>(0x90 | canale), nota, velocita}, 2);
        Aggiungi(tick + durata, {static_cast<std::uint8_t>(0x80 | canale), nota, 64}, 1);
    }
    // Adds every event of another track (a format 0 file merges its parts).
    void Unisci(const Traccia& altra) {
        eventi.insert(eventi.end(), altra.eventi.begin(), altra.eventi.end());
    }
    // The chunk: events in time order with their delta times, then the end of
    // the track.
    Bytes Chunk() const {
        std::vector<Evento> ordinati = eventi;
        std::stable_sort(ordinati.begin(), ordinati.end(), [](const Evento& a, const Evento& b) {
            return a.tick != b.tick ? a.tick < b.tick : a.ordine < b.ordine;
        });
        Bytes corpo;
        std::uint32_t ultimo = 0;
        for (const Evento& e : ordinati) {
            const Bytes delta = prova::Vlq(e.tick - ultimo);
            corpo.insert(corpo.end(), delta.begin(), delta.end());
            corpo.insert(corpo.end(), e.dati.begin(), e.dati.end());
            ultimo = e.tick;
        }
        const Bytes fine = prova::FineTraccia(Croma);
        corpo.insert(corpo.end(), fine.begin(), fine.end());
        return prova::Traccia(corpo);
    }

private:
    std::vector<Evento> eventi;
};

Bytes File(std::uint16_t formato, const std::vector<Traccia>& tracce) {
    Bytes file = prova::Intestazione(formato, static_cast<std::uint16_t>(tracce.size()), Divisione);
    for (const Traccia& traccia : tracce) {
        const Bytes chunk = traccia.Chunk();
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

std::uint32_t Microsecondi(std::uint32_t bpm) {
    return 60'000'000 / bpm;
}

// A note name such as "C5", "F#4" or "Bb3" as a MIDI note number (C4 = 60).
std::uint8_t NumeroNota(std::string_view nome) {
    static const std::map<char, int> gradi{{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                           {'G', 7}, {'A', 9}, {'B', 11}};
    int nota = gradi.at(nome[0]);
    std::size_t i = 1;
    if (nome[i] == '#') {
        ++nota;
        ++i;
    } else if (nome[i] == 'b') {
        --nota;
        ++i;
    }
    return static_cast<std::uint8_t>(12 * (std::stoi(std::string(nome.substr(i))) + 1) + nota);
}

// A melody written as "E5:2 G5:1 R:1 ...": note (or R for a rest) and length
// in eighth notes; bar lines "|" are ignored. Returns the tick of each note.
std::vector<std::uint32_t> Melodia(Traccia& traccia, std::uint32_t inizio, std::uint8_t canale,
                                   std::string_view note, std::uint8_t velocita) {
    std::vector<std::uint32_t> attacchi;
    std::istringstream parole{std::string(note)};
    std::string parola;
    std::uint32_t tick = inizio;
    while (parole >> parola) {
        if (parola == "|") {
            continue;
        }
        const std::size_t due = parola.find(':');
        const std::uint32_t durata = Croma * std::stoul(parola.substr(due + 1));
        const std::string nome = parola.substr(0, due);
        if (nome != "R") {
            traccia.Nota(tick, canale, NumeroNota(nome), durata * 9 / 10, velocita);
            attacchi.push_back(tick);
        }
        tick += durata;
    }
    return attacchi;
}

// Chords written as "C:8 Am:8 G7:4 ...": root, "m" for minor, "7" for the
// dominant seventh, length in eighths. Each chord is held in the middle
// register, and its root played by the bass every `passo` eighths.
void Accordi(Traccia& armonia, std::uint8_t canaleArmonia, Traccia& basso, std::uint8_t canaleBasso,
             std::uint32_t inizio, std::string_view accordi, std::uint32_t passo) {
    std::istringstream parole{std::string(accordi)};
    std::string parola;
    std::uint32_t tick = inizio;
    while (parole >> parola) {
        const std::size_t due = parola.find(':');
        const std::uint32_t durata = Croma * std::stoul(parola.substr(due + 1));
        std::string nome = parola.substr(0, due);
        const bool settima = nome.back() == '7';
        if (settima) {
            nome.pop_back();
        }
        const bool minore = nome.size() > 1 && nome.back() == 'm';
        if (minore) {
            nome.pop_back();
        }
        const std::uint8_t radice = NumeroNota(nome + "4");
        std::vector<int> intervalli{0, minore ? 3 : 4, 7};
        if (settima) {
            intervalli.push_back(10);
        }
        for (int intervallo : intervalli) {
            armonia.Nota(tick, canaleArmonia, static_cast<std::uint8_t>(radice - 5 + intervallo),
                         durata - 10, 58);
        }
        for (std::uint32_t t = 0; t < durata; t += Croma * passo) {
            const std::uint8_t nota = (t / (Croma * passo)) % 2 == 0 ? radice - 24 : radice - 17;
            basso.Nota(tick + t, canaleBasso, nota, Croma * passo - 20, 80);
        }
        tick += durata;
    }
}

// A drum part on the standard kit: for each eighth of the bar, the drum notes
// struck on it.
void Ritmo(Traccia& traccia, std::uint32_t inizio, int battute,
           const std::vector<std::vector<std::uint8_t>>& battuta) {
    traccia.Strumento(inizio, Batteria, 0);
    std::uint32_t tick = inizio;
    for (int b = 0; b < battute; ++b) {
        for (const std::vector<std::uint8_t>& colpi : battuta) {
            for (std::uint8_t colpo : colpi) {
                traccia.Nota(tick, Batteria, colpo, Croma / 2, colpo == 42 ? 60 : 96);
            }
            tick += Croma;
        }
    }
}

// One text event of the given meta type per sung note.
template <std::size_t N>
void Sillabe(Traccia& traccia, std::uint8_t tipo, const std::vector<std::uint32_t>& tick,
             const char* const (&sillabe)[N]) {
    if (tick.size() != N) {
        throw std::logic_error("le sillabe non corrispondono alle note");
    }
    for (std::size_t i = 0; i < N; ++i) {
        traccia.Meta(tick[i], tipo, sillabe[i]);
    }
}

// Drum notes of the General MIDI kit.
constexpr std::uint8_t Cassa = 36, Rullante = 38, Charleston = 42, Tamburello = 54;

Traccia Conduttore(std::string_view titolo, std::uint32_t bpm, std::uint8_t nn, std::uint8_t dd) {
    Traccia traccia;
    traccia.Meta(0, 0x03, titolo);
    traccia.Metrica(0, nn, dd);
    traccia.Tempo(0, Microsecondi(bpm));
    return traccia;
}

Traccia Parte(std::string_view nome, std::uint8_t canale, std::uint8_t programma) {
    Traccia traccia;
    traccia.Meta(0, 0x03, nome);
    traccia.Strumento(0, canale, programma);
    return traccia;
}

// The Roland GS message that names the current patch: address 40 01 00, the
// name in 16 characters, the checksum.
Bytes NomePatchGs(std::string nome) {
    nome.resize(16, ' ');
    Bytes dati{0x41, 0x10, 0x42, 0x12, 0x40, 0x01, 0x00};
    dati.insert(dati.end(), nome.begin(), nome.end());
    unsigned somma = 0;
    for (std::size_t i = 4; i < dati.size(); ++i) {
        somma += dati[i];
    }
    dati.push_back(static_cast<std::uint8_t>((128 - somma % 128) % 128));
    return dati;
}

// Type 0: one track with every part, channel by channel.
Bytes CaffeAlMattino() {
    Traccia brano = Conduttore("Caff\xE8 al mattino", 104, 4, 2);
    brano.Strumento(0, 0, Pianoforte);
    brano.Strumento(0, 1, Archi);
    brano.Strumento(0, 2, BassoElettrico);
    Melodia(brano, 0, 0,
            "E5:2 G5:2 A5:2 G5:2 | E5:2 C5:2 D5:4 | E5:2 G5:2 A5:2 C6:2 | B5:4 G5:4 | "
            "A5:2 A5:2 G5:2 E5:2 | F5:2 E5:2 D5:4 | E5:2 D5:2 C5:2 D5:2 | C5:8",
            92);
    Accordi(brano, 1, brano, 2, 0, "C:8 Am:8 C:8 G:8 F:8 Dm:8 G7:8 C:8", 2);
    Ritmo(brano, 0, 8,
          {{Cassa, Charleston},
           {Charleston},
           {Rullante, Charleston},
           {Charleston},
           {Cassa, Charleston},
           {Charleston},
           {Rullante, Charleston},
           {Charleston}});
    return File(0, {brano});
}

// Type 1: a waltz in four tracks.
Bytes NotteSulLago() {
    Traccia pianoforte = Parte("Pianoforte", 0, Pianoforte);
    Traccia archi = Parte("Archi", 1, Archi);
    Traccia basso = Parte("Contrabbasso", 2, BassoAcustico);
    Melodia(pianoforte, 0, 0,
            "A4:2 C5:2 E5:2 | D5:4 C5:2 | B4:2 D5:2 F5:2 | E5:6 | C5:2 E5:2 A5:2 | G5:4 F5:2 | "
            "E5:2 D5:2 C5:2 | B4:6 | A4:2 C5:2 E5:2 | D5:4 C5:2 | B4:2 D5:2 F5:2 | E5:4 D5:2 | "
            "C5:2 B4:2 A4:2 | G#4:4 B4:2 | A4:6 | A4:6",
            88);
    Accordi(archi, 1, basso, 2, 0,
            "Am:6 Dm:6 G:6 C:6 Am:6 Dm:6 Am:6 E:6 Am:6 Dm:6 G:6 C:6 F:6 E:6 Am:6 Am:6", 6);
    return File(1, {Conduttore("Notte sul lago", 84, 3, 2), pianoforte, archi, basso});
}

// Type 2: three independent patterns, each with its own tempo.
Bytes TreVariazioni() {
    const char* const variazioni[] = {
        "C5:2 E5:2 G5:2 E5:2 | F5:2 D5:2 B4:4 | C5:2 E5:2 G5:2 C6:2 | G5:8",
        "C5:1 D5:1 E5:1 F5:1 G5:2 E5:2 | F5:1 G5:1 A5:1 B5:1 C6:4 | G5:2 E5:2 D5:2 B4:2 | C5:8",
        "C5:3 E5:1 G5:4 | A5:3 G5:1 E5:4 | F5:2 E5:2 D5:2 B4:2 | C5:8",
    };
    const std::uint32_t tempi[] = {96, 120, 72};
    std::vector<Traccia> tracce;
    for (int i = 0; i < 3; ++i) {
        Traccia traccia = Parte("Variazione " + std::to_string(i + 1), 0, Pianoforte);
        traccia.Metrica(0, 4, 2);
        traccia.Tempo(0, Microsecondi(tempi[i]));
        for (int ripresa = 0; ripresa < 2; ++ripresa) {
            Melodia(traccia, ripresa * 16 * Croma, 0, variazioni[i], 90);
        }
        tracce.push_back(traccia);
    }
    return File(2, tracce);
}

// Karaoke: the "@K" marker, "@T" title lines, and one syllable per text event,
// "\" starting a verse and "/" a line.
Bytes CanzoneDelMare() {
    Traccia parole;
    parole.Meta(0, 0x03, "Words");
    for (const char* testata : {"@KMIDI KARAOKE FILE", "@V0100", "@IVelmora - karaoke di prova",
                                "@LITA", "@TCanzone del mare", "@TTarvo Software"}) {
        parole.Meta(0, 0x01, testata);
    }
    Traccia voce = Parte("Melodia", 0, Flauto);
    const std::uint32_t attacco = 8 * Croma;
    const std::vector<std::uint32_t> tick = Melodia(
        voce, attacco, 0,
        "C5:2 C5:1 D5:1 F5:4 F5:2 G5:2 A5:2 F5:2 | G5:2 G5:1 A5:1 Bb5:4 A5:2 G5:2 F5:2 G5:2 | "
        "A5:2 A5:1 Bb5:1 C6:4 A5:2 F5:2 G5:2 A5:2 | G5:2 F5:1 E5:1 D5:2 E5:2 G5:2 E5:1 E5:1 F5:4",
        100);
    const char* const sillabe[] = {
        "\\Sul ", "ma",  "re ", "blu, ", "la ",   "lu",    "na ", "va",  "/e ",  "can", "ta ",
        "pia",    "no ", "la ", "cit",   "t\xE0", "\\Le ", "on",  "de ", "can",  "ta",  "no ",
        "con ",   "me ", "/fi", "no ",   "al ",   "mat",   "ti",  "no ", "che ", "ver", "r\xE0"};
    Sillabe(parole, 0x01, tick, sillabe);
    Traccia accompagnamento = Parte("Accompagnamento", 1, ChitarraNylon);
    Traccia basso = Parte("Basso", 2, BassoElettrico);
    Accordi(accompagnamento, 1, basso, 2, 0, "F:8 F:8 F:8 C:8 C:8 F:8 Bb:8 C7:8 F:8", 2);
    Traccia ritmo;
    ritmo.Meta(0, 0x03, "Batteria");
    Ritmo(ritmo, 0, 9,
          {{Cassa, Charleston},
           {Charleston},
           {Rullante, Charleston},
           {Charleston},
           {Cassa, Charleston},
           {Cassa, Charleston},
           {Rullante, Charleston},
           {Charleston}});
    return File(
        1, {Conduttore("Canzone del mare", 92, 4, 2), parole, voce, accompagnamento, basso, ritmo});
}

// Lyric events, one per syllable; a carriage return starts a new line.
Bytes NinnaNanna() {
    Traccia voce = Parte("Voce", 0, Carillon);
    const std::vector<std::uint32_t> tick =
        Melodia(voce, 0, 0,
                "G4:2 E4:2 G4:2 | E4:4 C5:2 | B4:2 A4:2 G4:2 | E4:6 | "
                "A4:2 B4:2 C5:2 | D5:4 C5:2 | B4:2 G4:2 E4:2 | C4:6",
                84);
    const char* const sillabe[] = {"Dor", "mi, ", "dor",   "mi ",   "pic", "co",
                                   "li",  "no ",  "mio",   "\rla ", "lu",  "na ",
                                   "ti ", "guar", "da e ", "ti ",   "cul", "la"};
    Sillabe(voce, 0x05, tick, sillabe);
    Traccia arpa = Parte("Arpa", 1, Celesta);
    Traccia basso = Parte("Basso", 2, BassoAcustico);
    Accordi(arpa, 1, basso, 2, 0, "C:6 Am:6 F:6 C:6 F:6 G:6 G7:6 C:6", 6);
    return File(1, {Conduttore("Ninna nanna della sera", 66, 3, 2), voce, arpa, basso});
}

// A copyright notice, and a GS patch name that does not replace it.
Bytes SerenataDAutunno() {
    Traccia conduttore = Conduttore("Serenata d'autunno", 76, 4, 2);
    conduttore.Meta(0, 0x02, "(C) 2024 Tarvo Software");
    Traccia violino = Parte("Violino", 0, Violino);
    violino.Esclusivo(0, NomePatchGs("Violino solista"));
    Melodia(violino, 0, 0,
            "D5:4 F5:2 A5:2 | G5:3 F5:1 E5:4 | F5:2 E5:2 D5:2 C#5:2 | D5:8 | "
            "A5:4 Bb5:2 A5:2 | G5:3 F5:1 E5:4 | D5:2 E5:2 F5:2 E5:2 | D5:8",
            84);
    Traccia chitarra = Parte("Chitarra", 1, ChitarraNylon);
    Traccia basso = Parte("Basso", 2, BassoAcustico);
    Accordi(chitarra, 1, basso, 2, 0, "Dm:8 Gm:4 C:4 F:4 A7:4 Dm:8 Dm:4 Bb:4 Gm:4 C:4 A7:8 Dm:8",
            4);
    return File(1, {conduttore, violino, chitarra, basso});
}

// Three quick notes: 0.75 seconds of music.
Bytes Squillo() {
    Traccia brano = Conduttore("Squillo", 120, 4, 2);
    brano.Strumento(0, 0, Flauto);
    Melodia(brano, 0, 0, "C6:1 E6:1 G6:1", 110);
    return File(0, {brano});
}

// A song cut off in the middle of its second track, as a broken download.
Bytes BranoRovinato() {
    Bytes intero = NotteSulLago();
    intero.resize(intero.size() * 2 / 5);
    return intero;
}

Bytes Tarantella() {
    Traccia fisarmonica = Parte("Fisarmonica", 0, Fisarmonica);
    Melodia(fisarmonica, 0, 0,
            "E5:1 E5:1 E5:1 F5:1 E5:1 D5:1 | C5:1 B4:1 A4:1 A4:3 | D5:1 D5:1 D5:1 E5:1 D5:1 C5:1 "
            "| B4:1 A4:1 G#4:1 E4:3 | E5:1 E5:1 E5:1 F5:1 E5:1 D5:1 | C5:1 B4:1 A4:1 C5:3 | "
            "B4:1 C5:1 D5:1 C5:1 B4:1 G#4:1 | A4:6",
            96);
    Melodia(fisarmonica, 48 * Croma, 0,
            "A5:1 G5:1 F5:1 E5:1 D5:1 C5:1 | B4:1 C5:1 D5:1 E5:3 | F5:1 E5:1 D5:1 C5:1 B4:1 A4:1 "
            "| G#4:1 A4:1 B4:1 E4:3 | A5:1 G5:1 F5:1 E5:1 D5:1 C5:1 | B4:1 C5:1 D5:1 E5:3 | "
            "D5:1 C5:1 B4:1 G#4:1 B4:1 E5:1 | A4:6",
            96);
    Traccia basso = Parte("Basso", 1, BassoAcustico);
    Traccia accordi = Parte("Accordi", 2, Fisarmonica);
    Accordi(accordi, 2, basso, 1, 0,
            "Am:6 Am:6 Dm:6 E:6 Am:6 Am:6 E7:6 Am:6 Am:6 E:6 Dm:6 E:6 Am:6 E:6 E7:6 Am:6", 3);
    Traccia tamburello;
    tamburello.Meta(0, 0x03, "Tamburello");
    Ritmo(tamburello, 0, 16, {{Tamburello}, {Tamburello}, {Tamburello}, {Tamburello}, {}, {}});
    return File(1, {Conduttore("Tarantella", 150, 6, 3), fisarmonica, basso, accordi, tamburello});
}

// Type 0 with only a GS patch name, which the catalogue shows as its copyright.
Bytes ValzerDiPeriferia() {
    Traccia brano = Conduttore("Valzer di periferia", 96, 3, 2);
    brano.Esclusivo(0, NomePatchGs("Fisarmonica"));
    brano.Strumento(0, 0, Fisarmonica);
    brano.Strumento(0, 1, BassoAcustico);
    Melodia(brano, 0, 0,
            "G4:2 C5:2 E5:2 | G5:4 E5:2 | F5:2 E5:2 D5:2 | G4:6 | F4:2 B4:2 D5:2 | F5:4 D5:2 | "
            "E5:2 D5:2 C5:2 | C5:6",
            90);
    Accordi(brano, 1, brano, 1, 0, "C:6 C:6 G:6 G:6 G7:6 G7:6 C:6 C:6", 6);
    return File(0, {brano});
}

// A text message sent as system exclusive (data 00 20 24 00 05, then the text).
Bytes Mazurka() {
    Traccia violino = Parte("Violino", 0, Violino);
    Bytes testo{0x00, 0x20, 0x24, 0x00, 0x05};
    const std::string righe = "Mazurka della nonna\nballata in cortile\n";
    testo.insert(testo.end(), righe.begin(), righe.end());
    violino.Esclusivo(0, testo);
    Melodia(violino, 0, 0,
            "D5:1 E5:1 F#5:2 A5:2 | G5:3 F#5:1 E5:2 | D5:2 F#5:2 E5:2 | A4:6 | "
            "B4:1 C#5:1 D5:2 F#5:2 | E5:3 D5:1 C#5:2 | D5:2 E5:2 C#5:2 | D5:6",
            90);
    Traccia basso = Parte("Basso", 1, BassoAcustico);
    Traccia accordi = Parte("Accordi", 2, Fisarmonica);
    Accordi(accordi, 2, basso, 1, 0, "D:6 A7:6 D:6 A:6 G:6 A7:6 A7:6 D:6", 2);
    return File(1, {Conduttore("Mazurka", 138, 3, 2), violino, basso, accordi});
}

// The folder's files: path (UTF-8, "/" between folders) and contents.
std::map<std::string, Bytes> Campioni() {
    return {
        {"Caff\xC3\xA8 al mattino.mid", CaffeAlMattino()},
        {"Notte sul lago.mid", NotteSulLago()},
        {"Tre variazioni.mid", TreVariazioni()},
        {"Canzone del mare (karaoke).mid", CanzoneDelMare()},
        {"Ninna nanna della sera.mid", NinnaNanna()},
        {"Serenata d'autunno.mid", SerenataDAutunno()},
        {"Squillo.mid", Squillo()},
        {"Brano rovinato.mid", BranoRovinato()},
        {"Balli popolari/Tarantella.mid", Tarantella()},
        {"Balli popolari/Valzer di periferia.mid", ValzerDiPeriferia()},
        {"Balli popolari/Liscio/Mazurka.mid", Mazurka()},
    };
}

fs::path Percorso(const fs::path& cartella, const std::string& nome) {
    return cartella / velmora::PercorsoDaUtf8(nome);
}

int Scrivi(const fs::path& cartella) {
    for (const auto& [nome, dati] : Campioni()) {
        const fs::path percorso = Percorso(cartella, nome);
        fs::create_directories(percorso.parent_path());
        prova::ScriviFile(percorso, dati);
    }
    return 0;
}

int Confronta(const fs::path& cartella) {
    const std::map<std::string, Bytes> campioni = Campioni();
    int differenze = 0;
    for (const auto& [nome, dati] : campioni) {
        std::ifstream file(Percorso(cartella, nome), std::ios::binary);
        const Bytes letti{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (!file.is_open() || letti != dati) {
            std::printf("diverso o mancante: %s\n", nome.c_str());
            ++differenze;
        }
    }
    for (const fs::directory_entry& voce : fs::recursive_directory_iterator(cartella)) {
        if (voce.path().extension() == ".mid") {
            std::string nome = velmora::Utf8DaPercorso(voce.path().lexically_relative(cartella));
            std::replace(nome.begin(), nome.end(), '\\', '/');
            if (campioni.count(nome) == 0) {
                std::printf("in pi\xC3\xB9: %s\n", nome.c_str());
                ++differenze;
            }
        }
    }
    if (differenze != 0) {
        std::printf("Rigenerare la cartella con: genera_campioni CARTELLA\n");
    }
    return differenze == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2) {
        return Scrivi(velmora::PercorsoDaUtf8(argv[1]));
    }
    if (argc == 3 && std::string_view(argv[1]) == "--confronta") {
        return Confronta(velmora::PercorsoDaUtf8(argv[2]));
    }
    std::fprintf(stderr, "uso: genera_campioni [--confronta] CARTELLA\n");
    return 2;
}
