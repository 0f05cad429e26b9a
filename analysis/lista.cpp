#include "lista.h"

lista::~lista() {
    // Freed one by one: a recursive release could exhaust the stack on a long map.
    while (primoElemento != nullptr) {
        nodo* successivo = primoElemento->successivo;
        delete primoElemento;
        primoElemento = successivo;
    }
}

void lista::AggiungiCambio(std::uint32_t tick, std::uint32_t tempoMicro) {
    nodo* nuovo = new nodo{tick, tempoMicro, nullptr};
    if (ultimoElemento == nullptr) {
        primoElemento = nuovo;
    } else {
        ultimoElemento->successivo = nuovo;
    }
    ultimoElemento = nuovo;
    ++numeroElementi;
}

void lista::Avanza() {
    if (elementoCorrente != nullptr) {
        elementoCorrente = elementoCorrente->successivo;
    }
}
