#include "posizione.h"

void posizione::Risali() {
    if (livelli.size() > 1) {
        livelli.pop_back();
        ++livelli.back().contatore;
    }
}
