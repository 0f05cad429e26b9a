#include "posizione_rapporto.h"

#include <algorithm>

QPoint PosizioneRapporto(const QRect& principale, const std::optional<QPoint>& salvata,
                         QSize dimensione, const QList<QRect>& schermi, QPoint propria) {
    const auto suUnoSchermo = [&](const QRect& r) {
        return std::any_of(schermi.begin(), schermi.end(),
                           [&](const QRect& s) { return s.intersects(r); });
    };
    const auto tuttoSuUnoSchermo = [&](const QRect& r) {
        return std::any_of(schermi.begin(), schermi.end(),
                           [&](const QRect& s) { return s.contains(r); });
    };
    if (salvata) {
        const QRect r(*salvata, dimensione);
        if (!r.intersects(principale) && suUnoSchermo(r)) {
            return *salvata;
        }
    }
    for (const QPoint accanto : {QPoint(principale.right() + 1, principale.top()),
                                 QPoint(principale.left(), principale.bottom() + 1)}) {
        if (tuttoSuUnoSchermo(QRect(accanto, dimensione))) {
            return accanto;
        }
    }
    return propria;
}
