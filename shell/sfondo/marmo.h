// The background picture of both windows: a 256 by 256 dark blue marble with
// lighter blue streaks, in 256 palette colours. It tiles seamlessly, since the
// windows lay copies of it side by side.
#pragma once

#include <QImage>

QImage Marmo();
