// The detailed report of one MIDI file as a list of styled runs, shared by the
// report window and velmora-cli. Texts are UTF-8 with CR LF line ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class Midi;

// Styles of the runs: 0 values (blue), 1 labels (bold red), 2 remarks (green),
// 3 tracks without notes (black).
struct Frammento {
    std::string testo;
    int stile;
    bool operator==(const Frammento&) const = default;
};
using Rapporto = std::vector<Frammento>;

// Analyses the file (folder path + name) with a fresh Midi and returns the runs of
// its report in order. nome, directory (the folder's name) and percorso (the folder's
// path) are UTF-8.
Rapporto CostruisciRapporto(std::string_view nome, std::string_view directory,
                            std::string_view percorso);

// The same runs for a file already analysed by midi.
Rapporto CostruisciRapporto(const Midi& midi, std::string_view nome, std::string_view directory,
                            std::string_view percorso);

// The runs' texts concatenated.
std::string TestoRapporto(const Rapporto& rapporto);
