// Colours and fonts of the two windows.
#pragma once

#include <QColor>
#include <QFont>

namespace aspetto {

inline const QColor Nero{0, 0, 0};
inline const QColor Rosso{255, 0, 0};
inline const QColor Lime{0, 255, 0};
inline const QColor Giallo{255, 255, 0};
inline const QColor Acqua{0, 255, 255};
inline const QColor VerdePrimavera{0, 255, 128};
inline const QColor Navy{0, 0, 128};

// The two font families of the windows. Where they are missing (every system
// but Windows) Qt substitutes them: the comic face with Comic Neue, the sans
// serif face with the system's own sans serif.
inline constexpr const char* Comic = "Comic Sans MS";
inline constexpr const char* SansSerif = "MS Sans Serif";
void SostituisciCaratteri();

// A font of the given family with a character height in pixels.
QFont Carattere(int pixel, bool grassetto = false, const char* famiglia = Comic);

} // namespace aspetto
