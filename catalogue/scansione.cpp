#include "scansione.h"

#include "analisi_file.h"
#include "ordina.h"
#include "piattaforma.h"
#include "posizione.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <system_error>
#include <vector>

namespace {

// How long the walk waits for a file's analysis before it lets window messages
// through again: about one display frame.
constexpr std::chrono::milliseconds kAttesaMessaggi(16);

// True when the folder is no longer there, as opposed to being there but out of reach
// (a path longer than the system takes, no permission).
bool Scomparsa(const std::string& cartella) {
    std::error_code ec;
    const auto stato = std::filesystem::symlink_status(velmora::PercorsoDaUtf8(cartella), ec);
    return stato.type() == std::filesystem::file_type::not_found ||
           (!ec && stato.type() != std::filesystem::file_type::directory);
}

} // namespace

int FiltriVisualizza::Scelta(int sceltaPrima) const {
    int scelta = sceltaPrima;
    if (!corrotti && scelta == 3) {
        scelta = 1;
    }
    if (!conTesto && scelta == 2) {
        scelta = 1;
    }
    return scelta;
}

FiltriVisualizza FiltriDopoScansione(const dati& catalogo) {
    return {catalogo.NumeroFile() > 0, catalogo.NumeroConTesto() > 0,
            catalogo.NumeroCorrotti() > 0};
}

Scansione::Scansione(ListaCartelle& cartelle_, ListaFile& file_, dati& catalogo_, Ganci ganci_,
                     unsigned fili_)
    : cartelle(cartelle_), file(file_), catalogo(catalogo_), ganci(std::move(ganci_)), fili(fili_) {
}

void Scansione::DirectoryChange() {
    file.Cartella(cartelle.Directory());
    Stato(cartelle.Directory());
}

void Scansione::Button1Click(bool analisi, bool sottoCartelle) {
    if (inAnalisi) {
        Ferma();
        return;
    }
    if (inCorso) {
        return;
    }
    inCorso = inAnalisi = true;
    if (ganci.didascalia) {
        ganci.didascalia("Stop");
    }
    if (ganci.inizio) {
        ganci.inizio();
    }
    catalogo.Svuota();
    nonLette.clear();
    directoryIniziale = cartelle.Directory();
    // Both lists take each folder's listing from the scan, which lists a folder once.
    const auto fonte = [this](const std::string& cartella) { return ElencoDi(cartella); };
    cartelle.Fonte(fonte);
    file.Fonte(fonte);
    try {
        std::optional<AnalisiAnticipata> avanti;
        if (analisi) {
            anticipo = &avanti.emplace(fili, memoria);
        }
        Cammina(analisi, sottoCartelle);
        anticipo = nullptr;
    } catch (...) {
        anticipo = nullptr;
        Fine();
        throw;
    }
    Fine();
}

// The listing of a folder the walk enters: the one it has just used when that still
// holds (the folder list's, then the file list's turn), else the one read ahead when
// that still holds, else a new one.
Elenco Scansione::ElencoDi(const std::string& cartella) {
    if (ultimo && ultimo->percorso == cartella && AncoraValido(*ultimo)) {
        return ultimo;
    }
    if (anticipo != nullptr) {
        if (Elenco avanti = anticipo->Pianificato(cartella); avanti && AncoraValido(*avanti)) {
            return ultimo = std::move(avanti);
        }
    }
    return ultimo = LeggiElenco(cartella);
}

void Scansione::Ferma() {
    if (inAnalisi) {
        inAnalisi = false;
        if (anticipo != nullptr) {
            anticipo->Interrompi();
        }
        if (ganci.didascalia) {
            ganci.didascalia("Start");
        }
    }
}

// Depth first from the start folder: each folder's files when the walk enters it
// from above, then its sub-folders in the folder list's order.
void Scansione::Cammina(bool analisi, bool sottoCartelle) {
    posizione pos(SottoCartelle());
    bool iniziata = false; // the start folder's files have been processed
    bool salito = false;   // the last move went up
    for (;;) {
        if (iniziata) {
            if (const std::string* prossima = pos.Prossima()) {
                const std::string meta = *prossima;
                try {
                    cartelle.Directory(meta);
                    pos.Scendi(SottoCartelle());
                    salito = false;
                } catch (const ErroreCartella&) {
                    // Gone since the walk entered its parent, or out of reach.
                    if (!Scomparsa(meta)) {
                        nonLette.push_back(meta);
                    }
                    pos.Salta();
                    salito = true;
                }
            } else {
                if (pos.Profondita() == 1) {
                    return;
                }
                cartelle.Directory(velmora::CartellaSuperiore(cartelle.Directory()));
                pos.Risali();
                salito = true;
            }
        }
        Elabora();
        if (!salito) {
            if (!inAnalisi || !ElaboraCartella(analisi, pos, sottoCartelle)) {
                return;
            }
            iniziata = true;
        }
        if (!sottoCartelle) {
            return;
        }
    }
}

