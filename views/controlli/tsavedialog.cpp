#include "tsavedialog.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace {

// Qt's dialog, whose default extension can follow the filter chosen when the user
// confirms: applied before the name is completed and checked for overwriting.
class FinestraSalva : public QFileDialog {
public:
    FinestraSalva(QWidget* parent, bool estensioneDalFiltro_)
        : QFileDialog(parent, QStringLiteral("Salva con nome")),
          estensioneDalFiltro(estensioneDalFiltro_) {}
    void accept() override {
        if (estensioneDalFiltro) {
            setDefaultSuffix(TSaveDialog::EstensioneDi(selectedNameFilter()));
        }
        QFileDialog::accept();
    }

private:
    bool estensioneDalFiltro;
};

// The real dialog, with the overwrite prompt on.
class DialogoQt : public EsecutoreDialogo {
public:
    std::optional<SceltaFile> Esegui(const TSaveDialog& dialogo, QWidget* parent) override {
        FinestraSalva finestra(parent, dialogo.EstensioneDalFiltro);
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
    if (EstensioneDalFiltro) {
        DefaultExt = EstensioneDi(Filtri.value(FilterIndex - 1));
    }
    const std::optional<SceltaFile> scelta = esecutoreAttivo->Esegui(*this, parent);
    if (!scelta) {
        return false;
    }
    FileName = scelta->nomeFile;
    FilterIndex = scelta->indiceFiltro;
    if (EstensioneDalFiltro) {
        DefaultExt = EstensioneDi(Filtri.value(FilterIndex - 1));
    }
    return true;
}

QString TSaveDialog::EstensioneDi(const QString& filtro) {
    static const QRegularExpression kModello(QStringLiteral("\\*\\.(\\w+)"));
    return kModello.match(filtro).captured(1);
}

void TSaveDialog::ImpostaEsecutore(EsecutoreDialogo* esecutore) {
    esecutoreAttivo = esecutore != nullptr ? esecutore : &dialogoQt;
}
