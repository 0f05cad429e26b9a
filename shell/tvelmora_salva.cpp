// Page 'Salva': the catalogue written as a text list, in the chosen layout and
// columns, or for spreadsheets and scripts as CSV or JSON (the dialog's filter decides).
#include "tvelmora.h"

#include "dati_esportati.h"
#include "errori.h"
#include "stampa_file.h"

#include <QCheckBox>
#include <QRadioButton>

namespace {

void Riuscito(const Esito& esito) {
    if (!esito) {
        throw ErroreVelmora(QString::fromStdString(esito.errore));
    }
}

} // namespace

void TVelmora::Button3Click() {
    // The proposed name ends with the extension of the filter chosen last.
    QString nome = QString::fromStdString(NomeProposto(Oggi()));
    nome.chop(3);
    SaveDialog1.FileName =
        nome + TSaveDialog::EstensioneDi(SaveDialog1.Filtri.value(SaveDialog1.FilterIndex - 1));
    if (!SaveDialog1.Execute(this)) {
        return;
    }
    // Filters: 1 the text list, 2 CSV, 3 JSON.
    if (SaveDialog1.FilterIndex == 1) {
        StampaFile();
    } else {
        Riuscito(EsportaDati(catalogo,
                             SaveDialog1.FilterIndex == 2 ? FormatoDati::Csv : FormatoDati::Json,
                             SaveDialog1.FileName.toStdString()));
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
    Riuscito(::StampaFile(catalogo, opzioni, Oggi(), SaveDialog1.FileName.toStdString()));
}
