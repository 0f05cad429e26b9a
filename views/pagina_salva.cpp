#include "pagina_salva.h"

#include "caselle.h"
#include "dati_esportati.h"
#include "errori.h"
#include "stampa_file.h"
#include "tfinestra.h"

#include <QCheckBox>
#include <QRadioButton>

PaginaSalva::PaginaSalva(dati& catalogo_, QWidget* genitore)
    : QWidget(genitore), catalogo(catalogo_) {
    CreaControlli();
    SaveDialog1.Filtri =
        QStringList{QStringLiteral("File di Testo (*.txt)"), QStringLiteral("CSV UTF-8 (*.csv)"),
                    QStringLiteral("JSON (*.json)")};
    SaveDialog1.DefaultExt = QStringLiteral("txt");
    connect(SalvaLista, &TCustomLabel::Click, this, &PaginaSalva::Button3Click);
}

void PaginaSalva::CreaControlli() {
    Radio1 = CreaCasella<QRadioButton>(this, "Radio1", "Modo A", {560, 56, 73, 17}, false);
    Radio2 = CreaCasella<QRadioButton>(this, "Radio2", "Modo B", {560, 80, 73, 17}, true);
    struct CasellaColonna {
        QCheckBox*& casella;
        const char* nome;
        const char* caption;
        int sinistra;
        int larghezza;
    };
    const CasellaColonna colonne[] = {
        {CheckPerc, "CheckPerc", "Percorso", 8, 73},
        {CheckDir, "CheckDir", "Directory", 88, 81},
        {CheckNome, "CheckNome", "Nome", 168, 57},
        {CheckDurata, "CheckDurata", "Durata", 224, 65},
        {CheckLunghezza, "CheckLunghezza", "Byte", 288, 49},
        {CheckTempo, "CheckTempo", "Tempo", 336, 65},
        {CheckBPM, "CheckBPM", "BPM", 400, 49},
        {CheckTracce, "CheckTracce", "Tracce", 456, 65},
        {CheckTipo, "CheckTipo", "Tipo", 520, 49},
        {CheckTesto, "CheckTesto", "Testo", 576, 57},
    };
    for (const CasellaColonna& c : colonne) {
        c.casella = CreaCasella<QCheckBox>(this, c.nome, c.caption,
                                           {c.sinistra, 128, c.larghezza, 17}, true);
    }
    CheckCopy = CreaCasella<QCheckBox>(this, "CheckCopy", "Copyright", {552, 152, 81, 17}, true);
    SalvaLista = CreaRLabel(this, ComandoPagina("SalvaLista", "Salva", {584, 320, 44, 24}));
}

void PaginaSalva::Button3Click() {
    // The proposed name ends with the extension of the filter chosen last.
    QString nome = QString::fromStdString(NomeProposto(Oggi()));
    nome.chop(3);
    SaveDialog1.FileName =
        nome + TSaveDialog::EstensioneDi(SaveDialog1.Filtri.value(SaveDialog1.FilterIndex - 1));
    if (!SaveDialog1.Execute(window())) {
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

void PaginaSalva::StampaFile() {
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
