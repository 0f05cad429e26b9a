// The words of a song on the player's timeline: each syllable at the second it is sung,
// gathered into lines and paragraphs, for the report window while the file plays and for
// velmora-cli lyrics (plain text or LRC).
//
// Which events are the words: in a soft-karaoke file (a text event "@K...") the text
// events (FF01) of the track that has most of them, its "@" lines left out; otherwise,
// or when those give no words, the lyric events (FF05) of every track. Inside them "\"
// starts a paragraph and "/" a line, and a line end (CR, LF or CR LF) ends the line, two
// of them the paragraph.
#pragma once

#include "sequenza.h"

#include <optional>
#include <string>
#include <vector>

namespace velmora {

struct Sillaba {
    double secondi = 0;
    std::string testo; // UTF-8 (testo.h), with the spaces that part it from the next word
};

struct RigaParole {
    bool paragrafo = false; // the first line of a paragraph (not of the song)
    std::vector<Sillaba> sillabe;
    double Secondi() const { return sillabe.front().secondi; }
    std::string Testo() const; // without the spaces at its end
};

// Lines hold at least one syllable with a character other than a space.
using Parole = std::vector<RigaParole>;

Parole ParoleDi(const Sequenza& sequenza);
// The words of the regular file at percorso (UTF-8) of at most kByteSequenzaMassimi
// bytes; none when it cannot be read.
std::optional<Parole> ParoleDelFile(const std::string& percorso);

// Where the song is at secondi: the line and the syllable last begun (each -1 before the
// first). Syllables that begin together are sung together: the last of them is the one.
struct PuntoParole {
    int riga = -1;
    int sillaba = -1;
    bool operator==(const PuntoParole&) const = default;
};
PuntoParole PuntoA(const Parole& parole, double secondi);

// The words as text, a line each, an empty line before each paragraph; LF line ends.
std::string TestoParole(const Parole& parole);

// The words as LRC: "[ti:...]" and "[ar:...]" when titolo and autore (UTF-8) are not
// empty, then each line with its time "[mm:ss.xx]" and each syllable's "<mm:ss.xx>"
// (enhanced LRC); LF line ends.
std::string Lrc(const Parole& parole, const std::string& titolo, const std::string& autore);

} // namespace velmora
