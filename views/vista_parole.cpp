#include "vista_parole.h"

#include "aspetto.h"

#include <QTextCursor>
#include <QTimer>

namespace {

QTextCharFormat Formato(const QColor& colore, bool grassetto, const QColor& fondo) {
    QTextCharFormat f;
    f.setForeground(colore);
    f.setFontWeight(grassetto ? QFont::Bold : QFont::Normal);
    f.setBackground(fondo);
    return f;
}

} // namespace

VistaParole::VistaParole(QWidget* parent) : QTextEdit(parent), orologio(new QTimer(this)) {
    setObjectName("VistaParole");
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    orologio->setInterval(kIntervalloMs);
    connect(orologio, &QTimer::timeout, this, &VistaParole::Aggiorna);
    hide();
}

void VistaParole::Segui(velmora::Parole nuove, std::function<double()> secondi) {
    parole = std::move(nuove);
    posizione = std::move(secondi);
    clear();
    tratti.assign(parole.size(), {});
    QTextCursor c(document());
    const QTextCharFormat normale = Formato(aspetto::Nero, false, Qt::transparent);
    for (std::size_t r = 0; r < parole.size(); ++r) {
        if (r > 0) {
            c.insertText(parole[r].paragrafo ? "\n\n" : "\n", normale);
        }
        for (const velmora::Sillaba& s : parole[r].sillabe) {
            const QString testo = QString::fromStdString(s.testo);
            tratti[r].push_back({c.position(), static_cast<int>(testo.size())});
            c.insertText(testo, normale);
        }
    }
    punto = {};
    show();
    Aggiorna();
    orologio->start();
}

void VistaParole::Ferma() {
    orologio->stop();
    hide();
    clear();
    parole.clear();
    tratti.clear();
    punto = {};
}

void VistaParole::Aggiorna() {
    const velmora::PuntoParole ora = velmora::PuntoA(parole, posizione());
    if (ora == punto) {
        return;
    }
    Colora(punto, false);
    Colora(ora, true);
    punto = ora;
    if (ora.riga >= 0) {
        QTextCursor c(document());
        c.setPosition(tratti[ora.riga][ora.sillaba].inizio);
        setTextCursor(c);
        ensureCursorVisible();
    }
}

// The sung line in blue, its syllable in bold red on yellow; the others in black.
void VistaParole::Colora(velmora::PuntoParole dove, bool acceso) {
    if (dove.riga < 0) {
        return;
    }
    const auto& riga = tratti[dove.riga];
    for (std::size_t s = 0; s < riga.size(); ++s) {
        QTextCursor c(document());
        c.setPosition(riga[s].inizio);
        c.setPosition(riga[s].inizio + riga[s].lunghezza, QTextCursor::KeepAnchor);
        const bool sillaba = static_cast<int>(s) == dove.sillaba;
        c.setCharFormat(!acceso   ? Formato(aspetto::Nero, false, Qt::transparent)
                        : sillaba ? Formato(aspetto::Rosso, true, aspetto::Giallo)
                                  : Formato(QColor(0, 0, 255), false, Qt::transparent));
    }
}
