// The tempo map of a walk: the tempo changes of the first track chunk, in the
// order they occur, as a singly linked list with one cursor.
#pragma once

#include <cstdint>

class lista {
public:
    lista() = default;
    lista(const lista&) = delete;
    lista& operator=(const lista&) = delete;
    ~lista();

    void AggiungiCambio(std::uint32_t tick, std::uint32_t tempoMicro); // appends a node
    void Inizio() { elementoCorrente = primoElemento; }
    void Avanza();
    std::uint32_t TickCorrente() const { return elementoCorrente->tick; }
    std::uint32_t TempoCorrente() const { return elementoCorrente->tempoMicro; }
    std::int32_t NumeroElementi() const { return numeroElementi; }

private:
    struct nodo {
        std::uint32_t tick;       // absolute tick of the change
        std::uint32_t tempoMicro; // microseconds per quarter note
        nodo* successivo;
    };

    std::int32_t numeroElementi = 0;
    nodo* primoElemento = nullptr;
    nodo* elementoCorrente = nullptr;
    nodo* ultimoElemento = nullptr;
};
