#include "dati.h"

#include "formato.h"
#include "testo.h"

#include <algorithm>
#include <functional>

namespace {

std::int32_t Lunghezza(const std::string& t) {
    return static_cast<std::int32_t>(velmora::Caratteri(t));
}

void Allarga(std::int32_t& massimo, const std::string& t) {
    const std::int32_t n = Lunghezza(t);
    if (n > massimo) {
        massimo = n;
    }
}

// The entry after e; none after the last entry or when there is no current entry.
dati::elemento* Dopo(const dati::elemento* e) {
    return e != nullptr ? e->successivo : nullptr;
}

template <typename Predicato> dati::elemento* Cerca(dati::elemento* da, Predicato p) {
    while (da != nullptr && !std::invoke(p, *da)) {
        da = da->successivo;
    }
    return da;
}

} // namespace

std::string dati::elemento::Durata() const {
    return FormattaDurata(durata);
}

std::string dati::elemento::Lunghezza() const {
    return FormattaNumero(lunghezza);
}

// The three parts are kept apart by a zero byte, which no text from a file holds.
void dati::elemento::ImpostaIdentita(std::string_view titolo, std::string_view autore,
                                     std::string_view lingua) {
    identita.clear();
    if (!titolo.empty() || !autore.empty() || !lingua.empty()) {
        identita = velmora::DecodificaTesto(titolo) + '\0' + velmora::DecodificaTesto(autore) +
                   '\0' + velmora::DecodificaTesto(lingua);
    }
}

std::string_view dati::elemento::ParteIdentita(int parte) const {
    std::string_view resto = identita;
    for (; parte > 0 && !resto.empty(); --parte) {
        resto.remove_prefix(std::min(resto.find('\0'), resto.size() - 1) + 1);
    }
    return resto.substr(0, resto.find('\0'));
}

void dati::Svuota() {
    nodi.clear();
    numeroFile = maxDirectory = maxNome = numeroCorrotti = numeroConTesto = 0;
    totaleByte = 0;
    primo = corrente = ultimo = nullptr;
}

void dati::Aggiungi(const std::string& directory, const std::string& nome,
                    const std::string& percorso, std::int32_t durata, std::int32_t lunghezza,
                    const std::string& tempo, std::int32_t bpm, std::int32_t tracce,
                    const std::string& copyright, const std::string& tipo,
                    const std::string& testo) {
    elemento& e = nodi.emplace_back();
    if (ultimo && ultimo->Percorso() == percorso && ultimo->Directory() == directory) {
        e.percorso = ultimo->percorso;
        e.directory = ultimo->directory;
    } else {
        e.percorso = percorso;
        e.directory = directory;
    }
    e.nome = nome;
    e.tempo = velmora::DecodificaTesto(tempo);
    e.copyright = velmora::DecodificaTesto(copyright);
    e.tipo = velmora::DecodificaTesto(tipo);
    e.testo = velmora::DecodificaTesto(testo);
    e.durata = durata;
    e.lunghezza = lunghezza;
    e.bpm = bpm;
    e.tracce = tracce;

    if (numeroFile == 0) {
        primo = &e;
    } else {
        ultimo->successivo = &e;
    }
    Allarga(maxPercorso, percorso);
    Allarga(maxDirectory, directory);
    Allarga(maxNome, nome);
    if (e.ConTesto()) {
        ++numeroConTesto;
    }
    ultimo = &e;
    ++numeroFile;
    totaleByte += lunghezza;
}

void dati::Prossimo() {
    corrente = Dopo(corrente);
}

void dati::PrimoConTesto() {
    corrente = Cerca(primo, &elemento::ConTesto);
}
void dati::ProssimoConTesto() {
    corrente = Cerca(Dopo(corrente), &elemento::ConTesto);
}
void dati::PrimoCorrotto() {
    corrente = Cerca(primo, &elemento::Corrotto);
}
void dati::ProssimoCorrotto() {
    corrente = Cerca(Dopo(corrente), &elemento::Corrotto);
}

void dati::CambiaNome(const std::string& t) {
    corrente->nome = t;
    Allarga(maxNome, t);
}

void dati::CambiaDirectory(const std::string& t) {
    corrente->directory = t;
    Allarga(maxDirectory, t);
}

void dati::CambiaPercorso(const std::string& t) {
    corrente->percorso = t;
    // The text list lines its columns up on the longest path: a longer one set by a
    // folder rename widens it too.
    Allarga(maxPercorso, t);
}
