// The folder list of the scan page as a Qt control over the GUI-free ListaCartelle:
// its rows drawn as a folder tree (the root, the path down to the current folder,
// then its sub-folders, each indented under its parent, open and closed folder
// icons), a row selected by a click or the arrow keys and opened by a double-click
// or Enter. OnChange follows every change notification of the list (a new current
// folder, or rows rebuilt on request), whether the user, the program or the scan
// caused it. Failures of its handlers, and a folder that cannot be opened, go to the
// general error handler.
#pragma once

#include "lista_cartelle.h"

#include <QListView>

#include <string>
#include <string_view>

class ModelloCartelle;

class TDirectoryListBox : public QListView {
    Q_OBJECT
public:
    // Starts at the process's working folder.
    explicit TDirectoryListBox(QWidget* parent = nullptr);

    // The list the scan drives; its moves show here and raise OnChange.
    ListaCartelle& Lista() { return lista; }

    const std::string& Directory() const { return lista.Directory(); }
    // Makes the folder current; throws ErroreCartella when it is not a folder.
    void SetDirectory(std::string_view cartella) { lista.Directory(cartella); }
    // Moves to the folder last current on that root (throws like SetDirectory).
    void SetDrive(std::string_view radice) { lista.Drive(radice); }
    // Rebuilds the rows of the current folder (raises OnChange).
    void Update() { lista.Aggiorna(); }
    // Puts the highlight back on the current folder's row, which a click or a key may
    // have moved to another row without opening it.
    void SelezionaCorrente();

signals:
    void OnChange();

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void mouseDoubleClickEvent(QMouseEvent* evento) override;

private:
    void Cambiata();
    void Apri();

    ListaCartelle lista;
    ModelloCartelle* modello;
};
