#include "rinomina.h"

#include "piattaforma.h"

bool NomeAccettabile(std::string_view nome) {
    return !nome.empty() && nome != "." && nome != ".." &&
           nome.find(velmora::Separatore()) == std::string_view::npos &&
           nome.find('/') == std::string_view::npos;
}

bool RinominaInCartella(std::string_view cartella, std::string_view vecchioNome,
                        std::string_view nuovoNome) {
    return NomeAccettabile(nuovoNome) &&
           velmora::RinominaSenzaSostituire(velmora::UnisciPercorso(cartella, vecchioNome),
                                            velmora::UnisciPercorso(cartella, nuovoNome));
}
