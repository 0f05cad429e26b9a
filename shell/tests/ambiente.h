// Both windows as the program entry makes them, for the window tests. The
// settings and the stored catalogue live in temporary files, the messages of the
// general error handler are recorded instead of shown, and the process's current
// folder is put back at the end.
#pragma once

#include "errori.h"
#include "finestre.h"
#include "impostazioni.h"
#include "pagina_analizza.h"
#include "pagina_salva.h"
#include "pagina_start.h"
#include "pagina_visualizza.h"
#include "trapporto.h"
#include "tvelmora.h"

#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

class Ambiente {
public:
    Ambiente() : cartellaIniziale(QDir::currentPath()) {
        qputenv("VELMORA_DB", QDir::toNativeSeparators(Catalogo()).toUtf8());
        Impostazioni::UsaFile(File());
        ImpostaVisualizzatore([this](const QString& messaggio) { errori << messaggio; });
    }
    ~Ambiente() {
        finestre.reset();
        Impostazioni::UsaFile({});
        ImpostaVisualizzatore({});
        QDir::setCurrent(cartellaIniziale);
    }
    Ambiente(const Ambiente&) = delete;
    Ambiente& operator=(const Ambiente&) = delete;

    QString File() const { return cartella.filePath("registro/impostazioni.ini"); }
    QString Catalogo() const { return cartella.filePath("catalogo/catalogo.sqlite"); }

    // The settings file can no longer be written: a plain file stands where its
    // folder should be. Sblocca removes it again.
    void BloccaRegistro() {
        QDir(cartella.filePath("registro")).removeRecursively();
        QFile blocco(cartella.filePath("registro"));
        blocco.open(QIODevice::WriteOnly);
    }
    void SbloccaRegistro() { QFile::remove(cartella.filePath("registro")); }
    // A fresh view of the settings file, as another program would read it.
    std::unique_ptr<QSettings> Registro() const {
        return std::make_unique<QSettings>(File(), QSettings::IniFormat);
    }

    // Creates the main window, then the report window from its picture.
    TVelmora& Apri() {
        finestre = std::make_unique<Finestre>();
        return finestre->velmora;
    }
    TVelmora& Velmora() { return finestre->velmora; }
    TRapporto& Rapporto() { return finestre->rapporto; }

    QTemporaryDir cartella;
    QStringList errori;

private:
    QString cartellaIniziale;
    std::unique_ptr<Finestre> finestre;
};

// Mouse events delivered straight to a control, in its own coordinates.
inline void Mouse(QWidget* controllo, QEvent::Type tipo, QPoint punto, Qt::MouseButton pulsante,
                  Qt::MouseButtons premuti) {
    QMouseEvent evento(tipo, QPointF(punto), controllo->mapToGlobal(QPointF(punto)), pulsante,
                       premuti, Qt::NoModifier);
    QApplication::sendEvent(controllo, &evento);
}

inline void Premi(QWidget* controllo, QPoint punto, Qt::MouseButton pulsante = Qt::LeftButton) {
    Mouse(controllo, QEvent::MouseButtonPress, punto, pulsante, pulsante);
}

inline void Muovi(QWidget* controllo, QPoint punto, Qt::MouseButtons premuti = Qt::LeftButton) {
    Mouse(controllo, QEvent::MouseMove, punto, Qt::NoButton, premuti);
}
