// A save-file dialog holding its settings between runs like the classic dialog
// component: proposed file name, filters, the chosen filter (from 1), default
// extension, overwrite prompt. What actually asks the user can be replaced, so
// tests run the real code paths with a scripted answer.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;
class TSaveDialog;

// The user's answer: the file name (extension added when none was typed) and the
// filter chosen, from 1.
struct SceltaFile {
    QString nomeFile;
    int indiceFiltro = 1;
};

class EsecutoreDialogo {
public:
    virtual ~EsecutoreDialogo() = default;
    // Asks the user; no answer when the dialog is cancelled.
    virtual std::optional<SceltaFile> Esegui(const TSaveDialog& dialogo, QWidget* parent) = 0;
};

class TSaveDialog {
public:
    QString FileName;
    QStringList Filtri; // e.g. "File di Testo (*.txt)"
    int FilterIndex = 1;
    // The extension added to a name typed without one. It follows the filter chosen:
    // the extension of its first pattern ("csv" for "CSV UTF-8 (*.csv)"), while
    // choosing and after; this one stands for filters that name none.
    QString DefaultExt;

    // The extension of the first pattern of a filter, empty when it has none.
    static QString EstensioneDi(const QString& filtro);

    // Runs the dialog; on confirmation stores the chosen name and filter and
    // returns true.
    bool Execute(QWidget* parent);

    // Replaces the dialog for every TSaveDialog (nullptr: the real dialog again).
    static void ImpostaEsecutore(EsecutoreDialogo* esecutore);
};
