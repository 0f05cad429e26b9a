#include "lista_cartelle.h"

#include "ordina.h"
#include "piattaforma.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace fs = std::filesystem;

namespace {

// A folder this program can open: one that Windows cannot list is not.
bool ECartella(const std::string& cartella) {
    std::error_code ec;
    return !velmora::CartellaTroppoLunga(cartella) &&
           fs::is_directory(velmora::PercorsoDaUtf8(cartella), ec);
}

// The absolute form of a folder path, without "." and ".." and without a trailing
// separator except at a root.
std::string Assoluta(std::string_view cartella) {
    const fs::path p = velmora::PercorsoDaUtf8(cartella);
    std::error_code ec;
    const fs::path assoluta = fs::absolute(p, ec);
    return velmora::NormalizzaCartella(
        velmora::Utf8DaPercorso((ec ? p : assoluta).lexically_normal()));
}

// The root, then every folder down to cartella included.
std::vector<std::string> Percorsi(const std::string& cartella) {
    std::vector<std::string> percorsi{cartella};
    for (std::string su = velmora::CartellaSuperiore(cartella); su != percorsi.back();
         su = velmora::CartellaSuperiore(su)) {
        percorsi.push_back(su);
    }
    std::reverse(percorsi.begin(), percorsi.end());
    return percorsi;
}

// True when sopra is a folder above cartella.
bool Sopra(const std::string& sopra, const std::string& cartella) {
    return cartella.size() > sopra.size() && cartella.compare(0, sopra.size(), sopra) == 0 &&
           (velmora::ERadice(sopra) || cartella[sopra.size()] == velmora::Separatore());
}

} // namespace

ErroreCartella::ErroreCartella(const std::string& cartella)
    : std::runtime_error("Impossibile aprire la cartella " + cartella) {}

ListaCartelle::ListaCartelle() {
    std::error_code ec;
    const std::string lavoro = velmora::Utf8DaPercorso(fs::current_path(ec));
    Cambia(!ec && ECartella(lavoro) ? Assoluta(lavoro) : velmora::Radici().front(), true);
}

ListaCartelle::ListaCartelle(std::string_view cartella) {
    Directory(cartella);
}

void ListaCartelle::Directory(std::string_view cartella) {
    std::string nuova = Assoluta(cartella);
    if (cartella.empty() || !ECartella(nuova)) {
        throw ErroreCartella(std::string(cartella));
    }
    if (nuova != directory) {
        Cambia(std::move(nuova), false);
    }
}

std::string ListaCartelle::Drive() const {
    return velmora::RadiceDi(directory);
}

void ListaCartelle::Drive(std::string_view radice) {
    const std::string attuale = Drive();
    if (attuale == radice) {
        return;
    }
    const auto ultima = ultimaPerRadice.find(std::string(radice));
    const std::string meta = ultima != ultimaPerRadice.end() && ECartella(ultima->second)
                                 ? ultima->second
                                 : std::string(radice);
    ultimaPerRadice[attuale] = directory;
    Directory(meta);
}

std::string ListaCartelle::TestoRiga(int riga) const {
    if (riga < 0 || riga >= Righe()) {
        return {};
    }
    const auto r = static_cast<std::size_t>(riga);
    return r < percorsi.size() ? velmora::NomeCartella(percorsi[r])
                               : elenco->sottoCartelle[r - percorsi.size()];
}

std::string ListaCartelle::PercorsoRiga(int riga) const {
    if (riga < 0 || riga >= Righe()) {
        return {};
    }
    const auto r = static_cast<std::size_t>(riga);
    return r < percorsi.size()
               ? percorsi[r]
               : velmora::UnisciPercorso(directory, elenco->sottoCartelle[r - percorsi.size()]);
}

void ListaCartelle::SelezionaRiga(int riga) {
    selezionata = riga >= 0 && riga < Righe() ? riga : -1;
}

void ListaCartelle::ApriSelezionata() {
    if (selezionata < 0) {
        return;
    }
    std::string meta = PercorsoRiga(selezionata);
    if (!ECartella(meta)) {
        throw ErroreCartella(meta);
    }
    Cambia(std::move(meta), false);
}

void ListaCartelle::Aggiorna() {
    Cambia(directory, true);
}

void ListaCartelle::Cambia(std::string cartella, bool rileggi) {
    Elenco nuovo;
    const auto memoria = elenchiSopra.find(cartella);
    if (!rileggi && memoria != elenchiSopra.end() && AncoraValido(*memoria->second)) {
        nuovo = std::move(memoria->second);
    } else if (!rileggi && fonteElenchi) {
        nuovo = fonteElenchi(cartella);
    } else {
        nuovo = LeggiElenco(cartella);
    }
    if (elenco->modificata) {
        elenchiSopra[directory] = std::move(elenco);
    }
    std::erase_if(elenchiSopra, [&](const auto& e) { return !Sopra(e.first, cartella); });

    directory = std::move(cartella);
    percorsi = Percorsi(directory);
    elenco = std::move(nuovo);
    selezionata = static_cast<int>(percorsi.size()) - 1;
    if (alCambio) {
        alCambio();
    }
}
