// Page 'Salva': the catalogue written as a text list, in the chosen layout and
// columns.
#include "tvelmora.h"

#include "errori.h"
#include "stampa_file.h"

#include <QCheckBox>
#include <QRadioButton>

void TVelmora::Button3Click() {
    SaveDialog1.FileName = QString::fromStdString(NomeProposto(Oggi()));
    if (SaveDialog1.Execute(this)) {
        StampaFile();
    }
}

void TVelmora::StampaFile() {
    OpzioniLista opzioni;
    const QCheckBox* const colonne[] = {CheckPerc,      CheckDir,   CheckNome, CheckDurata,
                                        CheckLunghezza, CheckTempo, CheckBPM,  CheckTracce,
                                        CheckTipo,      CheckTesto, CheckCopy};
    for (std::size_t i = 0; i < opzioni.colonne.size(); ++i) {
        opzioni.colonne[i] = colonne[i]->isChecked();
    }
    opzioni.modo = Radio1->isChecked() ? Modo::A : Modo::B;
    const Esito esito = ::StampaFile(catalogo, opzioni, Oggi(), SaveDialog1.FileName.toStdString());
    if (!esito) {
        throw ErroreVelmora(QString::fromStdString(esito.errore));
    }
}
