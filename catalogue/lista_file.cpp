#include "lista_file.h"

#include "piattaforma.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// The mask "*.mid" in any letter case.
bool FileMidi(const std::string& nome) {
    if (nome.size() < 4) {
        return false;
    }
    std::string estensione = nome.substr(nome.size() - 4);
    std::transform(estensione.begin(), estensione.end(), estensione.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return estensione == ".mid";
}

} // namespace

void ListaFile::Cartella(std::string_view nuova) {
    cartella = nuova;
    letta = false;
}

int ListaFile::Righe() const {
    Leggi();
    return static_cast<int>(nomi.size());
}

bool ListaFile::Illeggibile() const {
    Leggi();
    return illeggibile;
}

const std::string& ListaFile::TestoRiga(int riga) const {
    Leggi();
    return nomi.at(static_cast<std::size_t>(riga));
}

void ListaFile::Leggi() const {
    if (letta) {
        return;
    }
    letta = true;
    nomi.clear();
    illeggibile = false;
    if (cartella.empty()) {
        return;
    }
    std::error_code ec;
    for (fs::directory_iterator it(velmora::PercorsoDaUtf8(cartella), ec);
         !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string nome = velmora::Utf8DaPercorso(it->path().filename());
        std::error_code ecVoce;
        if (FileMidi(nome) && !velmora::Nascosto(*it) && it->is_regular_file(ecVoce)) {
            nomi.push_back(std::move(nome));
        }
    }
    illeggibile = static_cast<bool>(ec);
    std::sort(nomi.begin(), nomi.end());
}
