#include "tsavedialog.h"

#include <QFileDialog>

namespace {

// The real dialog, with the overwrite prompt on.
class DialogoQt : public EsecutoreDialogo {
public:
    std::optional<SceltaFile> Esegui(const TSaveDialog& dialogo, QWidget* parent) override {
        QFileDialog finestra(parent, QStringLiteral("Salva con nome"));
        finestra.setAcceptMode(QFileDialog::AcceptSave);
        finestra.setFileMode(QFileDialog::AnyFile);
        finestra.setNameFilters(dialogo.Filtri);
        finestra.selectNameFilter(dialogo.Filtri.value(dialogo.FilterIndex - 1));
        finestra.setDefaultSuffix(dialogo.DefaultExt);
        finestra.selectFile(dialogo.FileName);
        if (finestra.exec() != QDialog::Accepted || finestra.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        const int filtro = static_cast<int>(dialogo.Filtri.indexOf(finestra.selectedNameFilter()));
        return SceltaFile{finestra.selectedFiles().constFirst(), filtro < 0 ? 1 : filtro + 1};
    }
};

DialogoQt dialogoQt;
EsecutoreDialogo* esecutoreAttivo = &dialogoQt;

} // namespace

bool TSaveDialog::Execute(QWidget* parent) {
    const std::optional<SceltaFile> scelta = esecutoreAttivo->Esegui(*this, parent);
    if (!scelta) {
        return false;
    }
    FileName = scelta->nomeFile;
    FilterIndex = scelta->indiceFiltro;
    return true;
}

void TSaveDialog::ImpostaEsecutore(EsecutoreDialogo* esecutore) {
    esecutoreAttivo = esecutore != nullptr ? esecutore : &dialogoQt;
}
