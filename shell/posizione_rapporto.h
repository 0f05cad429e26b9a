// Where the report window opens, so that it never covers the main window's labels.
#pragma once

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

// The place the window was left at (salvata), unless it is missing, would overlap the
// main window (principale) or lies off every screen (schermi, their usable areas);
// then beside the main window, to its right, else below it, wherever it fits whole on
// a screen; else the window's own fixed place (propria).
QPoint PosizioneRapporto(const QRect& principale, const std::optional<QPoint>& salvata,
                         QSize dimensione, const QList<QRect>& schermi, QPoint propria);
