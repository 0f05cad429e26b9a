#include "lista_file.h"

void ListaFile::Cartella(std::string_view nuova) {
    cartella = nuova;
    letta = false;
}

int ListaFile::Righe() const {
    Leggi();
    return static_cast<int>(elenco->file.size());
}

bool ListaFile::Illeggibile() const {
    Leggi();
    return elenco->illeggibile;
}

const std::string& ListaFile::TestoRiga(int riga) const {
    Leggi();
    return elenco->file.at(static_cast<std::size_t>(riga));
}

const Elenco& ListaFile::ElencoCorrente() const {
    Leggi();
    return elenco;
}

void ListaFile::Leggi() const {
    if (letta) {
        return;
    }
    letta = true;
    if (cartella.empty()) {
        elenco = std::make_shared<const ElencoCartella>();
    } else {
        elenco = fonteElenchi ? fonteElenchi(cartella) : LeggiElenco(cartella);
    }
}
