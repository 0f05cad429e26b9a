#include "tdrivecombobox.h"

#include "errori.h"
#include "piattaforma.h"

TDriveComboBox::TDriveComboBox(QWidget* parent) : QComboBox(parent) {
    for (const std::string& radice : velmora::Radici()) {
        addItem(QString::fromStdString(radice));
    }
    connect(this, &QComboBox::activated, this, [this] { Protetto([this] { emit OnChange(); }); });
}

void TDriveComboBox::MostraDrive(std::string_view radice) {
    const QString testo = QString::fromUtf8(radice.data(), static_cast<qsizetype>(radice.size()));
    int riga = findText(testo);
    if (riga < 0) {
        addItem(testo);
        riga = count() - 1;
    }
    setCurrentIndex(riga);
}
