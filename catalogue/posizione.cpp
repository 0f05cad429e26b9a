#include "posizione.h"

posizione::posizione(std::vector<std::string> sottoCartelle) {
    Scendi(std::move(sottoCartelle));
}

const std::string* posizione::Prossima() const {
    const livello& l = livelli.back();
    const auto k = static_cast<std::size_t>(l.contatore);
    return k <= l.sottoCartelle.size() ? &l.sottoCartelle[k - 1] : nullptr;
}

void posizione::Scendi(std::vector<std::string> sottoCartelle) {
    livelli.push_back({1, std::move(sottoCartelle)});
}

void posizione::Risali() {
    if (livelli.size() > 1) {
        livelli.pop_back();
        Salta();
    }
}
