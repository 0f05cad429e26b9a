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

void CartellaRinominata(dati& catalogo, std::string_view vecchio, std::string_view nuovo) {
    const std::string nuovoNome = velmora::NomeCartella(nuovo);
    const std::string sotto = velmora::UnisciPercorso(vecchio, "");
    catalogo.Primo();
    for (std::int32_t i = 0; i < catalogo.NumeroFile(); ++i) {
        const std::string percorso = catalogo.Percorso();
        if (percorso == vecchio) {
            catalogo.CambiaDirectory(nuovoNome);
            catalogo.CambiaPercorso(std::string(nuovo));
        } else if (percorso.starts_with(sotto)) {
            catalogo.CambiaPercorso(velmora::UnisciPercorso(nuovo, percorso.substr(sotto.size())));
        }
        catalogo.Prossimo();
    }
}
