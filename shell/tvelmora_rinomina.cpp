// Renaming from the grid: the "Nome" cell renames the file, the "Directory" cell the
// folder that holds it; the catalogue follows only what the file system accepted.
#include "tvelmora.h"

#include "rinomina.h"
#include "tdirectorylistbox.h"
#include "tstringgrid.h"

#include "piattaforma.h"

void TVelmora::Rename() {
    const dati::elemento* voce = EntryCorrente();
    if (voce == nullptr) {
        return;
    }
    const std::string testo = Grid->Cells(1, Grid->Row()).toStdString();
    const std::string nuovo = testo + ".mid";
    if (nuovo == voce->Nome()) {
        return;
    }
    // Full paths: the file stays in its folder and the folder list where it is. The
    // text typed must be a name by itself (an empty one would leave a bare ".mid").
    if (NomeAccettabile(testo) && RinominaInCartella(voce->Percorso(), voce->Nome(), nuovo)) {
        catalogo.CambiaNome(nuovo);
    } else {
        Grid->SetCells(1, Grid->Row(), QString::fromStdString(TestoColonna(*voce, 1)));
    }
}

void TVelmora::RenameDir() {
    const dati::elemento* voce = EntryCorrente();
    if (voce == nullptr) {
        return;
    }
    const std::string nuovoNome = Grid->Cells(0, Grid->Row()).toStdString();
    if (nuovoNome == voce->Directory()) {
        return;
    }
    const std::string vecchio = voce->Percorso();
    const std::string sopra = velmora::CartellaSuperiore(vecchio);
    const std::string nuovo = velmora::UnisciPercorso(sopra, nuovoNome);
    // The folder list leaves the folder it shows for the one above, so that the
    // process's current folder does not lie inside a folder being renamed. A root
    // has none above: there the rename is refused and the folder list stays.
    const std::string mostrata = Directory->Directory();
    const QString comeEra = QString::fromStdString(TestoColonna(*voce, 0));
    if (velmora::ERadice(mostrata)) {
        Grid->SetCells(0, Grid->Row(), comeEra);
        return;
    }
    Directory->SetDirectory(velmora::CartellaSuperiore(mostrata));
    if (!RinominaInCartella(sopra, velmora::NomeCartella(vecchio), nuovoNome)) {
        Grid->SetCells(0, Grid->Row(), comeEra);
        Directory->SetDirectory(vecchio);
        return;
    }
    // directoryCorrente follows the folder list through DirectoryChange.
    CartellaRinominata(catalogo, vecchio, nuovo);
    VisualizzaGriglia();
    Directory->SetDirectory(nuovo);
}
