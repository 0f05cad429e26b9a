#include "rinomina.h"

#include "archivio.h"
#include "piattaforma.h"

#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {

Esito Rifiuto(const char* motivo) {
    return {std::string("Impossibile rinominare: ") + motivo};
}

bool Esiste(const std::string& percorso, bool* cartella = nullptr) {
    std::error_code ec;
    const fs::file_status stato = fs::symlink_status(velmora::PercorsoDaUtf8(percorso), ec);
    if (cartella != nullptr) {
        *cartella = fs::is_directory(stato);
    }
    return !ec && fs::exists(stato);
}

// An existing entry the folder list and the scan leave out: on every system but
// Windows, one whose name starts with ".".
bool Nascosto(const std::string& percorso) {
    std::error_code ec;
    const fs::directory_entry voce(velmora::PercorsoDaUtf8(percorso), ec);
    return !ec && velmora::Nascosto(voce);
}

// The stored catalogue, when there is one; the window does not wait long for a
// database another program is writing.
std::optional<velmora::archivio::Archivio> CatalogoSalvato() {
    const std::string percorso = velmora::PercorsoCatalogo();
    if (percorso.empty() || !Esiste(percorso)) {
        return std::nullopt;
    }
    return std::optional<velmora::archivio::Archivio>(std::in_place, percorso, 300);
}

} // namespace

Esito ControllaNome(std::string_view nome) {
    if (nome.empty()) {
        return Rifiuto("il nome è vuoto");
    }
    if (nome == "." || nome == "..") {
        return Rifiuto("\".\" e \"..\" non sono nomi validi");
    }
    if (nome.find(velmora::Separatore()) != std::string_view::npos ||
        nome.find('/') != std::string_view::npos) {
        return Rifiuto("il nome non può contenere separatori di cartella");
    }
    return {};
}

Esito RinominaInCartella(std::string_view cartella, std::string_view vecchioNome,
                         std::string_view nuovoNome) {
    if (Esito controllo = ControllaNome(nuovoNome); !controllo) {
        return controllo;
    }
    const std::string vecchio = velmora::UnisciPercorso(cartella, vecchioNome);
    const std::string nuovo = velmora::UnisciPercorso(cartella, nuovoNome);
    if (velmora::RinominaSenzaSostituire(vecchio, nuovo)) {
        // A name that hides the entry would drop it from every later scan: it goes
        // back to its old name.
        if (Nascosto(nuovo) && velmora::RinominaSenzaSostituire(nuovo, vecchio)) {
            return Rifiuto("un nome che inizia con \".\" sarebbe nascosto");
        }
        return {};
    }
    bool cartellaPresa = false;
    if (!Esiste(vecchio)) {
        return Rifiuto("non esiste più");
    }
    if (Esiste(nuovo, &cartellaPresa)) {
        return Rifiuto(cartellaPresa ? "esiste già una cartella con questo nome"
                                     : "esiste già un file con questo nome");
    }
    return Rifiuto("il sistema non lo consente (permessi, file in uso o nome non ammesso)");
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

std::string CartellaEsistente(std::string_view cartella) {
    std::string c(cartella);
    std::error_code ec;
    while (!velmora::ERadice(c) && !fs::is_directory(velmora::PercorsoDaUtf8(c), ec)) {
        c = velmora::CartellaSuperiore(c);
    }
    return c;
}

void RinominaNelCatalogoSalvato(const std::string& cartella, const std::string& vecchioNome,
                                const std::string& nuovoNome) {
    if (auto archivio = CatalogoSalvato()) {
        archivio->RinominaFile(cartella, vecchioNome, nuovoNome);
    }
}

void CartellaRinominataNelCatalogoSalvato(const std::string& vecchio, const std::string& nuovo) {
    if (auto archivio = CatalogoSalvato()) {
        archivio->RinominaCartella(vecchio, nuovo);
    }
}
