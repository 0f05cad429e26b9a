// The drive box of the scan page: the roots of this system (velmora::Radici(): the
// drive letters on Windows, "/" and the mounted volumes elsewhere). OnChange runs
// when the user picks another root.
#pragma once

#include <QComboBox>

#include <string>
#include <string_view>

class TDriveComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDriveComboBox(QWidget* parent = nullptr);

    std::string Drive() const { return currentText().toStdString(); }
    // Shows the root without raising OnChange (listing it when it is new).
    void MostraDrive(std::string_view radice);

signals:
    void OnChange();
};
