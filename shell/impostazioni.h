// The program's settings: the key "Tarvo Software\Tarvo Midi Velmora" of the
// current user, in the system's native store (on Windows the registry key
// HKEY_CURRENT_USER\software\Tarvo Software\Tarvo Midi Velmora, elsewhere Qt's
// settings file for that organisation and application).
//
// Every failure is an ErroreVelmora with the message of the registry:
// "Invalid data type for '%s'", "Failed to get data for '%s'" or
// "Failed to set data for '%s'", the placeholder being the value's name.
#pragma once

#include <QString>
#include <memory>

class QSettings;

class Impostazioni {
public:
    // Opens the key, creating it at the first write.
    Impostazioni();
    ~Impostazioni();

    bool Esiste(const QString& nome) const;
    // A 32-bit integer; a value of another type fails.
    int LeggiIntero(const QString& nome) const;
    // A text; a value of another type fails.
    QString LeggiStringa(const QString& nome) const;
    // Each write reaches the store before it returns, or fails.
    void ScriviIntero(const QString& nome, int valore);
    void ScriviStringa(const QString& nome, const QString& valore);

    // Tests (and the screenshot helper) keep the settings in this file instead;
    // an empty name goes back to the native store.
    static void UsaFile(const QString& file);

private:
    void Scrivi(const QString& nome, const QVariant& valore);

    std::unique_ptr<QSettings> registro;
};
