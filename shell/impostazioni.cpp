#include "impostazioni.h"

#include "errori.h"

#include <QSettings>
#include <limits>

namespace {

QString& FileDiProva() {
    static QString file;
    return file;
}

std::unique_ptr<QSettings> Apri() {
    if (!FileDiProva().isEmpty()) {
        return std::make_unique<QSettings>(FileDiProva(), QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       "Tarvo Software", "Tarvo Midi Velmora");
}

// The registry and the property lists keep the type of each value; the
// settings files of the other systems keep only text, where an integer is its
// decimal text.
bool ConservaTipi(const QSettings& registro) {
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return registro.format() == QSettings::NativeFormat;
#else
    Q_UNUSED(registro);
    return false;
#endif
}

[[noreturn]] void Fallisci(const char* messaggio, const QString& nome) {
    throw ErroreVelmora(QString::fromLatin1(messaggio).arg(nome));
}

} // namespace

Impostazioni::Impostazioni() : registro(Apri()) {}

Impostazioni::~Impostazioni() = default;

void Impostazioni::UsaFile(const QString& file) {
    FileDiProva() = file;
}

bool Impostazioni::Esiste(const QString& nome) const {
    return registro->contains(nome);
}

int Impostazioni::LeggiIntero(const QString& nome) const {
    const QVariant valore = registro->value(nome);
    bool letto = false;
    qlonglong numero = 0;
    switch (valore.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        numero = valore.toLongLong(&letto);
        break;
    case QMetaType::QString:
        if (!ConservaTipi(*registro)) {
            numero = valore.toString().toLongLong(&letto);
        }
        break;
    default:
        break;
    }
    if (!letto) {
        Fallisci("Invalid data type for '%1'", nome);
    }
    // An integer wider than 32 bits does not fit the four bytes it is read into.
    if (numero < std::numeric_limits<int>::min() || numero > std::numeric_limits<int>::max()) {
        Fallisci("Failed to get data for '%1'", nome);
    }
    return static_cast<int>(numero);
}

QString Impostazioni::LeggiStringa(const QString& nome) const {
    const QVariant valore = registro->value(nome);
    if (valore.typeId() != QMetaType::QString) {
        Fallisci("Invalid data type for '%1'", nome);
    }
    return valore.toString();
}

void Impostazioni::ScriviIntero(const QString& nome, int valore) {
    Scrivi(nome, valore);
}

void Impostazioni::ScriviStringa(const QString& nome, const QString& valore) {
    Scrivi(nome, valore);
}

void Impostazioni::Scrivi(const QString& nome, const QVariant& valore) {
    // A store that once failed keeps reporting it: start again from a fresh one.
    if (registro->status() != QSettings::NoError) {
        registro = Apri();
    }
    registro->setValue(nome, valore);
    registro->sync();
    if (registro->status() != QSettings::NoError) {
        Fallisci("Failed to set data for '%1'", nome);
    }
}
