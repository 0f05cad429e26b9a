// Page 'Start' of the main window, the one it opens on: the title with the version,
// the notice, a headline, the two links to web pages, a request to users and the
// address line.
//
// The controls are public and carry their form names, so the main window and the
// tests reach them directly.
#pragma once

#include <QWidget>

#include <vector>

class TCustomLabel;

class PaginaStart : public QWidget {
    Q_OBJECT

public:
    explicit PaginaStart(QWidget* genitore = nullptr);

    // The web pages of the two links.
    static const char* const PaginaWeb1;
    static const char* const PaginaWeb2;

    TCustomLabel* Label2;
    TCustomLabel* Label3;
    TCustomLabel* Label4;
    TCustomLabel* Label5;
    TCustomLabel* Label6;
    TCustomLabel* Label7;
    TCustomLabel* Label8;

    // Centres Label3 to Label8 in a window of the given client width.
    void CentraEtichette(int larghezza);
    // The hand cursor on the two links.
    void ManoSuiCollegamenti();
    // The plain text lines, which drag the window like its background.
    std::vector<QWidget*> Trascinabili() const;

    // The two links: Label5 and Label6.
    void Label4Click();
    void Label6Click();
};
