#include "tsavedialog.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace {

// The extension of a filter, or the default one when the filter names none.
QString Suffisso(const QString& filtro, const QString& predefinita) {
    const QString estensione = TSaveDialog::EstensioneDi(filtro);
    return estensione.isEmpty() ? predefinita : estensione;
}

// Qt's dialog, where a name typed without an extension takes the one of the filter
// chosen when the user confirms: applied before the name is completed and checked
// for overwriting.
class FinestraSalva : public QFileDialog {
public:
    FinestraSalva(QWidget* parent, const QString& predefinita)
        : QFileDialog(parent, QStringLiteral("Salva con nome")), estensione(predefinita) {}

    void accept() override {
        setDefaultSuffix(Suffisso(selectedNameFilter(), estensione));
        QFileDialog::accept();
    }

private:
    QString estensione;
};

// The real dialog, with the overwrite prompt on.
class DialogoQt : public EsecutoreDialogo {
public:
    std::optional<SceltaFile> Esegui(const TSaveDialog& dialogo, QWidget* parent) override {
        const QString filtro = dialogo.Filtri.value(dialogo.FilterIndex - 1);
        FinestraSalva finestra(parent, dialogo.DefaultExt);
        finestra.setAcceptMode(QFileDialog::AcceptSave);
        finestra.setFileMode(QFileDialog::AnyFile);
        finestra.setNameFilters(dialogo.Filtri);
        finestra.selectNameFilter(filtro);
        finestra.setDefaultSuffix(Suffisso(filtro, dialogo.DefaultExt));
        finestra.selectFile(dialogo.FileName);
        if (finestra.exec() != QDialog::Accepted || finestra.selectedFiles().isEmpty()) {
            return std::nullopt;
        }
        const int scelto = static_cast<int>(dialogo.Filtri.indexOf(finestra.selectedNameFilter()));
        return SceltaFile{finestra.selectedFiles().constFirst(), scelto < 0 ? 1 : scelto + 1};
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
    DefaultExt = Suffisso(Filtri.value(FilterIndex - 1), DefaultExt);
    return true;
}

QString TSaveDialog::EstensioneDi(const QString& filtro) {
    static const QRegularExpression kModello(QStringLiteral("\\*\\.(\\w+)"));
    return kModello.match(filtro).captured(1);
}

void TSaveDialog::ImpostaEsecutore(EsecutoreDialogo* esecutore) {
    esecutoreAttivo = esecutore != nullptr ? esecutore : &dialogoQt;
}
