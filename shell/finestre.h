// The program's two windows as the program entry makes them: the main window first,
// then the report window, which takes its background picture from it, joined to it.
#pragma once

#include "trapporto.h"
#include "tvelmora.h"

struct Finestre {
    TVelmora velmora;
    TRapporto rapporto{velmora.Sfondo->pixmap()};
    Finestre() { velmora.CollegaRapporto(rapporto); }
};
