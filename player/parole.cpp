#include "parole.h"

#include "piattaforma.h"
#include "testo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace velmora {

namespace {

// A soft-karaoke line: a text event that starts with "@".
bool Chiocciola(const TestoMidi& t) {
    return t.tipo == 0x01 && t.testo.starts_with('@');
}

// The track of a soft-karaoke file that holds its words: the one with most text events
// besides its "@" lines (sequencers put them in a track of their own, or in the first).
std::uint32_t TracciaParole(const Sequenza& s) {
    std::map<std::uint32_t, int> conta;
    for (const TestoMidi& t : s.testi) {
        conta[t.traccia] += t.tipo == 0x01 && !Chiocciola(t) ? 1 : 0;
    }
    return std::max_element(conta.begin(), conta.end(),
                            [](const auto& a, const auto& b) { return a.second < b.second; })
        ->first;
}

// The events that hold the words, in time order.
std::vector<const TestoMidi*> Scelti(const Sequenza& s) {
    std::vector<const TestoMidi*> scelti;
    if (std::any_of(s.testi.begin(), s.testi.end(), [](const TestoMidi& t) {
            return Chiocciola(t) && t.testo.starts_with("@K");
        })) {
        const std::uint32_t traccia = TracciaParole(s);
        for (const TestoMidi& t : s.testi) {
            if (t.tipo == 0x01 && !Chiocciola(t) && t.traccia == traccia) {
                scelti.push_back(&t);
            }
        }
    }
    if (scelti.empty()) {
        for (const TestoMidi& t : s.testi) {
            if (t.tipo == 0x05) {
                scelti.push_back(&t);
            }
        }
    }
    return scelti;
}

bool Spazio(char c) {
    return c == ' ' || c == '\t';
}

// Builds the lines a syllable at a time.
class Righe {
public:
    void Evento(double secondi, std::string_view byte) {
        const std::string testo = DecodificaTesto(byte.substr(0, byte.find('\0')));
        std::size_t i = 0;
        if (!testo.empty() && (testo[0] == '\\' || testo[0] == '/')) {
            acapo = std::max(acapo, testo[0] == '\\' ? 2 : 1);
            i = 1;
        }
        std::string pezzo;
        for (; i < testo.size(); ++i) {
            const char c = testo[i];
            if (c != '\r' && c != '\n') {
                pezzo += c;
                continue;
            }
            Aggiungi(secondi, pezzo);
            pezzo.clear();
            if (c == '\r' || i == 0 || testo[i - 1] != '\r') {
                acapo = std::min(acapo + 1, 2);
            }
        }
        Aggiungi(secondi, pezzo);
    }

    Parole Fine() { return std::move(righe); }

private:
    void Aggiungi(double secondi, std::string pezzo) {
        const bool nuova = righe.empty() || acapo > 0;
        if (nuova) {
            pezzo.erase(0, std::min(pezzo.size(), pezzo.find_first_not_of(" \t")));
        }
        if (pezzo.empty()) {
            return;
        }
        if (std::all_of(pezzo.begin(), pezzo.end(), Spazio)) {
            righe.back().sillabe.back().testo += pezzo; // the space after a word
            return;
        }
        if (nuova) {
            righe.push_back({acapo == 2 && !righe.empty(), {}});
            acapo = 0;
        }
        righe.back().sillabe.push_back({secondi, std::move(pezzo)});
    }

    Parole righe;
    int acapo = 0; // line ends before the next syllable: 1 a line, 2 a paragraph
};

std::string Tempo(double secondi) {
    const long long centesimi = std::llround(std::max(secondi, 0.0) * 100);
    char testo[32];
    std::snprintf(testo, sizeof testo, "%02lld:%02lld.%02lld", centesimi / 6000,
                  centesimi / 100 % 60, centesimi % 100);
    return testo;
}

std::string SenzaSpaziFinali(std::string testo) {
    testo.erase(testo.find_last_not_of(" \t") + 1);
    return testo;
}

} // namespace

std::string RigaParole::Testo() const {
    std::string testo;
    for (const Sillaba& s : sillabe) {
        testo += s.testo;
    }
    return SenzaSpaziFinali(std::move(testo));
}

Parole ParoleDi(const Sequenza& sequenza) {
    Righe righe;
    for (const TestoMidi* t : Scelti(sequenza)) {
        righe.Evento(t->secondi, t->testo);
    }
    return righe.Fine();
}

std::optional<Parole> ParoleDelFile(const std::string& percorso) {
    const std::optional<ContenutoFile> contenuto =
        LeggiFileRegolare(percorso, kByteSequenzaMassimi);
    if (!contenuto) {
        return std::nullopt;
    }
    return ParoleDi(LeggiSequenza({contenuto->byte.get(), contenuto->dimensione}));
}

PuntoParole PuntoA(const Parole& parole, double secondi) {
    const auto riga =
        std::upper_bound(parole.begin(), parole.end(), secondi,
                         [](double s, const RigaParole& r) { return s < r.Secondi(); });
    if (riga == parole.begin()) {
        return {};
    }
    const auto& sillabe = std::prev(riga)->sillabe;
    const auto sillaba = std::upper_bound(sillabe.begin(), sillabe.end(), secondi,
                                          [](double s, const Sillaba& x) { return s < x.secondi; });
    return {static_cast<int>(riga - parole.begin()) - 1,
            static_cast<int>(sillaba - sillabe.begin()) - 1};
}

std::string TestoParole(const Parole& parole) {
    std::string testo;
    for (const RigaParole& r : parole) {
        testo += r.paragrafo ? "\n" : "";
        testo += r.Testo() + "\n";
    }
    return testo;
}

std::string Lrc(const Parole& parole, const std::string& titolo, const std::string& autore) {
    std::string lrc;
    for (const auto& [etichetta, valore] : {std::pair{"ti", &titolo}, std::pair{"ar", &autore}}) {
        if (!valore->empty()) {
            lrc += std::string("[") + etichetta + ":" + NomeSenzaControlli(*valore) + "]\n";
        }
    }
    for (const RigaParole& r : parole) {
        std::string riga = "[" + Tempo(r.Secondi()) + "]";
        for (const Sillaba& s : r.sillabe) {
            riga += "<" + Tempo(s.secondi) + ">" + s.testo;
        }
        lrc += SenzaSpaziFinali(std::move(riga)) + "\n";
    }
    return lrc;
}

} // namespace velmora
