#include "aspetto.h"

#include <QStringList>

namespace aspetto {

void SostituisciCaratteri() {
    QFont::insertSubstitutions(Comic, {"Comic Neue"});
    QFont::insertSubstitutions(SansSerif,
                               {"Microsoft Sans Serif", "DejaVu Sans", "Liberation Sans"});
}

QFont Carattere(int pixel, bool grassetto, const char* famiglia) {
    QFont carattere(famiglia);
    carattere.setPixelSize(pixel);
    carattere.setBold(grassetto);
    return carattere;
}

} // namespace aspetto
