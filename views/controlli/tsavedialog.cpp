#include "tsavedialog.h"

#include <QFileDialog>

namespace {

// The extension a filter such as "File di Testo (*.txt)" names, or the default one when
// it names none or several.
QString Estensione(const QString& filtro, const QString& predefinita) {
    const qsizetype aperta = filtro.lastIndexOf('(');
    const qsizetype chiusa = filtro.lastIndexOf(')');
    const QStringList schemi =
        aperta < 0 || chiusa < aperta
            ? QStringList()
            : filtro.mid(aperta + 1, chiusa - aperta - 1).split(' ', Qt::SkipEmptyParts);
    if (schemi.size() == 1 && schemi.front().startsWith("*.") &&
        schemi.front().indexOf('*', 1) < 0) {
        return schemi.front().mid(2);
    }
    return predefinita;
}

// Qt's dialog, where a name typed without an extension takes the one of the filter
// chosen when the user confirms.
class FinestraSalva : public QFileDialog {
public:
    FinestraSalva(QWidget* parent, const QString& predefinita)
        : QFileDialog(parent, QStringLiteral("Salva con nome")), estensione(predefinita) {}

    void accept() override {
        setDefaultSuffix(Estensione(selectedNameFilter(), estensione));
        QFileDialog::accept();
    }

private:
    QString estensione;
};

// The real dialog, with the overwrite prompt on.
class DialogoQt : public EsecutoreDialogo {
public:
    std::optional<SceltaFile> Esegui(const TSaveDialog& dialogo, QWidget* parent) override {
        FinestraSalva finestra(parent, dialogo.DefaultExt);
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
