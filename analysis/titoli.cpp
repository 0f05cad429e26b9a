// Title and author of a file, from the texts the walk keeps (tracce.cpp).
#include "titoli.h"

#include "midi.h"

#include <algorithm>
#include <array>
#include <string>

namespace velmora {

namespace {

char Minuscola(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether testo starts with the lower-case ASCII prefisso, in any case.
bool IniziaCon(std::string_view testo, std::string_view prefisso) {
    return testo.size() >= prefisso.size() &&
           std::equal(prefisso.begin(), prefisso.end(), testo.begin(),
                      [](char p, char t) { return p == Minuscola(t); });
}

bool Uguale(std::string_view testo, std::string_view minuscolo) {
    return testo.size() == minuscolo.size() && IniziaCon(testo, minuscolo);
}

// Each one also with a number after it.
constexpr std::array<std::string_view, 10> kGenerici = {
    "untitled", "senza titolo", "sequence",    "sequenza",  "track",
    "traccia",  "staff",        "tempo track", "conductor", "notes"};

// Longest first, so that "words and music by" is not taken for "words by".
constexpr std::array<std::string_view, 16> kCrediti = {"words and music by",
                                                       "parole e musica di",
                                                       "testo e musica di",
                                                       "compositore:",
                                                       "composed by",
                                                       "written by",
                                                       "musica di",
                                                       "parole di",
                                                       "lyrics by",
                                                       "testo di",
                                                       "music by",
                                                       "words by",
                                                       "composer:",
                                                       "autore:",
                                                       "author:",
                                                       "by"};

constexpr std::size_t kNomeMassimo = 60;

} // namespace

std::string_view Rifilato(std::string_view testo) {
    constexpr std::string_view kSpazi = " \t\r\n";
    const std::size_t inizio = testo.find_first_not_of(kSpazi);
    if (inizio == std::string_view::npos) {
        return {};
    }
    return testo.substr(inizio, testo.find_last_not_of(kSpazi) - inizio + 1);
}

bool NomeGenerico(std::string_view nome) {
    nome = Rifilato(nome);
    // The number after the word, with what may part them: "Track 1", "Staff-2", "Traccia #3".
    const std::size_t fine = nome.find_last_not_of(" \t-#.0123456789");
    if (fine == std::string_view::npos) {
        return nome.empty(); // a number alone ("1999") is a title
    }
    const std::string_view base = nome.substr(0, fine + 1);
    return std::any_of(kGenerici.begin(), kGenerici.end(),
                       [base](std::string_view g) { return Uguale(base, g); });
}

std::optional<std::string_view> AutoreNelCredito(std::string_view testo) {
    testo = Rifilato(testo);
    for (const std::string_view credito : kCrediti) {
        if (!IniziaCon(testo, credito)) {
            continue;
        }
        std::string_view resto = testo.substr(credito.size());
        // A word ("by") must end where the name begins: "Bye bye" credits nobody.
        if (credito.back() != ':' && (resto.empty() || (resto[0] != ' ' && resto[0] != ':'))) {
            return std::nullopt;
        }
        resto = Rifilato(resto.substr(resto.empty() || resto[0] != ':' ? 0 : 1));
        if (resto.empty() || resto.size() > kNomeMassimo || resto[0] == '<' || resto[0] == '[') {
            return std::nullopt;
        }
        return resto;
    }
    return std::nullopt;
}

} // namespace velmora

namespace {

const std::string* PrimoNonGenerico(std::initializer_list<const std::string*> candidati) {
    for (const std::string* c : candidati) {
        if (c != nullptr && !velmora::NomeGenerico(*c)) {
            return c;
        }
    }
    return nullptr;
}

} // namespace

std::string Midi::Titolo() const {
    if (stato != 0) {
        return {};
    }
    const std::string* titolo =
        PrimoNonGenerico({karaoke.titoli.empty() ? nullptr : &karaoke.titoli[0],
                          primoNome && formato != 2 ? &*primoNome : nullptr});
    return titolo == nullptr ? std::string() : std::string(velmora::Rifilato(*titolo));
}

std::string Midi::Autore() const {
    if (stato != 0) {
        return {};
    }
    return karaoke.titoli.size() >= 2 && !karaoke.titoli[1].empty() ? karaoke.titoli[1]
                                                                    : autoreDichiarato;
}

std::string Midi::Lingua() const {
    return stato == 0 ? karaoke.lingua : std::string();
}

const Midi::TestiKaraoke& Midi::Karaoke() const {
    static const TestiKaraoke kNessuno;
    return stato == 0 ? karaoke : kNessuno;
}
