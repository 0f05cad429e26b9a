// The folder list behind the scan page's folder control: a current folder, shown as
// the rows from its root down to it followed by its sub-folders, one selected row,
// and a notification on every change. The Qt control wraps one of these.
#pragma once

#include "elenco_cartella.h"

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A folder that cannot be made current (missing, or not a folder). Its what() is the
// Italian message the general error handler shows.
class ErroreCartella : public std::runtime_error {
public:
    explicit ErroreCartella(const std::string& cartella);
};

// Rows, top to bottom: the root ("/" here, "D:\" on Windows), every folder on the
// path down to the current folder, the current folder, then its sub-folders sorted
// by name without regard to case (ties by bytes). Hidden sub-folders are left out,
// and so are sub-folders that are symbolic links (so a walk over the rows cannot
// loop); a folder that cannot be read shows no sub-folders. The text of a row is the
// folder's own name, the root's row the root itself.
//
// Operations that can throw ErroreCartella: the constructor with a folder,
// Directory(cartella), Drive(radice) and ApriSelezionata(). The others never throw
// (except std::bad_alloc).
class ListaCartelle {
public:
    // Starts at the working folder, or at the first root when that cannot be read.
    ListaCartelle();
    explicit ListaCartelle(std::string_view cartella);

    // Full path of the current folder, UTF-8, without a trailing separator except
    // at a root.
    const std::string& Directory() const { return directory; }

    // Makes the folder current (a relative path is taken from the working folder),
    // rebuilds the rows and notifies. Setting the folder that is already current
    // changes nothing. Throws ErroreCartella when it is not a folder.
    void Directory(std::string_view cartella);

    // The root (one of velmora::Radici()) that the current folder lies on.
    std::string Drive() const;

    // Makes the folder last current on that root current (the root itself the first
    // time, or when that folder is gone). Nothing changes when the current folder
    // already lies on it. Throws ErroreCartella when the root cannot be read.
    void Drive(std::string_view radice);

    int Righe() const { return static_cast<int>(percorsi.size() + elenco->sottoCartelle.size()); }
    // The row's text and its folder's full path; empty for a row that does not exist.
    std::string TestoRiga(int riga) const;
    std::string PercorsoRiga(int riga) const;

    // The selected row, -1 for none. After every change of the current folder it is
    // the current folder's row, so the sub-folders are the rows after it and the row
    // before it is the parent folder.
    int RigaSelezionata() const { return selezionata; }
    // Selects a row; a number outside 0..Righe()-1 leaves no row selected.
    void SelezionaRiga(int riga);

    // Makes the selected row's folder current, rebuilds the rows and notifies (even
    // when it is the current folder). Nothing happens without a selected row. Throws
    // ErroreCartella when that folder is gone.
    void ApriSelezionata();

    // Re-reads the current folder's sub-folders and notifies.
    void Aggiorna();

    // The one listener of the change notification, called after every change of the
    // current folder and every Aggiorna(). In the program it is the scan page's
    // DirectoryChange (see Scansione::DirectoryChange).
    void AlCambio(std::function<void()> ascoltatore) { alCambio = std::move(ascoltatore); }

    // The listing of the current folder.
    const Elenco& ElencoCorrente() const { return elenco; }

    // Where listings come from when a folder becomes current (Aggiorna() always reads
    // the folder itself): the scan hands over the ones it has read ahead. Empty: the
    // list reads each folder itself.
    void Fonte(std::function<Elenco(const std::string&)> fonte) { fonteElenchi = std::move(fonte); }

private:
    void Cambia(std::string cartella, bool rileggi);

    std::string directory;
    std::vector<std::string> percorsi;                        // root .. current folder
    Elenco elenco = std::make_shared<const ElencoCartella>(); // of the current folder
    std::function<Elenco(const std::string&)> fonteElenchi;
    int selezionata = -1;
    std::function<void()> alCambio;
    // The sub-folders of the folders above the current one, so that coming back up
    // (as the scan does after each sub-folder) does not read a folder again while its
    // modification time is unchanged: a wide folder is then read once, not once per
    // sub-folder.
    std::map<std::string, Elenco> elenchiSopra;
    // The folder last current on each root other than the current one.
    std::map<std::string, std::string> ultimaPerRadice;
};
