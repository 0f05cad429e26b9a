// The find field over the grid of page 'Visualizza'. Ctrl+F, or "Cerca..." in the
// grid's menu, opens it; as the user types, the grid narrows to the entries of the
// active filter whose stored texts (name, folder, copyright, track names, kind of
// text, the text itself) hold every word typed, in any order and without regard to
// case or accents. An empty field shows the whole filter again; Esc closes the field.
// The words are looked for in the stored catalogue that the scans fill.
#pragma once

#include "archivio.h"
#include "dati.h"
#include "griglia_catalogo.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class QAction;
class QLineEdit;
class QMenu;
class QWidget;
class TStringGrid;

class RicercaGriglia : public QObject {
    Q_OBJECT

public:
    // The field is a child of pagina, over griglia; "Cerca..." joins menu. cambiata
    // refills the grid after what is found changed.
    RicercaGriglia(QWidget& pagina, TStringGrid& griglia, dati& catalogo, QMenu& menu,
                   std::function<void()> cambiata);
    ~RicercaGriglia() override;

    QLineEdit* Campo;
    QAction* Cerca;

    // Shows the field and gives it the keyboard.
    void Apri();
    // Hides the field; the grid shows the whole filter again.
    void Chiudi();
    // Before the catalogue is emptied: the field closes, the grid is left alone.
    void Dimentica();

    // The grid is narrowed to what the words typed find.
    bool Attiva() const { return !trovate.empty(); }
    // The entries of the filter that the words typed find, in catalogue order.
    std::vector<const dati::elemento*> Righe(Filtro filtro) const;

protected:
    bool eventFilter(QObject* oggetto, QEvent* evento) override;

private:
    void Indicizza();
    void Digitato(const QString& testo);
    void NonDisponibile(const std::string& motivo);

    QWidget& pagina;
    TStringGrid& griglia;
    dati& catalogo;
    std::function<void()> cambiata;
    // Open while the field is: the stored catalogue, the catalogue's entries in their
    // order, and the place there of each stored id (ids are the database's own, however
    // large).
    std::unique_ptr<velmora::archivio::Archivio> archivio;
    std::vector<const dati::elemento*> voci;
    std::unordered_map<std::int64_t, std::int32_t> posizioni;
    // What the words find, an element per entry of voci; empty: not narrowed.
    std::vector<char> trovate;
};
