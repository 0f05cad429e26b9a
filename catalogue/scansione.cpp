#include "scansione.h"

#include "analisi_file.h"
#include "ordina.h"
#include "piattaforma.h"
#include "posizione.h"

#include <vector>

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

Scansione::Scansione(ListaCartelle& cartelle_, ListaFile& file_, dati& catalogo_, Ganci ganci_)
    : cartelle(cartelle_), file(file_), catalogo(catalogo_), ganci(std::move(ganci_)) {}

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
    directoryIniziale = cartelle.Directory();
    try {
        Cammina(analisi, sottoCartelle);
    } catch (...) {
        Fine();
        throw;
    }
    Fine();
}

void Scansione::Ferma() {
    if (inAnalisi) {
        inAnalisi = false;
        if (ganci.didascalia) {
            ganci.didascalia("Start");
        }
    }
}

// Depth first from the start folder: each folder's files when the walk enters it
// from above, then its sub-folders in the folder list's order.
void Scansione::Cammina(bool analisi, bool sottoCartelle) {
    posizione pos;
    bool iniziata = false; // the start folder's files have been processed
    bool salito = false;   // the last move went up
    for (;;) {
        if (iniziata) {
            const int i = cartelle.RigaSelezionata();
            const int k = pos.Contatore();
            if (i + k >= cartelle.Righe()) {
                if (pos.Profondita() == 1) {
                    return;
                }
                cartelle.SelezionaRiga(i - 1);
                cartelle.ApriSelezionata();
                pos.Risali();
                salito = true;
            } else {
                cartelle.SelezionaRiga(i + k);
                try {
                    cartelle.ApriSelezionata();
                    pos.Scendi();
                    salito = false;
                } catch (const ErroreCartella&) {
                    // Gone since the rows were read: go on with the next sub-folder.
                    cartelle.SelezionaRiga(i);
                    pos.Scendi();
                    pos.Risali();
                    salito = true;
                }
            }
        }
        Elabora();
        if (!salito) {
            if (!inAnalisi || !ElaboraCartella(analisi)) {
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
bool Scansione::ElaboraCartella(bool analisi) {
    // DirectoryChange keeps the file list on the current folder; pointing it here
    // again costs nothing (it reads when first looked at), re-reads what was added
    // since, and keeps the scan right whoever listens to the folder list.
    file.Cartella(cartelle.Directory());
    Stato("Attendere. Sto ordinando i File");
    std::vector<datisort> record;
    const int righe = file.Righe();
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
    for (const datisort& d : record) {
        const std::string nome = file.TestoRiga(d.indice);
        Stato(directory + " - " + nome);
        AggiungiFile(directory, nome, analisi);
        Elabora();
        if (!inAnalisi) {
            break;
        }
    }
    return true;
}

void Scansione::AggiungiFile(const std::string& directory, const std::string& nome, bool analisi) {
    const std::string& percorso = cartelle.Directory();
    AggiungiVoce(catalogo, directory, nome, percorso,
                 analisi ? AnalizzaFile(velmora::UnisciPercorso(percorso, nome)) : AnalisiFile{});
}

// Back to idle: the start folder is shown again and the window's controls return.
void Scansione::Fine() {
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
