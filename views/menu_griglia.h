// The grid's right-click menu and its listening key. The menu acts on the row under
// the mouse and never moves the current cell, so no rename is committed and no report
// rebuilt by opening it. Further commands on a row join it through Menu() and Riga().
#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class Ascolto;
class QAction;
class QMenu;
class QPoint;
class QWidget;
class TStringGrid;

class MenuGriglia : public QObject {
    Q_OBJECT

public:
    // Plays the grid's current row, or stops it when it is the one playing. F5 is not
    // a key of the grid: it neither moves the current cell nor opens the editor.
    static constexpr int kTastoAscolto = Qt::Key_F5;

    using SceltaSoundFont = std::function<QString(QWidget* genitore)>;
    // Tests answer the SoundFont file dialog; an empty function gives the dialog back.
    static void ImpostaSceltaSoundFont(SceltaSoundFont scelta);

    // The full path (UTF-8) of the file on a data row; empty for a row with no entry.
    using PercorsoDellaRiga = std::function<std::string(int riga)>;

    // The menu belongs to the grid; the grid and ascolto outlive it.
    MenuGriglia(TStringGrid& griglia, PercorsoDellaRiga percorso, Ascolto& ascolto);

    QMenu* Menu() const { return menu; }
    // The data row the menu was last opened on, 0 for none.
    int Riga() const { return riga; }
    // Opens the menu for the grid position given (in the grid's viewport).
    void Apri(const QPoint& posizione);

    QAction* Ascolta;
    QAction* Ferma;
    QAction* ApriCartella;
    QAction* CopiaPercorso;
    QAction* MostraDoppioni;
    QAction* ScegliSoundFont;

signals:
    // A SoundFont chosen by the user, for the settings.
    void SoundFontScelta(const QString& file);

private:
    void Suona(int riga);
    void TastoPremuto(int tasto);

    TStringGrid& griglia;
    PercorsoDellaRiga percorsoDellaRiga;
    Ascolto& ascolto;
    QMenu* menu;
    int riga = 0;
};