// The files of the current folder in sorted order; false when the scan was stopped
// while they were being sorted.
bool Scansione::ElaboraCartella(bool analisi, const posizione& pos, bool sottoCartelle) {
    // DirectoryChange keeps the file list on the current folder; pointing it here
    // again costs nothing (it reads when first looked at), re-reads what was added
    // since, and keeps the scan right whoever listens to the folder list.
    file.Cartella(cartelle.Directory());
    Stato("Attendere. Sto ordinando i File");
    std::vector<datisort> record;
    const int righe = file.Righe();
    if (file.Illeggibile() && !Scomparsa(cartelle.Directory())) {
        nonLette.push_back(cartelle.Directory());
    }
    record.reserve(static_cast<std::size_t>(righe));
    for (int r = 0; r < righe; ++r) {
        record.push_back(DatiSort(r, file.TestoRiga(r)));
    }
    Elabora();
    if (!inAnalisi) {
        return false;
    }
    Ordina(record);
    Elabora();
    if (!inAnalisi) {
        return false;
    }
    const std::string directory = cartelle.TestoRiga(cartelle.RigaSelezionata());
    if (analisi) {
        std::vector<std::string> nomi;
        nomi.reserve(record.size());
        for (const datisort& d : record) {
            nomi.push_back(file.TestoRiga(d.indice));
        }
        anticipo->Cartella(file.ElencoCorrente(), std::move(nomi), pos, sottoCartelle);
    }
    for (std::size_t i = 0; i < record.size(); ++i) {
        // A copy: a message handled meanwhile may re-read the list.
        const std::string nome = file.TestoRiga(record[i].indice);
        if (ganci.stato) { // the text is built only for someone to show
            ganci.stato(directory + " - " + nome);
        }
        if (!AggiungiFile(directory, nome, i, analisi)) {
            break;
        }
        Elabora();
        if (!inAnalisi) {
            break;
        }
    }
    return true;
}

// Appends the entry of file i of the folder; false when the scan was stopped while
// the walk waited for its analysis.
bool Scansione::AggiungiFile(const std::string& directory, const std::string& nome, std::size_t i,
                             bool analisi) {
    std::optional<AnalisiFile> a;
    if (analisi) {
        // The window stays alive while a slow file (a network drive) is read.
        while (!(a = anticipo->Prendi(i, kAttesaMessaggi))) {
            Elabora();
            if (!inAnalisi) {
                return false;
            }
        }
    }
    AggiungiVoce(catalogo, directory, nome, cartelle.Directory(),
                 a ? std::move(*a) : AnalisiFile{});
    return true;
}

// The full paths of the current folder's sub-folders, as the folder list shows them.
std::vector<std::string> Scansione::SottoCartelle() const {
    std::vector<std::string> percorsi;
    for (int r = cartelle.RigaSelezionata() + 1; r < cartelle.Righe(); ++r) {
        percorsi.push_back(cartelle.PercorsoRiga(r));
    }
    return percorsi;
}

// Back to idle: the start folder is shown again and the window's controls return.
void Scansione::Fine() {
    cartelle.Fonte({});
    file.Fonte({});
    ultimo.reset();
    try {
        cartelle.Directory(directoryIniziale);
    } catch (const ErroreCartella&) {
        // The start folder itself is gone: the list stays where the walk left it.
    }
    Stato(cartelle.Directory());
    inCorso = inAnalisi = false;
    if (ganci.didascalia) {
        ganci.didascalia("Start");
    }
    if (ganci.fine) {
        ganci.fine(FiltriDopoScansione(catalogo));
    }
}

void Scansione::Elabora() {
    if (ganci.elaboraMessaggi) {
        ganci.elaboraMessaggi();
    }
}

void Scansione::Stato(const std::string& testo) {
    if (ganci.stato) {
        ganci.stato(testo);
    }
}
